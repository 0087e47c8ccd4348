#include "emit/blocks.h"
#include "top/top.h"

namespace velmorn {

namespace {

std::string num(int c) { return std::to_string(c); }

}  // namespace

// Three copies and one majority voter; the voter drives the unit's outputs.
VhdlText GenerateTopTMR(const Design& d, const std::string& module, const std::string& voter,
                        const std::string& top, const std::string& arch)
{
    VhdlText t = topHead(d, top, arch, [](VhdlText& h) { unitPortList(h, ""); });
    const std::string& T = d.entity_name;
    for (int c = 1; c <= 3; ++c) unitComponent(t, module + num(c));
    moduleComponent(t, voter, [&](VhdlText& c) { voterPortList(c, voter); });
    copySignals(t, module, 3);
    t << NL << "begin" << NL;
    copyInstances(t, module, 3);
    moduleInstance(t, voter, [&] {
        voterInputAssocs(t, voter, module);
        voterOutputAssocs(t, voter, "", false);
    });
    t.closeArchitecture(T);
    return t;
}

// Three copies with inputs and outputs of their own, three self-checking
// voters each driving one set of outputs, and the fault decoder.
VhdlText GenerateTopTMR3FU3V(const Design& d, const std::string& module, const std::string& voter,
                             const std::string& fdec, const std::string& top, const std::string& arch)
{
    VhdlText t = topHead(d, top, arch, [](VhdlText& h) {
        for (int c = 1; c <= 3; ++c) {
            inputPortLines(h, num(c));
            outputPortLines(h, num(c), true);
        }
        for (const char* line : {"Err_prm1 : OUT std_logic;\n", "Err_prm2 : OUT std_logic;\n",
                                 "Err_prm3 : OUT std_logic;\n", "Err_v_prm1 : OUT std_logic;\n",
                                 "Err_v_prm2 : OUT std_logic;\n", "Err_v_prm3 : OUT std_logic;\n",
                                 "Err_prm_d : OUT std_logic\n"})
            h << "      " << line;
    });
    const std::string& T = d.entity_name;
    for (int c = 1; c <= 3; ++c) unitComponent(t, module + num(c));
    for (int v = 1; v <= 3; ++v) {
        const std::string Vv = voter + num(v);
        moduleComponent(t, Vv, [&](VhdlText& c) { voterWithErrPortList(c, Vv); });
    }
    moduleComponent(t, fdec, [&](VhdlText& c) { fdecPortList(c, fdec); });
    copySignals(t, module, 3);
    t << NL << "begin" << NL;
    CopyInstanceOptions ownInputs;
    ownInputs.perCopyInputs = true;
    copyInstances(t, module, 3, ownInputs);
    moduleInstance(t, fdec, [&] {
        voterInputAssocs(t, fdec, module);
        t << "      " << "Err" << fdec << "1 => Err_prm1,\n";
        t << "      " << "Err" << fdec << "2 => Err_prm2,\n";
        t << "      " << "Err" << fdec << "3 => Err_prm3,\n";
        t << "      " << "Err" << fdec << " => Err_prm_d\n";
    });
    for (int v = 1; v <= 3; ++v) {
        const std::string Vv = voter + num(v);
        moduleInstance(t, Vv, [&] {
            voterInputAssocs(t, Vv, module);
            voterOutputAssocs(t, Vv, num(v), true);
            t << "      " << "Err" << Vv << "_out => Err_v_prm" << v << "\n";
        });
    }
    t.closeArchitecture(T);
    return t;
}

// Three unit-with-checker modules and one self-checking voter.
VhdlText GenerateTopTMR3(const Design& d, const std::string& module, const std::string& prm,
                         const std::string& top, const std::string& arch)
{
    VhdlText t = topHead(d, top, arch, [](VhdlText& h) {
        portsWithErrorOutputs(h, {"Err_prm1", "Err_prm2", "Err_prm3", "Err_prm_v"});
    });
    const std::string& T = d.entity_name;
    for (int c = 1; c <= 3; ++c) {
        const std::string Mc = module + num(c);
        moduleComponent(t, Mc, [&](VhdlText& m) {
            inputPortLines(m, Mc);
            outputPortLines(m, Mc, true);
            m << "      " << "Err" << Mc << " : OUT" << " std_logic" << "\n";
        });
    }
    moduleComponent(t, prm, [&](VhdlText& c) { voterWithErrPortList(c, prm); });
    copySignals(t, module, 3);
    t << NL << "begin" << NL;
    CopyInstanceOptions withError;
    withError.afterOutputs = [&](int c) { t << "      " << "Err" << module << c << " => Err" << module << c << "\n"; };
    copyInstances(t, module, 3, withError);
    moduleInstance(t, prm, [&] {
        voterInputAssocs(t, prm, module);
        voterOutputAssocs(t, prm, "", true);
        t << "      " << "Err" << prm << "_out" << " => Err_prm_v\n";
    });
    t.closeArchitecture(T);
    return t;
}

}  // namespace velmorn
