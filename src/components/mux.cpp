// The output multiplexers of the duplex architectures with checkers: copy 1
// is passed on unless its checker reports an error, then copy 2. The
// selection is computed twice and the two paths are compared. With one
// checker, copy 2 is blamed when the copies differ while copy 1 is sound.
#include "components/components.h"
#include "emit/blocks.h"

namespace velmorn {

namespace {

VhdlText muxWithErr(const Design& d, const std::string& M, const std::string& arch, bool twoCheckers)
{
    VhdlText t = moduleHead(d, M, arch, [&](VhdlText& h) { muxPortList(h, M, twoCheckers); });
    const std::string E = d.entity_name + M;

    for (size_t k = 1; k <= d.OutportList.size(); ++k)
        t << "   signal " << "errcmp_sig" << k << " : " << "std_logic" << ";\n";
    size_t n = 0;
    for (const auto& p : d.OutportList) {
        const std::string X = p.name + M + std::to_string(++n);
        t << "   signal " << X << "_sigbouta" << " : " << p.type << ";\n";
        t << "   signal " << X << "_sigboutb" << " : " << p.type << ";\n";
    }
    if (!twoCheckers) {
        n = 0;
        for (const auto& p : d.OutportList)
            t << "   signal " << p.name << M << ++n << "_siga" << " : " << "std_logic" << ";\n";
        t << "   signal " << "cmp12_sig" << " : " << "std_logic" << ";\n";
    }
    t << "   signal " << "err1_sig, err2_sig" << " : " << "std_logic" << ";\n\n";
    t << "begin" << NL << NL;

    if (twoCheckers) {
        t << "  err1_sig <= Err_prm1_in;" << NL;
        t << "  err2_sig <= Err_prm2_in;" << NL << NL;
    } else {
        t << "  err1_sig <= Err_prm1_in;" << NL << NL;
        mismatchBlock(t, M, "_siga", "1_in", "2_in", "   cmp12_sig");
        t << "   err2_sig  <= cmp12_sig and not err1_sig;" << NL << NL;
    }

    checkedSelection(t, M, "err1_sig");
    t << NL << "   Err" << M << "1" << " <= err1_sig;" << NL;
    t << "   Err" << M << "2" << " <= err2_sig;" << NL << NL;
    t.closeArchitecture(E);
    return t;
}

}  // namespace

VhdlText GenerateMuxWithErr(const Design& d, const std::string& module, const std::string& arch)
{
    return muxWithErr(d, module, arch, true);
}

VhdlText GenerateMuxWithErrCMP(const Design& d, const std::string& module, const std::string& arch)
{
    return muxWithErr(d, module, arch, false);
}

}  // namespace velmorn
