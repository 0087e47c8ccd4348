// The one place that touches the output tree: makes its directories and writes
// each generated file, reporting what fails.
#pragma once

#include <ostream>

#include "emit/text.h"

namespace velmorn {

// Makes "<inname>" and "<inname>/modules" in the working directory. An existing
// real directory is fine; a plain file or a symbolic link in their place is
// reported and refused.
bool makeOutputDirectories(const Design& d, std::ostream& out);

// Writes the files of the tree, one after the other: a file is opened when its
// text starts (replacing an existing file; a symbolic link is replaced, never
// followed), takes the text block by block as it is generated, and is closed by
// finish(). Reports "Can't open output file - <path> !" or "Can't write output
// file - <path> !" (no line break).
class TreeWriter : public TextStream {
public:
    explicit TreeWriter(std::ostream& out) : out_(out) {}
    ~TreeWriter() override;
    void begin(const std::string& path) override;
    void write(std::string_view block) override;
    // Writes what is left of the file's text and closes it; false when the file
    // was not fully written.
    bool finish(const VhdlText& t);

private:
    std::ostream& out_;
    std::string path_;
    int fd_ = -1;
    bool opened_ = false;
    bool failed_ = false;
};

}  // namespace velmorn
