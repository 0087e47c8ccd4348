#include "emit/blocks.h"
#include "top/top.h"

namespace velmorn {

// The unit copy `module` next to the checker `checker`, wrapped in one module
// whose entity, ports and error output carry `top` (which may be empty). The
// checker sees the module's inputs and the copy's outputs.
VhdlText GeneratePRMFUCH(const Design& d, const std::string& module, const std::string& checker,
                         const std::string& top, const std::string& arch)
{
    VhdlText t(d, moduleFilePath(d, top), arch);
    const std::string& T = d.entity_name;
    const std::string& M = module;
    const std::string& S = top;

    entityHead(t, T + S);
    inputPortLines(t, S);
    errPortLine(t, S);
    outputPortLines(t, S, false);
    entityTail(t, T + S);
    architectureLine(t, T, T + S);
    t << NL;

    unitComponent(t, M);

    // The checker reads the unit's outputs as inputs.
    constexpr PortModes kCheckerModes{" : IN", " : INOUT", " : IN"};
    moduleComponent(t, checker, [&](VhdlText& c) {
        inputPortLines(c, "");
        outputPortLines(c, "", true, kCheckerModes);
        c << "      " << " ERR" << " : OUT std_logic" << NL;
    });

    for (const auto& p : d.OutportList) t << "signal " << p.name << M << "_sig" << " : " << p.type << ";\n";
    t << NL << "begin" << NL;

    instanceFrame(t, T + M + "x : " + T + M, [&] {
        inputAssocs(t, M, S);
        outputSignalAssocs(t, M, false);
    });
    moduleInstance(t, checker, [&] {
        inputAssocs(t, "", S);
        for (const auto& p : d.OutportList) t << "      " << p.name << " => " << p.name << M << "_sig" << ",\n";
        t << "      " << "ERR" << " => " << "ERR" << S << NL;
    });

    for (const auto& p : d.OutportList) t << "   " << p.name << S << " <= " << p.name << M << "_sig" << ";\n";
    t << NL;
    t.closeArchitecture(T);
    return t;
}

}  // namespace velmorn
