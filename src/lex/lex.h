// The VHDL token scanner: upper-cased words, digit strings and ":", plus three
// modes that the analysis switches on for a while (library, type capture and
// rest of file). The source is read into memory once; the tokens are what a
// character-by-character reading of it gives.
#pragma once

#include <ostream>
#include <string>

namespace velmorn {

// The base name of the output tree: the source name without its directory part
// (up to the last "/" or "\") and without its extension (from the last ".").
std::string baseName(const std::string& inputFileName);

class Scanner {
public:
    // Mode flags, set by the analysis between calls.
    int knihovna = 0;  // library mode: white space and ";" are tokens
    int strednik = 0;  // ";" is a token
    int typ = 0;       // type capture: the raw rest of a declaration
    int obsah = 0;     // rest of file: everything that is left

    std::string inname;

    // Opens the source, prints the open message; false (with the message) when
    // it cannot be read.
    bool lexInit(const std::string& inputFileName, std::ostream& out);
    // Prints the close message if a source was opened.
    void lexFree(const std::string& inputFileName, std::ostream& out);
    // Scans from a text in memory (tests and the fuzz target).
    void initFromText(std::string text);

    // The next token; the empty token once the input has ended.
    std::string lex();

    // The offset of the first byte that no VHDL text holds (a control
    // character other than tab, line feed, vertical tab, form feed and carriage
    // return) in what is left to scan, or npos.
    size_t findControlByte() const;
    // The line (from 1) of an offset returned by findControlByte.
    size_t lineOf(size_t offset) const;

private:
    std::string buf_;
    size_t pos_ = 0;
    bool open_ = false;

    bool ended() const { return pos_ >= buf_.size(); }
    std::string captureType();
};

}  // namespace velmorn
