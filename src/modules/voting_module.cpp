#include "modules/voting_module.h"

#include "modules/fault_decoder.h"

namespace velmorn {

Interface votingModuleInterface(const Design& d, std::string_view suffix)
{
    Interface iface{moduleEntity(d, suffix), {}};
    iface.add(copyValues(d, suffix, 3));
    iface.add(results(d, suffix));
    addCopyFlags(iface, suffix);
    return iface;
}

void decodeLines(VhdlOut& out, std::string_view x)
{
    out << "  err3" << x << " <= cmp13" << x << " and cmp23" << x << ";" << NL;
    out << "  err1" << x << " <= cmp13" << x << " and not err3" << x << ";" << NL;
    out << "  err2" << x << " <= cmp23" << x << " and not err3" << x << ";" << NL;
}

void copyFlagOutputs(VhdlOut& out, std::string_view S, std::string_view x)
{
    for (int k = 1; k <= 3; ++k) out << "   Err" << S << k << " <= err" << k << x << ";" << NL;
}

}  // namespace velmorn
