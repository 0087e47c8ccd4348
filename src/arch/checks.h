// The checks of a design before any directory is made: something to generate,
// ports the copies can carry, and no name that the chosen architecture
// declares taken twice.
#pragma once

#include "arch/architectures.h"
#include "model/design.h"
#include "support/diagnostics.h"
#include "vhdl/writer.h"

namespace velmorn {

// True when the design may be generated with `architecture`; otherwise the
// refusal has been reported. `costs`, when given, gets what each file of the
// tree costs to write, as the dry run of the name check found.
bool checkDesign(const Design& d, const Architecture& architecture, Diagnostics& diagnostics, FileCosts* costs = nullptr);

}  // namespace velmorn
