// The user's checker file: a template of it, and the check of an existing one
// against the interface that the generated modules instantiate (its entity
// name, generics and ports).
#pragma once

#include <string>
#include <vector>

#include "model/design.h"
#include "vhdl/writer.h"

namespace velmorn {

// One line per difference between the checker `checker` (as the analysis read
// it) and the entity the tree instantiates for the unit `unit`; none when it
// matches. Types are compared without blanks and case.
std::vector<std::string> checkerDifferences(const Design& unit, const Design& checker);

// Writes the template of the checker to `file`, never over an existing file.
bool writeCheckerTemplate(const Design& unit, const std::string& file, TreeWriter& writer);

}  // namespace velmorn
