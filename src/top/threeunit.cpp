// Top level of the three-unit architectures: three copies of the unit and one
// voting module, with the unit's interface and four error outputs.
#include "emit/blocks.h"
#include "top/top.h"

namespace velmorn {

VhdlText GenerateTopTMR3FU(const Design& d, const std::string& module, const std::string& voter,
                           const std::string& top, const std::string& arch)
{
    const std::string& E = d.entity_name;
    const std::string& M = module;
    const std::string& V = voter;
    VhdlText t = topHead(d, top, arch, [](VhdlText& h) {
        portsWithErrorOutputs(h, {"Err_prm1", "Err_prm2", "Err_prm3", "Err_prm_d"});
    });

    for (int j = 1; j <= 3; ++j) unitComponent(t, M + std::to_string(j));
    moduleComponent(t, V, [&](VhdlText& c) { votingModulePortList(c, V); });
    copySignals(t, M, 3);
    t << "\n" << "begin" << "\n";

    copyInstances(t, M, 3);
    moduleInstance(t, V, [&] {
        voterInputAssocs(t, V, M);
        voterOutputAssocs(t, V, "", true);
        t << "      " << "Err" << V << "1" << " => Err_prm1,\n";
        t << "      " << "Err" << V << "2" << " => Err_prm2,\n";
        t << "      " << "Err" << V << "3" << " => Err_prm3,\n";
        t << "      " << "Err" << V << "" << " => Err_prm_d\n";
    });
    t.closeArchitecture(E);
    return t;
}

}  // namespace velmorn
