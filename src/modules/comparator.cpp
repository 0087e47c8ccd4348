#include "modules/comparator.h"

#include "vhdl/blocks.h"

namespace velmorn {

Interface comparatorInterface(const Design& d, std::string_view suffix)
{
    Interface iface{moduleEntity(d, suffix), {}};
    iface.add(copyValues(d, suffix, 2));
    iface.add(logicPort({"ERR_cmp"}, PortMode::Out, PortRole::ErrorFlag));
    return iface;
}

void emitComparator(const Design& d, std::string_view suffix, VhdlOut& out)
{
    const Interface iface = comparatorInterface(d, suffix);
    moduleHead(out, d, iface);
    out << NL;
    size_t n = 0;
    for (const Port& p : d.produced()) signalLine(out, {p.name, suffix, ++n, "_sig"}, "std_logic");
    out << NL << "begin" << NL << NL;
    mismatchBlock(out, d, suffix, "_sig", "1_in", "2_in", "   ERR_cmp");
    architectureEnd(out, iface.entity);
}

}  // namespace velmorn
