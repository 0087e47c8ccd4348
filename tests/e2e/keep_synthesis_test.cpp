// --keep through real synthesis: every switch's --keep tree of a combinational
// adder and of a counter, converted by GHDL's synthesis and flattened by
// Yosys's synth -flatten after the tree's script, keeps every copy: at least
// the number of copies times the cells of the unit synthesised alone. Without
// the script the adder's TMR copies merge back into one adder, which is what
// the script is there to prevent.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <regex>

#include "arch/architectures.h"
#include "support/testing.h"

namespace {

using namespace vtest;

const fs::path kDesigns = fs::path(VELMORN_TESTS_DIR) / "designs";

// The copies of the unit in each architecture, as the README's table describes them.
const std::map<std::string, int> kCopies = {
    {"-tmr0", 3}, {"-tmr1", 3}, {"-tmr2", 3}, {"-dpl4", 3}, {"-dpl5", 3}, {"-dpl6", 3},
    {"-dpl0", 2}, {"-fuch", 1}, {"-tmr3", 3}, {"-dpl1", 2}, {"-dpl2", 2},
};

struct Synthesis {
    bool ok = false;
    int cells = -1;                    // of the whole design, every kept module counted per instance
    std::vector<std::string> modules;  // left after flattening
    std::string log;
};

// Yosys on a netlist of GHDL's: the script `keep` (when given), synth -flatten
// and the totals of stat. A selection of the script that matches no module
// fails the run.
Synthesis yosys(const fs::path& dir, const fs::path& verilog, const std::string& top, const fs::path& keep = {})
{
    const fs::path stat = dir / (verilog.stem().string() + (keep.empty() ? "_plain" : "_kept") + ".json");
    std::string commands = "read_verilog -sv " + verilog.string() + "; ";
    if (!keep.empty()) commands += "script " + keep.string() + "; ";
    commands += "synth -flatten -top " + top + "; tee -q -o " + stat.string() + " stat -json -top " + top;
    Synthesis s;
    const RunResult r = runCommand("yosys -q -e 'did not match' -p " + shellQuote(commands) + " > /dev/null", dir);
    s.log = r.output;
    s.ok = r.status == 0;
    if (!s.ok) return s;
    const std::string json = readFile(stat);
    const std::regex module("\n      \"\\\\\\\\([^\"]+)\": \\{");
    for (std::sregex_iterator m(json.begin(), json.end(), module), end; m != end; ++m) s.modules.push_back((*m)[1]);
    std::smatch total;
    const std::string design = json.substr(json.find("\"design\""));
    if (std::regex_search(design, total, std::regex("\"num_cells\": +([0-9]+)"))) s.cells = std::stoi(total[1]);
    return s;
}

// The modules of a Verilog netlist.
std::vector<std::string> verilogModules(const fs::path& verilog)
{
    const std::string text = readFile(verilog);
    const std::regex module("(^|\n)module ([^ (\n]+)");
    std::vector<std::string> names;
    for (std::sregex_iterator m(text.begin(), text.end(), module), end; m != end; ++m) names.push_back((*m)[2]);
    return names;
}

std::string upper(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The design's unit alone, synthesised the same way: its number of cells.
int unitCells(const TempDir& tmp, const std::string& name)
{
    const fs::path unit = tmp / "unit";
    fs::create_directories(unit);
    fs::copy_file(kDesigns / (name + ".vhd"), unit / (name + ".vhd"));
    const RunResult ghdl = ghdlSynthesise(unit, name, tmp / "unit.v");
    EXPECT_EQ(ghdl.status, 0) << ghdl.output;
    // The source declares its entity in lower case, and the top module keeps it.
    const Synthesis s = yosys(tmp.path(), tmp / "unit.v", name);
    EXPECT_TRUE(s.ok) << s.log;
    return s.cells;
}

// Every switch's --keep tree of the design: kept, it has at least copies x
// unit cells and every module of the netlist; with `showsMerge`, the TMR
// netlist without the script is about one unit, and a script with the
// entities' own case selects nothing.
void everySwitchKeepsTheCopies(const std::string& name, bool showsMerge)
{
    if (!ghdlAvailable() || !yosysAvailable()) GTEST_SKIP() << "ghdl or yosys is not installed";
    TempDir tmp;
    const int unit = unitCells(tmp, name);
    ASSERT_GT(unit, 0);
    const std::string top = upper(name);  // the tree's top level declares the entity in upper case

    for (const velmorn::Architecture& a : velmorn::architectures()) {
        const std::string flag(a.flag);
        SCOPED_TRACE(name + " " + flag);
        ASSERT_EQ(kCopies.count(flag), 1u) << "no number of copies for " << flag;
        const fs::path dir = tmp / flag.substr(1);
        fs::create_directories(dir);
        fs::copy_file(kDesigns / (name + ".vhd"), dir / (name + ".vhd"));
        fs::copy_file(kDesigns / (name + "_ch.vhd"), dir / (name + "_ch.vhd"));
        std::vector<std::string> args{"--keep", flag, name + ".vhd"};
        std::vector<fs::path> extra;
        if (a.takesChecker) {
            args.push_back(name + "_ch.vhd");
            extra.push_back(dir / (name + "_ch.vhd"));
        }
        const RunResult gen = runVelmorn(args, dir);
        ASSERT_EQ(gen.status, 0) << gen.output << gen.errors;

        const fs::path tree = dir / name, verilog = dir / "top.v", script = tree / (name + "_keep.ys");
        const RunResult ghdl = ghdlSynthesise(tree, name, verilog, extra);
        ASSERT_EQ(ghdl.status, 0) << ghdl.output;
        EXPECT_EQ(ghdl.output.find("not bound"), std::string::npos) << ghdl.output;
        // GHDL reads the attributes, and says that it leaves them to others.
        EXPECT_NE(ghdl.output.find("unhandled attribute \"keep_hierarchy\""), std::string::npos) << ghdl.output;

        const Synthesis kept = yosys(dir, verilog, top, script);
        ASSERT_TRUE(kept.ok) << kept.log << readFile(script);
        EXPECT_GE(kept.cells, kCopies.at(flag) * unit) << "unit alone: " << unit << " cells";
        for (const std::string& m : verilogModules(verilog)) {
            if (m == top) continue;
            const bool stays = std::find(kept.modules.begin(), kept.modules.end(), m) != kept.modules.end();
            EXPECT_TRUE(stays) << m << " was flattened away:\n" << readFile(script);
        }

        if (!showsMerge || flag != "-tmr0") continue;
        const Synthesis plain = yosys(dir, verilog, top);
        ASSERT_TRUE(plain.ok) << plain.log;
        EXPECT_LE(plain.cells, unit + unit / 4) << "the copies were expected to merge without the script";
        EXPECT_GE(kept.cells, 3 * plain.cells);
        // The netlist spells the modules in lower case: the entities' own case selects nothing.
        std::string text = readFile(script);
        const std::string setattr = "keep_hierarchy 1 ";
        const size_t names = text.find(setattr);
        ASSERT_NE(names, std::string::npos) << text;
        writeFile(dir / "entity_case.ys", text.substr(0, names + setattr.size()) + upper(text.substr(names + setattr.size())));
        const Synthesis wrongCase = yosys(dir, verilog, top, dir / "entity_case.ys");
        EXPECT_FALSE(wrongCase.ok);
        EXPECT_NE(wrongCase.log.find("did not match any module"), std::string::npos) << wrongCase.log;
    }
}

TEST(GhdlKeepSynthesis, AdderCopiesSurviveFlatteningAndMergeWithoutTheScript)
{
    everySwitchKeepsTheCopies("adder", true);
}

// The counter's copies are state loops that Yosys does not merge even without
// the script; the script must still keep every module.
TEST(GhdlKeepSynthesis, CounterCopiesSurviveFlattening) { everySwitchKeepsTheCopies("cnt", false); }

}  // namespace
