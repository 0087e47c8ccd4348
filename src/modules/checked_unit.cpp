#include "modules/checked_unit.h"

#include "modules/unit_copy.h"
#include "vhdl/blocks.h"

namespace velmorn {

namespace {

PortGroup checkerError(std::string_view suffix)
{
    PortGroup g = logicPort({"ERR", suffix}, PortMode::Out, PortRole::CheckerError);
    g.port.mapBase = "Err";
    g.port.wideIndent = true;
    return g;
}

}  // namespace

std::string checkedCopyLabel(const Design& d, std::string_view copy) { return d.entityName + std::string(copy) + "x"; }

Interface checkedUnitInterface(const Design& d, std::string_view module)
{
    Interface iface{moduleEntity(d, module), {}};
    iface.add(unitInputs(d, module));
    iface.add(checkerError(module));
    iface.add(unitOutputs(d, module));
    return iface;
}

Interface checkerInterface(const Design& d, std::string_view checker)
{
    Interface iface{moduleEntity(d, checker), {}};
    iface.add(unitInputs(d, ""));
    iface.add(unitOutputs(d, "", PortMode::In));
    PortGroup err = checkerError("");
    err.port.mapBase = {};
    iface.add(err);
    return iface;
}

void emitCheckedUnit(const Design& d, const CheckedUnitNames& names, const GenerationOptions& options, VhdlOut& out)
{
    Interface self = checkedUnitInterface(d, names.module);
    // Alone (FU+CH) the module is the top level: with --source-names it keeps
    // the source's spelling and architecture name.
    const bool sourceNames = options.sourceNames && names.module.empty();
    if (sourceNames) {
        self.entity = entityAsSpelled(d);
        self.sourceSpelling = true;
    }
    const Interface copy = unitCopyInterface(d, names.copy);
    const Interface checker = checkerInterface(d, names.checker);
    const std::string& T = d.entityName;

    entityDeclaration(out, d, self);
    if (sourceNames) out << "architecture " << architectureAsSpelled(d) << " of " << self.entity << " is" << NL;
    else architectureLine(out, T, self.entity);
    out << NL;
    componentDeclaration(out, d, copy);
    componentDeclaration(out, d, checker);
    for (const Port& p : d.outputs) topSignalLine(out, copyOutputSignal(p, names.copy), p.type, &p);

    // The copy and the checker read the module's inputs; the copy's outputs go
    // to signals that both the checker and the module's outputs read.
    auto copyOutput = [&](const Port& p) { return copyOutputSignal(p, names.copy); };
    Instances instances(out, d, options);
    instances.add(checkedCopyLabel(d, names.copy), copy, [&](const InterfacePort& p) {
        return p.source->mode == PortMode::Out ? copyOutput(*p.source) : DerivedName{p.source->name, names.module};
    });
    instances.add(checker.entity + "1", checker, [&](const InterfacePort& p) {
        if (p.role == PortRole::CheckerError) return DerivedName{"ERR", names.module};
        return p.source->mode == PortMode::Out ? copyOutput(*p.source) : DerivedName{p.source->name, names.module};
    });
    instances.finish();
    for (const Port& p : d.outputs) out << "   " << p.name << names.module << " <= " << copyOutput(p) << ";\n";
    out << NL;
    if (sourceNames) out << "end " << architectureAsSpelled(d) << ";";
    else architectureEnd(out, T);
}

}  // namespace velmorn
