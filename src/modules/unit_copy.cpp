#include "modules/unit_copy.h"

#include "vhdl/blocks.h"
#include "vhdl/declarations.h"

namespace velmorn {

Interface unitCopyInterface(const Design& d, std::string_view suffix)
{
    Interface iface{moduleEntity(d, suffix), {}};
    iface.add(unitInputs(d, suffix));
    iface.add(unitOutputs(d, suffix));
    return iface;
}

void emitUnitCopy(const Design& d, std::string_view suffix, VhdlOut& out)
{
    const Interface iface = unitCopyInterface(d, suffix);
    entityDeclaration(out, d, iface, ModeCase::Lower);
    if (d.architectureName.empty()) architectureLine(out, iface.entity);
    else out << "architecture " << d.architectureName << " of " << iface.entity << " is" << NL;
    out << NL;
    out << d.entityDeclarations;
    for (const auto* list : {&d.inputs, &d.outputs, &d.inouts})
        for (const Port& p : *list) {
            // The body runs on signals that carry the unit's own port names.
            out.declare(DeclarationKind::Signal, {p.name}, PortRole::UnitPort, &p, true);
            out.put("   ", "signal ", p.name, " :", p.type, ";\n");
        }
    out.passThrough(d.body.kept.text);
    out.blanks(d.body.blanks);
    for (const Port& p : d.inputs) out.put("   ", p.name, " <= ", p.name, suffix, ";\n");
    for (const auto* list : {&d.outputs, &d.inouts})
        for (const Port& p : *list) out.put("   ", p.name, suffix, " <= ", p.name, ";\n");
    out << NL;
    if (d.architectureName.empty()) architectureEnd(out, iface.entity);
    else out << "end " << d.architectureName << ";";
}

}  // namespace velmorn
