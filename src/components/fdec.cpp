#include "components/components.h"
#include "emit/blocks.h"

namespace velmorn {

// Copies 1 and 2 are each compared with copy 3 over all OUT ports; the two
// results name the faulty copy (copy 3 when both differ from it).
VhdlText GenerateFDEC(const Design& d, const std::string& module, const std::string& arch)
{
    VhdlText t = moduleHead(d, module, arch, [&](VhdlText& h) { fdecPortList(h, module); });
    const std::string E = d.entity_name + module;
    const std::string err = "Err" + module;
    size_t n = 0;
    for (const auto& p : d.OutportList) {
        ++n;
        t << "   signal " << p.name << module << n << "_siga" << " : " << "std_logic" << ";\n";
        t << "   signal " << p.name << module << n << "_sigb" << " : " << "std_logic" << ";\n";
    }
    t << "   signal " << "cmp13_sig, cmp23_sig" << " : " << "std_logic" << ";\n";
    t << "   signal " << "err1_sig, err2_sig, err3_sig, errfdec_sig" << " : " << "std_logic" << ";\n\n";
    t << "begin" << NL << NL;
    mismatchBlock(t, module, "_siga", "1_in", "3_in", "   cmp13_sig");
    mismatchBlock(t, module, "_sigb", "2_in", "3_in", "   cmp23_sig");
    t << "  err3_sig <= cmp13_sig and cmp23_sig;" << NL;
    t << "  err1_sig <= cmp13_sig and not err3_sig;" << NL;
    t << "  err2_sig <= cmp23_sig and not err3_sig;" << NL;
    t << "  errfdec_sig <= err1_sig or err2_sig or err3_sig;" << NL;
    t << "   " << err << "1" << " <= err1_sig;" << NL;
    t << "   " << err << "2" << " <= err2_sig;" << NL;
    t << "   " << err << "3" << " <= err3_sig;" << NL;
    t << "   " << err << " <= errfdec_sig;" << NL;
    t.closeArchitecture(E);
    return t;
}

}  // namespace velmorn
