#include "modules/checker_template.h"

#include "modules/checked_unit.h"
#include "vhdl/blocks.h"

namespace velmorn {

void emitCheckerTemplate(const Design& d, std::string_view checker, VhdlOut& out)
{
    const Interface iface = checkerInterface(d, checker);
    out << "-- Checker of " << d.entityName << ", written by velmorn --checker-template. It sees the unit's\n"
        << "-- inputs and its outputs (as inputs of its own) and drives ERR.\n";
    out << d.contextClause;
    if (!seesStdLogic(d)) out << "library ieee;\nuse ieee.std_logic_1164.all;\n";
    out << NL << NL;
    entityDeclaration(out, d, iface, ModeCase::Lower);
    out << "architecture template of " << iface.entity << " is\n"
        << "begin\n"
        << "   -- A checker computes from the unit's inputs whether its outputs can be\n"
        << "   -- right (a parity, a range, a recomputation of the result) and sets ERR\n"
        << "   -- to '1' when they are not. This one reports no error.\n"
        << "   ERR <= '0';\n"
        << "end architecture template;\n";
}

}  // namespace velmorn
