// libFuzzer target: the fast body scan against the scan character by
// character, the analysis of a port list in two parts against its reading in
// one, and the scanner, the analysis and every architecture's plan on one
// input, in memory; nothing touches the disk.
#include <cstddef>
#include <cstdint>
#include <string>

#include "read/body.h"
#include "support/analyse.h"
#include "support/render.h"

namespace {

void check(bool condition)
{
    if (!condition) __builtin_trap();
}

bool endsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The fast body scan finds what the scan character by character finds.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const velmorn::BodyScan fast = velmorn::scanBody(text, "RTL"), slow = velmorn::scanBodyByCharacter(text, "RTL");
    check(fast.lastEnd == slow.lastEnd && fast.unitAfterBody == slow.unitAfterBody &&
          fast.unterminatedString == slow.unterminatedString && fast.unterminatedComment == slow.unterminatedComment &&
          fast.namesArchitecture == slow.namesArchitecture && fast.usedUnits == slow.usedUnits);

    const std::string source(reinterpret_cast<const char*>(data), size);
    const vtest::Analysed a = vtest::analyseText(source, "fz.vhd", "fz");
    // A port list read in two parts at once reads as in one.
    check(vtest::reading(vtest::analyseText(source, "fz.vhd", "fz", {1})) == vtest::reading(a));
    if (!a.ok) {
        check(!a.console.empty());  // every refusal comes with a message
        return 0;
    }
    check(!a.d.entityName.empty());
    if (a.d.outputs.empty()) return 0;  // refused before any file is made

    for (const velmorn::Architecture& arch : velmorn::architectures()) {
        const vtest::PlanOutput run = vtest::runPlan(a.d, arch);
        check(run.ok && run.writer.files.size() >= 2);
        check(run.writer.order.size() == run.writer.files.size());  // no file written twice
        for (const auto& [path, text] : run.writer.files) {
            // Each file lies in the output tree and closes its architecture.
            check(path.rfind("fz/", 0) == 0 && endsWith(path, ".vhd"));
            check(endsWith(text, "_BEHAV;"));
        }
        // --keep adds the script and nothing else to the tree.
        const vtest::PlanOutput kept = vtest::runPlan(a.d, arch, {true});
        check(kept.ok && kept.writer.files.size() == run.writer.files.size() + 1);
        check(kept.writer.files.count("fz/fz_keep.ys") == 1);
    }
    return 0;
}
