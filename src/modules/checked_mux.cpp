#include "modules/checked_mux.h"

#include "vhdl/blocks.h"

namespace velmorn {

Interface checkedMuxInterface(const Design& d, std::string_view suffix, int checkers)
{
    Interface iface{moduleEntity(d, suffix), {}};
    for (int k = 1; k <= checkers; ++k) {
        PortGroup err =
            logicPort({"Err", "_prm", static_cast<size_t>(k), "_in"}, PortMode::In, PortRole::CheckerErrorInput, k);
        err.port.mapBase = "ERR";
        iface.add(err);
    }
    iface.add(copyValues(d, suffix, 2));
    iface.add(results(d, suffix));
    for (int k = 1; k <= 2; ++k)
        iface.add(logicPort({"Err", suffix, static_cast<size_t>(k)}, PortMode::Out, PortRole::ErrorFlag, k));
    iface.add(logicPort({"Err", suffix}, PortMode::Out, PortRole::ErrorFlag, 0));
    return iface;
}

namespace {

void checkedMux(const Design& d, std::string_view M, VhdlOut& out, int checkers)
{
    const Interface iface = checkedMuxInterface(d, M, checkers);
    moduleHead(out, d, iface);

    for (size_t k = 1; k <= d.produced().size(); ++k) signalLine(out, {"errcmp_sig", "", k}, "std_logic");
    size_t n = 0;
    for (const Port& p : d.produced()) {
        ++n;
        signalLine(out, {p.name, M, n, "_sigbouta"}, p.type, &p);
        signalLine(out, {p.name, M, n, "_sigboutb"}, p.type, &p);
    }
    if (checkers == 1) {
        n = 0;
        for (const Port& p : d.produced()) signalLine(out, {p.name, M, ++n, "_siga"}, "std_logic");
        signalList(out, "cmp12_sig", "std_logic");
    }
    signalList(out, "err1_sig, err2_sig", "std_logic");
    out << "\n";
    out << "begin" << NL << NL;

    if (checkers == 2) {
        out << "  err1_sig <= Err_prm1_in;" << NL;
        out << "  err2_sig <= Err_prm2_in;" << NL << NL;
    } else {
        out << "  err1_sig <= Err_prm1_in;" << NL << NL;
        mismatchBlock(out, d, M, "_siga", "1_in", "2_in", "   cmp12_sig");
        out << "   err2_sig  <= cmp12_sig and not err1_sig;" << NL << NL;
    }

    checkedSelection(out, d, M, "err1_sig");
    out << NL << "   Err" << M << "1" << " <= err1_sig;" << NL;
    out << "   Err" << M << "2" << " <= err2_sig;" << NL << NL;
    architectureEnd(out, iface.entity);
}

}  // namespace

void emitTwoCheckerMux(const Design& d, std::string_view suffix, VhdlOut& out) { checkedMux(d, suffix, out, 2); }

void emitOneCheckerMux(const Design& d, std::string_view suffix, VhdlOut& out) { checkedMux(d, suffix, out, 1); }

}  // namespace velmorn
