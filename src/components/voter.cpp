#include "components/components.h"
#include "emit/blocks.h"

namespace velmorn {

namespace {

// The name of a per-port signal: port name, suffix, position in the OUT list, ending.
DerivedName portSignal(const Toutport& p, const std::string& module, size_t n, const char* ending)
{
    return {p.name, module, n, ending};
}

}  // namespace

VhdlText GenerateVoter(const Design& d, const std::string& module, const std::string& arch)
{
    VhdlText t = moduleHead(d, module, arch, [&](VhdlText& h) { voterPortList(h, module); });
    const std::string E = d.entity_name + module;
    t << "begin" << NL;
    sensitivityList(t, module);
    t << "    begin" << NL;
    for (const auto& p : d.OutportList)
        t << "      " << p.name << module << "_out" << " <= " << majority(p.name, module) << NL;
    t << "   end process;" << NL;
    t.closeArchitecture(E);
    return t;
}

// The majority of each port is computed twice, into the "_siga" and "_sigb"
// signals; any disagreement between them raises the error output. The data
// outputs carry the second majority.
VhdlText GenerateVoterWithErr(const Design& d, const std::string& module, const std::string& arch)
{
    VhdlText t = moduleHead(d, module, arch, [&](VhdlText& h) { voterWithErrPortList(h, module); });
    const std::string E = d.entity_name + module;
    const std::string err = "Err" + module + "_out";

    size_t n = 0;
    for (const auto& p : d.OutportList) {
        ++n;
        t << "   signal " << portSignal(p, module, n, "_siga") << " : " << p.type << ";\n";
        t << "   signal " << portSignal(p, module, n, "_sigb") << " : " << p.type << ";\n";
        t << "   signal " << portSignal(p, module, n, "_sig_cmp") << " : " << " std_logic" << ";\n";
    }
    t << "begin" << NL;
    sensitivityList(t, module);
    t << "    begin" << NL;
    auto votes = [&](const char* ending) {
        size_t k = 0;
        for (const auto& p : d.OutportList)
            t << "      " << portSignal(p, module, ++k, ending) << " <= " << majority(p.name, module) << NL;
    };
    votes("_siga");
    t << NL;
    votes("_sigb");
    t << NL << "   end process;" << NL << NL;

    auto cmp = [&](const Toutport& p, size_t k) { return portSignal(p, module, k, "_sig_cmp"); };
    differenceLines(
        t, cmp, [&](const Toutport& p, size_t k) { return portSignal(p, module, k, "_siga"); },
        [&](const Toutport& p, size_t k) { return portSignal(p, module, k, "_sigb"); });
    t << NL;
    orChain(t, "   " + err, cmp);

    n = 0;
    for (const auto& p : d.OutportList)
        t << "   " << p.name << module << "_out" << " <= " << portSignal(p, module, ++n, "_sigb") << ";" << NL;
    t << NL;
    t.closeArchitecture(E);
    return t;
}

}  // namespace velmorn
