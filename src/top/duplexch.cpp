// Top levels of the duplex architectures with checkers: two copies, of which
// copy 1 (or both) is paired with a checker, and the output multiplexer. The
// top level has the unit's interface plus three error outputs.
#include "emit/blocks.h"
#include "top/top.h"

namespace velmorn {

namespace {

// `twoCheckers`: copy 2 also carries a checker error port, and the second
// error signal feeds the multiplexer's second error input.
VhdlText topDuplexWithCheckers(const Design& d, const std::string& M, const std::string& X, const std::string& top,
                               const std::string& arch, bool twoCheckers)
{
    const std::string& T = d.entity_name;
    const int checked = twoCheckers ? 2 : 1;
    VhdlText t = topHead(d, top, arch, [](VhdlText& h) {
        portsWithErrorOutputs(h, {"Err_prm1", "Err_prm2", "Err_prm_m"});
    });

    for (int k = 1; k <= 2; ++k) {
        const std::string sfx = M + std::to_string(k);
        moduleComponent(t, sfx, [&](VhdlText& c) {
            inputPortLines(c, sfx);
            if (k <= checked) errPortLine(c, sfx);
            outputPortLines(c, sfx, false);
        });
    }
    moduleComponent(t, X, [&](VhdlText& c) { muxPortList(c, X, twoCheckers); });

    copySignals(t, M, 2);
    for (int k = 1; k <= checked; ++k) t << "signal " << "err" << k << "_sig" << " : " << "std_logic;\n";
    t << NL << "begin" << NL;

    CopyInstanceOptions withError;
    withError.beforeOutputs = [&](int k) {
        if (k <= checked) t << "      " << "Err_prm" << k << " => err" << k << "_sig,\n";
    };
    copyInstances(t, M, 2, withError);
    moduleInstance(t, X, [&] {
        t << "      " << "ERR_prm1_in => err1_sig,\n";
        if (twoCheckers) t << "      " << "ERR_prm2_in => err2_sig,\n";
        pairInputAssocs(t, X, M);
        voterOutputAssocs(t, X, "", true);
        t << "      " << "Err" << X << "1" << " => Err_prm1,\n";
        t << "      " << "Err" << X << "2" << " => Err_prm2,\n";
        t << "      " << "Err" << X << " => Err_prm_m\n";
    });
    t.closeArchitecture(T);
    return t;
}

}  // namespace

VhdlText GenerateTopDPL1(const Design& d, const std::string& module, const std::string& checker,
                         const std::string& /*prm*/, const std::string& top, const std::string& arch)
{
    return topDuplexWithCheckers(d, module, checker, top, arch, false);
}

VhdlText GenerateTopDPL2(const Design& d, const std::string& module, const std::string& checker,
                         const std::string& /*prm*/, const std::string& top, const std::string& arch)
{
    return topDuplexWithCheckers(d, module, checker, top, arch, true);
}

}  // namespace velmorn
