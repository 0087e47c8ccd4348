#include "emit/blocks.h"
#include "top/top.h"

namespace velmorn {

// Two copies on the same inputs and the comparator of their outputs; copy 1
// drives the unit's outputs and the comparator drives ERR.
VhdlText GenerateTopDuplex(const Design& d, const std::string& module, const std::string& voter,
                           const std::string& top, const std::string& arch)
{
    VhdlText t = topHead(d, top, arch, [](VhdlText& h) {
        inputPortLines(h, "");
        errPortLine(h, "");
        outputPortLines(h, "", false);
    });
    const std::string& T = d.entity_name;
    for (int k = 1; k <= 2; ++k) unitComponent(t, module + std::to_string(k));
    moduleComponent(t, voter, [&](VhdlText& c) { cmpPortList(c, voter); });
    copySignals(t, module, 2);
    t << NL << "begin" << NL;
    copyInstances(t, module, 2);
    moduleInstance(t, voter, [&] {
        pairInputAssocs(t, voter, module);
        t << "      " << "ERR" << voter << " => " << "ERR" << NL;
    });
    for (const auto& p : d.OutportList) t << "   " << p.name << " <= " << p.name << module << "1_sig" << ";\n";
    t << NL;
    t.closeArchitecture(T);
    return t;
}

}  // namespace velmorn
