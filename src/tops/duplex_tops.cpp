// The duplex top levels: two copies and their comparator (DUPLEX-CMP), or
// two copies of which the first (or both) is paired with a checker, and the
// output multiplexer (DUPLEX+1CH, DUPLEX+2CH).
#include <string>

#include "modules/checked_mux.h"
#include "modules/checked_unit.h"
#include "modules/comparator.h"
#include "modules/unit_copy.h"
#include "tops/top_common.h"
#include "tops/tops.h"
#include "vhdl/blocks.h"

namespace velmorn {

Interface topEntity(const Design& d, const DuplexTopNames&)
{
    Interface top{d.entityName, {}};
    top.add(unitInputs(d, ""));
    PortGroup err = logicPort({"ERR"}, PortMode::Out, PortRole::ErrorFlag);
    err.port.wideIndent = true;
    top.add(err);
    top.add(unitOutputs(d, ""));
    return top;
}

void emitDuplexTop(const Design& d, const DuplexTopNames& names, const GenerationOptions& options, VhdlOut& out)
{
    topHead(out, d, topEntity(d, names), options);

    copyComponents(out, d, names.copy, 2);
    const Interface comparator = comparatorInterface(d, names.comparator);
    componentDeclaration(out, d, comparator);
    copySignals(out, d, names.copy, 2);
    Instances instances(out, d, options);
    copyInstances(instances, d, names.copy, 2);
    instances.add(comparator.entity + "1", comparator, [&](const InterfacePort& p) {
        return p.role == PortRole::CopyValue ? copySignal(*p.source, names.copy, p.index) : DerivedName{"ERR"};
    });
    instances.finish();
    for (const Port& p : d.produced()) out << "   " << p.name << " <= " << copySignal(p, names.copy, 1) << ";\n";
    out << NL;
    topEnd(out, d, options);
}

Interface topEntity(const Design& d, const CheckedDuplexTopNames&)
{
    return topInterface(d, {"Err_prm1", "Err_prm2", "Err_prm_m"});
}

void emitCheckedDuplexTop(const Design& d, const CheckedDuplexTopNames& names, const GenerationOptions& options, VhdlOut& out)
{
    topHead(out, d, topEntity(d, names), options);
    auto copyModule = [&](const std::string& suffix, int c) {
        return c <= names.checkers ? checkedUnitInterface(d, suffix) : unitCopyInterface(d, suffix);
    };
    for (int c = 1; c <= 2; ++c) componentDeclaration(out, d, copyModule(std::string(names.copy) + std::to_string(c), c));
    const Interface mux = checkedMuxInterface(d, names.multiplexer, names.checkers);
    componentDeclaration(out, d, mux);

    copySignals(out, d, names.copy, 2);
    for (int k = 1; k <= names.checkers; ++k) topSignalLine(out, {"err", "", static_cast<size_t>(k), "_sig"}, "std_logic");

    // Checker k's verdict goes through the signal err<k>_sig to the multiplexer.
    auto checkerSignal = [](int k) { return DerivedName{"err", "", static_cast<size_t>(k), "_sig"}; };
    Instances instances(out, d, options);
    for (int c = 1; c <= 2; ++c) {
        const std::string suffix = std::string(names.copy) + std::to_string(c);
        copyInstance(instances, d, copyModule(suffix, c), names.copy, c,
                     [&](const InterfacePort&) { return checkerSignal(c); });
    }
    instances.add(mux.entity + "1", mux, [&](const InterfacePort& p) {
        if (p.role == PortRole::CheckerErrorInput) return checkerSignal(p.index);
        return votingActual(p, names.copy, {"Err_prm1", "Err_prm2", "Err_prm_m"});
    });
    instances.finish();
    topEnd(out, d, options);
}

}  // namespace velmorn
