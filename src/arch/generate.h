// Runs an architecture's plan on a design: the output directories, the
// console line, every file of the plan.
#pragma once

#include "arch/architectures.h"
#include "model/design.h"
#include "support/diagnostics.h"
#include "vhdl/writer.h"

namespace velmorn {

// True when every file was written.
bool generate(const Design& d, const Architecture& architecture, FileWriter& writer, Diagnostics& diagnostics);

}  // namespace velmorn
