#include "arch/generate.h"

namespace velmorn {

namespace {

// Two threads pay where the files are long: starting the second one costs
// about as much as writing a unit of a thousand ports.
bool worthTwoThreads(const Design& d)
{
    constexpr size_t kManyNames = 1500, kLongBody = size_t{4} << 20;
    return entityNameCount(d) >= kManyNames || d.body.size() >= kLongBody;
}

}  // namespace

GenerationResult generate(const Design& d, const Architecture& architecture, FileWriter& writer, Diagnostics& diagnostics,
                          const GenerationOptions& options, const FileCosts* costs)
{
    if (!writer.makeDirectory(d.outputName) || !writer.makeDirectory(names::moduleDirectory(d))) return {};
    diagnostics.progress(architecture.consoleLine);
    Plan plan(d, architecture.label, options);
    architecture.plan(plan);
    if (options.keep) plan.keepScript();
    if (costs) plan.weigh(*costs);
    const bool written = writer.writeAll(plan.files(), worthTwoThreads(d));
    diagnostics.progress(" Done\n");
    return {written, plan.topFile(), plan.record()};
}

}  // namespace velmorn
