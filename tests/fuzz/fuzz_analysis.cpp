// libFuzzer target: the scanner, the analysis and every generation plan on one
// input, in memory. The files of a plan go to a sink that only measures them;
// nothing touches the disk.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "lex/lex.h"
#include "parser/analysis.h"
#include "parser/plans.h"

namespace {

void check(bool condition)
{
    if (!condition) __builtin_trap();
}

bool endsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Collects what a streamed file hands over block by block.
struct Collect : velmorn::TextStream {
    std::string text;
    void begin(const std::string&) override { text.clear(); }
    void write(std::string_view block) override { text.append(block); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    velmorn::Scanner scanner;
    scanner.initFromText(std::string(reinterpret_cast<const char*>(data), size));
    scanner.inname = "fz";
    velmorn::Design d;
    std::ostringstream console;
    if (!velmorn::Analysis(scanner, d, console, "fz.vhd").parse()) return 0;
    // Every refusal comes with a message, so a design that passed is complete.
    check(!d.entity_name.empty());
    if (d.OutportList.empty()) return 0;  // refused before any file is made

    for (short arch = 0; arch <= 10; ++arch) {
        size_t files = 0, bytes = 0;
        std::vector<std::string> whole;
        const bool ok = velmorn::runPlan(
            d, arch,
            [&](const velmorn::VhdlText& t) {
                ++files;
                bytes += t.size();
                // Each file lies in the output tree and closes its architecture.
                check(t.path().rfind("fz/", 0) == 0 && endsWith(t.path(), ".vhd"));
                whole.push_back(t.str());
                check(endsWith(whole.back(), "_BEHAV;"));
                return true;
            },
            console);
        check(ok && files >= 2 && bytes > 0);

        // Streamed, the blocks and the rest make the same texts.
        Collect collect;
        velmorn::StreamScope streaming(collect);
        size_t k = 0;
        velmorn::runPlan(
            d, arch,
            [&](const velmorn::VhdlText& t) {
                check(k < whole.size() && collect.text + t.str() == whole[k++]);
                return true;
            },
            console);
        check(k == whole.size());
    }
    return 0;
}
