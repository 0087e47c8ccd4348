#include "components/components.h"
#include "emit/blocks.h"

namespace velmorn {

// Two copies of every OUT port; ERR_cmp is the OR of their per-port differences.
VhdlText GenerateCmp(const Design& d, const std::string& module, const std::string& arch)
{
    VhdlText t = moduleHead(d, module, arch, [&](VhdlText& h) { cmpPortList(h, module); });
    const std::string E = d.entity_name + module;
    t << NL;
    size_t n = 0;
    for (const auto& p : d.OutportList)
        t << "   signal " << p.name << module << ++n << "_sig" << " : " << "std_logic" << ";\n";
    t << NL << "begin" << NL << NL;
    mismatchBlock(t, module, "_sig", "1_in", "2_in", "   ERR_cmp");
    t.closeArchitecture(E);
    return t;
}

}  // namespace velmorn
