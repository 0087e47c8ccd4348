#include "arch/generate.h"

namespace velmorn {

GenerationResult generate(const Design& d, const Architecture& architecture, FileWriter& writer, Diagnostics& diagnostics)
{
    if (!writer.makeDirectory(d.outputName) || !writer.makeDirectory(names::moduleDirectory(d))) return {};
    diagnostics.progress(architecture.consoleLine);
    Plan plan(d, architecture.label, writer);
    architecture.plan(plan);
    diagnostics.progress(" Done\n");
    return {plan.ok(), plan.topFile(), plan.record()};
}

}  // namespace velmorn
