// The voting modules of the three-unit architectures: the two-channel module
// with two majority voters and their comparison, its variant with two
// selectors, and the one-channel selecting modules.
#include <functional>

#include "components/components.h"
#include "emit/blocks.h"

namespace velmorn {

namespace {

// File head shared by every voting module: the entity with the voting-module
// port list and the architecture line.
VhdlText votingModuleHead(const Design& d, const std::string& M, const std::string& arch)
{
    return moduleHead(d, M, arch, [&](VhdlText& h) { votingModulePortList(h, M); });
}

// Fault decoding of one channel whose signals end in x: unit 3 is faulty when
// it differs from both others, unit 1 or 2 when it alone differs from unit 3.
void decodeLines(VhdlText& t, const std::string& x)
{
    t << "  err3" << x << " <= cmp13" << x << " and cmp23" << x << ";" << NL;
    t << "  err1" << x << " <= cmp13" << x << " and not err3" << x << ";" << NL;
    t << "  err2" << x << " <= cmp23" << x << " and not err3" << x << ";" << NL;
}

// The unit flags of the module: "   Err" M k " <= err" k x ";" for k = 1, 2, 3.
void unitFlagOutputs(VhdlText& t, const std::string& M, const std::string& x)
{
    for (int k = 1; k <= 3; ++k) t << "   Err" << M << k << " <= err" << k << x << ";" << NL;
}

// One of the two result steps of the two-channel module: writes the lines of
// the result signal `sfx` ("_sigboutb" or "_sigbouta") for every OUT port.
using ResultStep = std::function<void(VhdlText& t, const std::string& M, const std::string& sfx)>;

void majorityVoterStep(VhdlText& t, const std::string& M, const std::string& sfx)
{
    size_t n = 0;
    for (const auto& p : t.design().OutportList)
        t << "  " << p.name << M << ++n << sfx << " <= " << majority(p.name, M) << NL;
}

void selectorStep(VhdlText& t, const std::string& M, const std::string& sfx)
{
    selectorLines(t, M, sfx, "err1_siga");
}

// The two-channel module: channels a and b decode the faulty unit, two result
// paths B and A computed by `step` are compared, and the outputs take path B.
VhdlText twoChannelModule(const Design& d, const std::string& M, const std::string& arch, const ResultStep& step)
{
    VhdlText t = votingModuleHead(d, M, arch);
    const std::string E = d.entity_name + M;
    size_t n = 0;
    for (const auto& p : d.OutportList) {
        const std::string X = p.name + M + std::to_string(++n);
        t << "   signal " << "errcmp_sig" << n << " : " << "std_logic" << ";\n";
        for (const char* s : {"_siga", "_sigb", "_sigc", "_sigd"})
            t << "   signal " << X << s << " : " << "std_logic" << ";\n";
        t << "   signal " << X << "_sigbouta" << " : " << p.type << ";\n";
        t << "   signal " << X << "_sigboutb" << " : " << p.type << ";\n";
    }
    t << "   signal " << "cmp13_siga, cmp23_siga, cmp13_sigb, cmp23_sigb" << " : " << "std_logic" << ";\n";
    t << "   signal " << "err1_siga, err2_siga, err3_siga, err1_sigb, err2_sigb, err3_sigb, err_sig_mux" << " : "
      << "std_logic" << ";\n";
    t << "   signal " << "err_sig_cmp1, err_sig_cmp2, err_sig_cmp3, err_sig_cmp" << " : " << "std_logic" << ";\n\n";
    t << "begin" << NL << NL;

    mismatchBlock(t, M, "_siga", "1_in", "3_in", "   cmp13_siga");
    mismatchBlock(t, M, "_sigb", "2_in", "3_in", "   cmp23_siga");
    decodeLines(t, "_siga");
    t << NL;
    mismatchBlock(t, M, "_sigc", "1_in", "3_in", "   cmp13_sigb");
    mismatchBlock(t, M, "_sigd", "2_in", "3_in", "   cmp23_sigb");
    decodeLines(t, "_sigb");
    t << NL;

    // Cross-check: a unit counts as faulty only when both channels say so.
    for (int k = 1; k <= 3; ++k)
        t << "  err_sig_cmp" << k << " <= err" << k << "_siga and err" << k << "_sigb;" << NL;
    t << "  err_sig_cmp <= err_sig_cmp1 or err_sig_cmp2 or err_sig_cmp3;" << NL;
    t << NL;

    step(t, M, "_sigboutb");
    t << NL;
    step(t, M, "_sigbouta");
    t << NL;
    voterComparisonBlock(t, M);
    t << NL << NL;
    selectedOutputs(t, M);
    t << NL;
    orChain(t, "   err_sig_mux", [](const Toutport&, size_t k) { return DerivedName{"errcmp_sig", "", k, ""}; });
    unitFlagOutputs(t, M, "_siga");
    t << "   Err" << M << " <= err_sig_mux or err_sig_cmp;" << NL << NL;
    t.closeArchitecture(E);
    return t;
}

// Front of the one-channel modules after their per-port declarations: the
// shared declarations, the mismatch blocks and the fault decoding; with
// `summary` the decoding also drives errfdec_sig.
void oneChannelFront(VhdlText& t, const std::string& M, bool summary)
{
    t << "   signal " << "cmp13_sig, cmp23_sig" << " : " << "std_logic" << ";\n";
    t << "   signal " << "err1_sig, err2_sig, err3_sig, errfdec_sig" << " : " << "std_logic" << ";\n\n";
    t << "begin" << NL << NL;
    mismatchBlock(t, M, "_siga", "1_in", "3_in", "   cmp13_sig");
    mismatchBlock(t, M, "_sigb", "2_in", "3_in", "   cmp23_sig");
    decodeLines(t, "_sig");
    if (summary) t << "  errfdec_sig <= err1_sig or err2_sig or err3_sig;" << NL;
    t << NL;
}

}  // namespace

VhdlText GenerateVoterTMR2V(const Design& d, const std::string& module, const std::string& arch)
{
    return twoChannelModule(d, module, arch, majorityVoterStep);
}

VhdlText GenerateMPRM3FUB(const Design& d, const std::string& module, const std::string& arch)
{
    return twoChannelModule(d, module, arch, selectorStep);
}

VhdlText GenerateMPRM3FUA(const Design& d, const std::string& module, const std::string& arch)
{
    const std::string& M = module;
    VhdlText t = votingModuleHead(d, M, arch);
    size_t n = 0;
    for (const auto& p : d.OutportList) {
        t << "   signal " << "errcmp_sig" << ++n << " : " << "std_logic" << ";\n";
        t << "   signal " << p.name << M << n << "_siga" << " : " << "std_logic" << ";\n";
    }
    n = 0;
    for (const auto& p : d.OutportList) {
        const std::string X = p.name + M + std::to_string(++n);
        t << "   signal " << X << "_sigb" << " : " << "std_logic" << ";\n";
        t << "   signal " << X << "_sigbouta" << " : " << p.type << ";\n";
        t << "   signal " << X << "_sigboutb" << " : " << p.type << ";\n";
    }
    oneChannelFront(t, M, false);
    checkedSelection(t, M, "err1_sig");
    t << NL;
    unitFlagOutputs(t, M, "_sig");
    t << NL;
    t.closeArchitecture(d.entity_name + M);
    return t;
}

VhdlText GenerateMPRM3FUC(const Design& d, const std::string& module, const std::string& arch)
{
    const std::string& M = module;
    VhdlText t = votingModuleHead(d, M, arch);
    for (const char* s : {"_siga", "_sigb"}) {
        size_t n = 0;
        for (const auto& p : d.OutportList)
            t << "   signal " << p.name << M << ++n << s << " : " << "std_logic" << ";\n";
    }
    oneChannelFront(t, M, true);
    for (const auto& p : d.OutportList)
        t << "   " << p.name << M << "_out" << " <= " << selection(p.name, M, "err1_sig") << NL;
    t << NL;
    unitFlagOutputs(t, M, "_sig");
    t << "   Err" << M << "" << " <= errfdec_sig;" << NL << NL;
    t.closeArchitecture(d.entity_name + M);
    return t;
}

}  // namespace velmorn
