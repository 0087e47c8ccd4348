#include "modules/two_channel.h"

#include <functional>

#include "modules/voting_module.h"
#include "vhdl/blocks.h"

namespace velmorn {

namespace {

// One of the two result steps: writes the lines of the result signal ending
// in `ending` ("_sigboutb" or "_sigbouta") for every OUT port.
using ResultStep = std::function<void(VhdlOut& out, const Design& d, std::string_view M, std::string_view ending)>;

void majorityStep(VhdlOut& out, const Design& d, std::string_view M, std::string_view ending)
{
    size_t n = 0;
    for (const Port& p : d.produced()) voteLine(out, p, M, {p.name, M, ++n, ending}, "  ", StatementKind::Concurrent);
}

void selectorStep(VhdlOut& out, const Design& d, std::string_view M, std::string_view ending)
{
    selectorLines(out, d, M, ending, "err1_siga");
}

void twoChannelModule(const Design& d, std::string_view M, VhdlOut& out, const ResultStep& step)
{
    const Interface iface = votingModuleInterface(d, M);
    moduleHead(out, d, iface);
    size_t n = 0;
    for (const Port& p : d.produced()) {
        ++n;
        signalLine(out, {"errcmp_sig", "", n}, "std_logic");
        for (const char* s : {"_siga", "_sigb", "_sigc", "_sigd"}) signalLine(out, {p.name, M, n, s}, "std_logic");
        signalLine(out, {p.name, M, n, "_sigbouta"}, p.type);
        signalLine(out, {p.name, M, n, "_sigboutb"}, p.type);
    }
    signalList(out, "cmp13_siga, cmp23_siga, cmp13_sigb, cmp23_sigb", "std_logic");
    signalList(out, "err1_siga, err2_siga, err3_siga, err1_sigb, err2_sigb, err3_sigb, err_sig_mux", "std_logic");
    signalList(out, "err_sig_cmp1, err_sig_cmp2, err_sig_cmp3, err_sig_cmp", "std_logic");
    out << "\n";
    out << "begin" << NL << NL;

    mismatchBlock(out, d, M, "_siga", "1_in", "3_in", "   cmp13_siga");
    mismatchBlock(out, d, M, "_sigb", "2_in", "3_in", "   cmp23_siga");
    decodeLines(out, "_siga");
    out << NL;
    mismatchBlock(out, d, M, "_sigc", "1_in", "3_in", "   cmp13_sigb");
    mismatchBlock(out, d, M, "_sigd", "2_in", "3_in", "   cmp23_sigb");
    decodeLines(out, "_sigb");
    out << NL;

    // Cross-check: a copy counts as faulty only when both channels say so.
    for (int k = 1; k <= 3; ++k) out << "  err_sig_cmp" << k << " <= err" << k << "_siga and err" << k << "_sigb;" << NL;
    out << "  err_sig_cmp <= err_sig_cmp1 or err_sig_cmp2 or err_sig_cmp3;" << NL;
    out << NL;

    step(out, d, M, "_sigboutb");
    out << NL;
    step(out, d, M, "_sigbouta");
    out << NL;
    pathComparison(out, d, M);
    out << NL << NL;
    outputsFromPathB(out, d, M);
    out << NL;
    pathComparisonChain(out, d, "   err_sig_mux");
    copyFlagOutputs(out, M, "_siga");
    out << "   Err" << M << " <= err_sig_mux or err_sig_cmp;" << NL << NL;
    architectureEnd(out, iface.entity);
}

}  // namespace

void emitTwoVoterModule(const Design& d, std::string_view suffix, VhdlOut& out)
{
    twoChannelModule(d, suffix, out, majorityStep);
}

void emitCheckedTwoSelectorModule(const Design& d, std::string_view suffix, VhdlOut& out)
{
    twoChannelModule(d, suffix, out, selectorStep);
}

}  // namespace velmorn
