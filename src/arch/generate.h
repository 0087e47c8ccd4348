// Runs an architecture's plan on a design: the output directories, the
// console line, every file of the plan.
#pragma once

#include "arch/architectures.h"
#include "model/design.h"
#include "support/diagnostics.h"
#include "vhdl/options.h"
#include "vhdl/writer.h"

namespace velmorn {

struct GenerationResult {
    bool ok = false;      // every file was written
    std::string topFile;  // the path of the top-level file in the tree
    PlanRecord tree;      // what the plan wrote
};
// With options.keep, the plan's files carry the keep attributes and the
// Yosys script follows them.
// `costs`: what each file costs to write, by path, as the checks' dry run
// found; the writer starts the costliest first.
GenerationResult generate(const Design& d, const Architecture& architecture, FileWriter& writer, Diagnostics& diagnostics,
                          const GenerationOptions& options = {}, const FileCosts* costs = nullptr);

}  // namespace velmorn
