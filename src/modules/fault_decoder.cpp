#include "modules/fault_decoder.h"

#include "vhdl/blocks.h"

namespace velmorn {

void addCopyFlags(Interface& iface, std::string_view suffix)
{
    for (int k = 1; k <= 3; ++k)
        iface.add(logicPort({"Err", suffix, static_cast<size_t>(k)}, PortMode::Out, PortRole::ErrorFlag, k));
    iface.add(logicPort({"Err", suffix}, PortMode::Out, PortRole::ErrorFlag, 0));
}

Interface faultDecoderInterface(const Design& d, std::string_view suffix)
{
    Interface iface{moduleEntity(d, suffix), {}};
    iface.add(copyValues(d, suffix, 3));
    addCopyFlags(iface, suffix);
    return iface;
}

void emitFaultDecoder(const Design& d, std::string_view suffix, VhdlOut& out)
{
    const Interface iface = faultDecoderInterface(d, suffix);
    moduleHead(out, d, iface);
    size_t n = 0;
    for (const Port& p : d.produced()) {
        ++n;
        signalLine(out, {p.name, suffix, n, "_siga"}, "std_logic");
        signalLine(out, {p.name, suffix, n, "_sigb"}, "std_logic");
    }
    signalList(out, "cmp13_sig, cmp23_sig", "std_logic");
    signalList(out, "err1_sig, err2_sig, err3_sig, errfdec_sig", "std_logic");
    out << "\n";
    out << "begin" << NL << NL;
    mismatchBlock(out, d, suffix, "_siga", "1_in", "3_in", "   cmp13_sig");
    mismatchBlock(out, d, suffix, "_sigb", "2_in", "3_in", "   cmp23_sig");
    out << "  err3_sig <= cmp13_sig and cmp23_sig;" << NL;
    out << "  err1_sig <= cmp13_sig and not err3_sig;" << NL;
    out << "  err2_sig <= cmp23_sig and not err3_sig;" << NL;
    out << "  errfdec_sig <= err1_sig or err2_sig or err3_sig;" << NL;
    for (int k = 1; k <= 3; ++k) out << "   Err" << suffix << k << " <= err" << k << "_sig;" << NL;
    out << "   Err" << suffix << " <= errfdec_sig;" << NL;
    architectureEnd(out, iface.entity);
}

}  // namespace velmorn
