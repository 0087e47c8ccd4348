#include "model/design.h"

#include <array>
#include <cctype>

namespace velmorn {

namespace {

constexpr bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// The characters of a type's name: letters, digits, "_" and the dots between
// library, package and type.
constexpr auto kInTypeName = [] {
    std::array<bool, 256> in{};
    for (int c = 0; c < 256; ++c)
        in[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
    return in;
}();

// The type mark of a type text: its first name, without library and package.
std::string_view typeMark(const std::string& type, size_t* end = nullptr)
{
    size_t a = 0;
    while (a < type.size() && isBlank(type[a])) ++a;
    size_t b = a, markStart = a;
    for (; b < type.size() && kInTypeName[static_cast<unsigned char>(type[b])]; ++b)
        if (type[b] == '.') markStart = b + 1;
    if (end) *end = b;
    return std::string_view(type.data() + markStart, b - markStart);
}

// Names are compared as VHDL does, ignoring the case of their ASCII letters.
constexpr char folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view lowerCase)
{
    if (a.size() != lowerCase.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (folded(a[i]) != lowerCase[i]) return false;
    return true;
}

}  // namespace

bool hasUnconstrainedType(const Port& p)
{
    size_t end = 0;
    const std::string_view mark = typeMark(p.type, &end);
    while (end < p.type.size() && isBlank(p.type[end])) ++end;
    // Nothing after the mark but a default value.
    if (end < p.type.size() && p.type.compare(end, 2, ":=") != 0) return false;
    using namespace std::string_view_literals;
    for (const std::string_view array : {"std_logic_vector"sv, "std_ulogic_vector"sv, "bit_vector"sv, "signed"sv,
                                         "unsigned"sv, "string"sv, "boolean_vector"sv, "integer_vector"sv,
                                         "real_vector"sv, "time_vector"sv})
        if (sameName(mark, array)) return true;
    return false;
}

bool seesStdLogic(const Design& d)
{
    std::string clause = d.contextClause;
    for (char& c : clause) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return clause.find("IEEE.STD_LOGIC_1164") != std::string::npos ||
           clause.find("IEEE.IEEE_STD_CONTEXT") != std::string::npos;
}

bool votesBitwise(const Port& p)
{
    if (p.mode != PortMode::Out) return false;
    const std::string_view mark = typeMark(p.type);
    using namespace std::string_view_literals;
    for (const std::string_view bitType : {"std_logic"sv, "std_ulogic"sv, "std_logic_vector"sv, "std_ulogic_vector"sv,
                                           "bit"sv, "bit_vector"sv, "boolean"sv, "signed"sv, "unsigned"sv})
        if (sameName(mark, bitType)) return true;
    return false;
}

}  // namespace velmorn
