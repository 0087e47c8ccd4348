#include "model/design.h"

#include <cctype>

namespace velmorn {

bool votesBitwise(const Port& p)
{
    if (p.mode != PortMode::Out) return false;
    // The type mark: the first name of the type text, without its library and package.
    size_t a = 0;
    while (a < p.type.size() && std::isspace(static_cast<unsigned char>(p.type[a]))) ++a;
    size_t b = a;
    while (b < p.type.size() && (std::isalnum(static_cast<unsigned char>(p.type[b])) || p.type[b] == '_' ||
                                 p.type[b] == '.'))
        ++b;
    std::string mark = p.type.substr(a, b - a);
    if (const size_t dot = mark.rfind('.'); dot != std::string::npos) mark.erase(0, dot + 1);
    for (char& c : mark) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* bitType : {"std_logic", "std_ulogic", "std_logic_vector", "std_ulogic_vector", "bit",
                                "bit_vector", "boolean", "signed", "unsigned"})
        if (mark == bitType) return true;
    return false;
}

}  // namespace velmorn
