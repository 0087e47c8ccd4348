// What synthesis tools need to keep every copy and every redundancy module as
// written (--keep): VHDL attributes on the instance labels, for the tools that
// read VHDL, and a Yosys script for the flows that read the tree through
// GHDL's synthesis, which leaves such attributes out of its netlist.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/design.h"
#include "vhdl/out.h"

namespace velmorn {

// NL, the declarations of keep_hierarchy and DONT_TOUCH, and for each label
// "attribute keep_hierarchy of <label> : label is "yes";" and
// "attribute DONT_TOUCH of <label> : label is "true";".
void keepAttributes(VhdlOut& out, const std::vector<std::string>& labels);

// "port <NAME>" or "generic <NAME>": a port or generic of the unit that would
// clash with those declarations in a generated file that keeps the unit's
// names (it has an attribute's name, or hides the type string); empty when
// there is none.
std::string keepClash(const Design& d);

// The module names of GHDL's synthesis for a generated entity: lower case,
// and, since GHDL appends the generics' values to the name of a module with
// generics, followed by "_*" when the unit has generics.
std::string synthesisModuleName(const Design& d, std::string_view entity);

// The Yosys script `path` of an architecture: a comment saying how to run it,
// and one setattr marking the modules of `entities` keep_hierarchy.
void keepScript(VhdlOut& out, const Design& d, std::string_view path, std::string_view label,
                const std::vector<std::string>& entities);

}  // namespace velmorn
