#include "arch/generate.h"

namespace velmorn {

GenerationResult generate(const Design& d, const Architecture& architecture, FileWriter& writer, Diagnostics& diagnostics,
                          const GenerationOptions& options)
{
    if (!writer.makeDirectory(d.outputName) || !writer.makeDirectory(names::moduleDirectory(d))) return {};
    diagnostics.progress(architecture.consoleLine);
    Plan plan(d, architecture.label, options);
    architecture.plan(plan);
    if (options.keep) plan.keepScript();
    const bool written = writer.writeAll(plan.files());
    diagnostics.progress(" Done\n");
    return {written, plan.topFile(), plan.record()};
}

}  // namespace velmorn
