// The analysis of the source: the library and use clauses, the entity's
// generics and ports, the architecture head and body.
#pragma once

#include "model/design.h"
#include "read/scanner.h"
#include "support/diagnostics.h"

namespace velmorn {

// Reads the source that `scanner` holds into `design` (all but its output
// name, which the caller gives). Writes the progress lines; false after a
// refusal, reported through `diagnostics`.
bool analyse(Scanner& scanner, Diagnostics& diagnostics, Design& design);

}  // namespace velmorn
