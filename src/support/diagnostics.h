// Every message of a run goes through one Diagnostics object: the progress
// lines and refusals on the console (standard output), warnings on standard
// error.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace velmorn {

class Diagnostics {
public:
    Diagnostics(std::ostream& console, std::ostream& warnings) : console_(console), warnings_(warnings) {}

    // The source file being read: refusals about its text name it.
    void setSource(std::string source) { source_ = std::move(source); }
    const std::string& source() const { return source_; }

    // Progress text, written as it is.
    void progress(std::string_view text) { console_ << text; }
    // "<what> - <subject> !", with a line break when `lineBreak`.
    void problem(std::string_view what, std::string_view subject, bool lineBreak = true);
    // A refusal of the source's text: "<what> in input file - <source> !" and a line break.
    void refuseSource(std::string_view what);
    // "Unsupported <what> in input file - <source> !" and a line break.
    void unsupported(std::string_view what);
    // "velmorn: <text>" on standard error: what is wrong with the command line.
    void error(std::string_view text);
    // "velmorn: warning: <text>" on standard error.
    void warning(std::string_view text);
    // A line on standard error, as it is (the -v summary).
    void info(std::string_view text);

private:
    std::ostream& console_;
    std::ostream& warnings_;
    std::string source_;
};

}  // namespace velmorn
