// The text of one generated file, and the rules every generator follows:
// paths, banner, prologue and epilogue, the generic blocks and the
// last-element rule.
#pragma once

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "parser/design.h"

namespace velmorn {

inline constexpr const char* NL = "\n";

// The path of a module file ("<inname>/modules/<inname><S>.vhd") and of a top
// file ("<inname>/<inname><S>.vhd").
std::string moduleFilePath(const Design& d, const std::string& suffix);
std::string topFilePath(const Design& d, const std::string& suffix);

// The eight-line banner for a file path and an architecture label.
std::string PrintComment(const std::string& fname, const std::string& arch);

// Where the text of files goes while they are generated: the writer takes it
// block by block, so that no whole file is ever held in memory.
class TextStream {
public:
    virtual ~TextStream() = default;
    virtual void begin(const std::string& path) = 0;  // a file's text starts
    virtual void write(std::string_view block) = 0;   // its next block
};

// While a StreamScope lives, every VhdlText made on this thread hands its text
// to the stream as it grows and keeps only the part not yet handed over.
class StreamScope {
public:
    explicit StreamScope(TextStream& stream);
    ~StreamScope();
    StreamScope(const StreamScope&) = delete;
    StreamScope& operator=(const StreamScope&) = delete;

private:
    TextStream* previous_;
};

// The text of one file: owned pieces and, for the copied architecture body, a
// reference to the design's text (never copied into the file's text). Outside a
// StreamScope it holds the whole text (tests read it with str()); inside one,
// views() is what is left after the blocks already streamed.
class VhdlText {
public:
    // Starts the file with its prologue: banner, library clauses, two NLs.
    VhdlText(const Design& d, std::string path, const std::string& arch);
    VhdlText(VhdlText&&) = default;
    VhdlText(const VhdlText&) = delete;
    VhdlText& operator=(const VhdlText&) = delete;

    VhdlText& operator<<(std::string_view s)
    {
        if (used_ + s.size() > active_.size()) makeRoom(s.size());
        if (!s.empty()) std::memcpy(active_.data() + used_, s.data(), s.size());
        used_ += s.size();
        return *this;
    }
    VhdlText& operator<<(const std::string& s) { return *this << std::string_view(s); }
    VhdlText& operator<<(const char* s) { return *this << std::string_view(s); }
    VhdlText& operator<<(char c) { return *this << std::string_view(&c, 1); }
    VhdlText& operator<<(int n);
    VhdlText& operator<<(size_t n);

    // Appends a text that lives in the design (the body) by reference.
    void appendRef(std::string_view big);

    // GD: the generic declaration block, nothing without generics.
    void genericDecl();
    // GM: the generic map block, nothing without generics.
    void genericMap();
    // The epilogue line "end <owner>_BEHAV;" without a line break.
    VhdlText& closeArchitecture(const std::string& owner);

    const std::string& path() const { return path_; }
    const Design& design() const { return d_; }
    std::string str() const;
    size_t size() const;

    // The text (or, when streamed, what is left of it) in order: owned pieces
    // and references to the design's text.
    std::vector<std::string_view> views() const;

private:
    struct Piece {
        std::string own;
        std::string_view ref;
        bool isRef = false;  // the piece refers to the design's text instead of owning one
        std::string_view view() const { return isRef ? ref : std::string_view(own); }
    };
    const Design& d_;
    std::string path_;
    std::vector<Piece> pieces_;  // finished pieces, before the active buffer
    std::string active_;         // the buffer being filled; its first used_ bytes are text
    size_t used_ = 0;
    TextStream* stream_;

    void makeRoom(size_t n);
    void closeActive();
};

// Calls f(element, last) for each element; `last` by position in the list.
template <class List, class F>
void eachLast(const List& list, F f)
{
    const size_t count = list.size();
    size_t i = 1;
    for (const auto& e : list) f(e, ++i > count);
}

}  // namespace velmorn
