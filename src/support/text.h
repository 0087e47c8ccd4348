// Small text helpers for names: VHDL ignores the case of identifiers.
#pragma once

#include <string>
#include <string_view>

namespace velmorn {

inline std::string lowerCase(std::string_view s)
{
    std::string l(s);
    for (char& c : l) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return l;
}

inline std::string upperCase(std::string_view s)
{
    std::string u(s);
    for (char& c : u) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return u;
}

// The text without the blanks, tabs and line ends around it.
inline std::string_view trimmed(std::string_view s)
{
    const size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string_view::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1);
}

}  // namespace velmorn
