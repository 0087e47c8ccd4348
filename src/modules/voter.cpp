#include "modules/voter.h"

#include "vhdl/blocks.h"

namespace velmorn {

Interface voterInterface(const Design& d, std::string_view suffix)
{
    Interface iface{moduleEntity(d, suffix), {}};
    iface.add(copyValues(d, suffix, 3));
    iface.add(results(d, suffix));
    return iface;
}

Interface voterWithErrorInterface(const Design& d, std::string_view suffix)
{
    Interface iface = voterInterface(d, suffix);
    iface.add(logicPort({"Err", suffix, 0, "_out"}, PortMode::Out, PortRole::ErrorFlag));
    return iface;
}

void emitVoter(const Design& d, std::string_view suffix, VhdlOut& out)
{
    const Interface iface = voterInterface(d, suffix);
    moduleHead(out, d, iface);
    out << "begin" << NL;
    sensitivityList(out, d, suffix);
    out << "    begin" << NL;
    for (const Port& p : d.produced())
        voteLine(out, p, suffix, {p.name, suffix, 0, "_out"}, "      ", StatementKind::Sequential);
    out << "   end process;" << NL;
    architectureEnd(out, iface.entity);
}

void emitVoterWithError(const Design& d, std::string_view suffix, VhdlOut& out)
{
    const Interface iface = voterWithErrorInterface(d, suffix);
    moduleHead(out, d, iface);
    auto portSignal = [&](std::string_view ending) {
        return [&, ending](const Port& p, size_t n) { return DerivedName{p.name, suffix, n, ending}; };
    };
    const auto first = portSignal("_siga"), second = portSignal("_sigb"), differ = portSignal("_sig_cmp");

    size_t n = 0;
    for (const Port& p : d.produced()) {
        ++n;
        signalLine(out, first(p, n), p.type, &p);
        signalLine(out, second(p, n), p.type, &p);
        signalLine(out, differ(p, n), " std_logic", &p);
    }
    out << "begin" << NL;
    sensitivityList(out, d, suffix);
    out << "    begin" << NL;
    auto votes = [&](const PortName& into) {
        size_t k = 0;
        for (const Port& p : d.produced()) voteLine(out, p, suffix, into(p, ++k), "      ", StatementKind::Sequential);
    };
    votes(first);
    out << NL;
    votes(second);
    out << NL << "   end process;" << NL << NL;

    differenceLines(out, d, differ, first, second);
    out << NL;
    orChain(out, d, "   Err" + std::string(suffix) + "_out", differ);

    n = 0;
    for (const Port& p : d.produced()) out << "   " << p.name << suffix << "_out" << " <= " << second(p, ++n) << ";" << NL;
    out << NL;
    architectureEnd(out, iface.entity);
}

}  // namespace velmorn
