#include "modules/selector.h"

#include "modules/voting_module.h"
#include "vhdl/blocks.h"

namespace velmorn {

namespace {

// After the per-port declarations: the shared declarations, the mismatch
// blocks and the fault decoding; with `summary` the decoding also drives
// errfdec_sig.
void oneChannelFront(VhdlOut& out, const Design& d, std::string_view suffix, bool summary)
{
    signalList(out, "cmp13_sig, cmp23_sig", "std_logic");
    signalList(out, "err1_sig, err2_sig, err3_sig, errfdec_sig", "std_logic");
    out << "\n";
    out << "begin" << NL << NL;
    mismatchBlock(out, d, suffix, "_siga", "1_in", "3_in", "   cmp13_sig");
    mismatchBlock(out, d, suffix, "_sigb", "2_in", "3_in", "   cmp23_sig");
    decodeLines(out, "_sig");
    if (summary) out << "  errfdec_sig <= err1_sig or err2_sig or err3_sig;" << NL;
    out << NL;
}

}  // namespace

void emitTwoSelectorModule(const Design& d, std::string_view suffix, VhdlOut& out)
{
    const Interface iface = votingModuleInterface(d, suffix);
    moduleHead(out, d, iface);
    size_t n = 0;
    for (const Port& p : d.produced()) {
        signalLine(out, {"errcmp_sig", "", ++n}, "std_logic");
        signalLine(out, {p.name, suffix, n, "_siga"}, "std_logic");
    }
    n = 0;
    for (const Port& p : d.produced()) {
        ++n;
        signalLine(out, {p.name, suffix, n, "_sigb"}, "std_logic");
        signalLine(out, {p.name, suffix, n, "_sigbouta"}, p.type);
        signalLine(out, {p.name, suffix, n, "_sigboutb"}, p.type);
    }
    oneChannelFront(out, d, suffix, false);
    checkedSelection(out, d, suffix, "err1_sig");
    out << NL;
    copyFlagOutputs(out, suffix, "_sig");
    out << NL;
    architectureEnd(out, iface.entity);
}

void emitOneSelectorModule(const Design& d, std::string_view suffix, VhdlOut& out)
{
    const Interface iface = votingModuleInterface(d, suffix);
    moduleHead(out, d, iface);
    for (const char* s : {"_siga", "_sigb"}) {
        size_t n = 0;
        for (const Port& p : d.produced()) signalLine(out, {p.name, suffix, ++n, s}, "std_logic");
    }
    oneChannelFront(out, d, suffix, true);
    for (const Port& p : d.produced())
        out << "   " << p.name << suffix << "_out" << " <= " << Selection{p.name, suffix, "err1_sig"} << NL;
    out << NL;
    copyFlagOutputs(out, suffix, "_sig");
    out << "   Err" << suffix << " <= errfdec_sig;" << NL << NL;
    architectureEnd(out, iface.entity);
}

}  // namespace velmorn
