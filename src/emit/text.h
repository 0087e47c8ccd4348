// The text of one generated file, and the rules every generator follows:
// paths, banner, prologue and epilogue, the generic blocks and the
// last-element rule.
#pragma once

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

// The text of one file: owned pieces and, for the copied architecture body, a
// reference to the design's text (never copied into the file's text).
class VhdlText {
public:
    // Starts the file with its prologue: banner, library clauses, two NLs.
    VhdlText(const Design& d, std::string path, const std::string& arch);

    VhdlText& operator<<(std::string_view s);
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

    struct Piece {
        std::string own;
        std::string_view ref;  // used when `own` is empty
        std::string_view view() const { return own.empty() ? ref : std::string_view(own); }
    };
    const std::vector<Piece>& pieces() const { return pieces_; }

private:
    const Design& d_;
    std::string path_;
    std::vector<Piece> pieces_;
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
