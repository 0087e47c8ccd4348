// Fault injection: for every architecture, the generated tree is simulated
// against a fault-free instance of the original unit, first without a fault
// and then with one copy whose output is inverted (the way a bad module would
// be swapped in by partial reconfiguration). Every cycle after reset the
// testbench compares each top-level output with the golden output and each
// error flag with the value that the architecture's decision rules give.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "arch/architectures.h"
#include "support/testing.h"

namespace {

using vtest::fs::path;

const path kDesigns = path(VELMORN_TESTS_DIR) / "fault" / "designs";

// A port as the testbench declares its signal.
struct Port {
    std::string name;
    std::string type;
};

// A reference design: source, checker, interface, stimuli.
struct RefDesign {
    std::string key;         // name in messages and file base name
    std::string entity;      // entity name as the generator upper-cases it
    std::string genericMap;  // associations of the testbench instances, may be empty
    std::vector<Port> inputs;
    std::vector<Port> outputs;
    std::string clock;     // input driven by the testbench clock, or empty
    std::string reset;     // input held '1' during the initial reset, or empty
    std::string stimulus;  // sequential statements driving the inputs from cycle i
    int cycles;            // cycles checked after the reset
};

const std::vector<RefDesign>& designs()
{
    static const std::vector<RefDesign> list = {
        {"counter", "COUNTER", "WIDTH => 4",
         {{"CLK", "std_logic"}, {"RST", "std_logic"}, {"EN", "std_logic"}},
         {{"Q", "std_logic_vector(3 downto 0)"}, {"TC", "std_logic"}},
         "CLK", "RST",
         "         if i mod 7 = 3 then EN <= '0'; else EN <= '1'; end if;\n"
         "         if i = 33 then RST <= '1'; else RST <= '0'; end if;\n",
         40},
        {"alu", "ALU", "",
         {{"A", "std_logic_vector(3 downto 0)"},
          {"B", "std_logic_vector(3 downto 0)"},
          {"OP", "std_logic_vector(1 downto 0)"}},
         {{"Y", "std_logic_vector(3 downto 0)"}, {"F", "std_logic"}},
         "", "",
         "         A <= std_logic_vector(to_unsigned(i mod 16, 4));\n"
         "         B <= std_logic_vector(to_unsigned((5 * i + 3) mod 16, 4));\n"
         "         OP <= std_logic_vector(to_unsigned((i / 3) mod 4, 2));\n",
         48},
    };
    return list;
}

// One error flag of a top level and its expected value.
struct Flag {
    std::string name;
    bool value;
};

// An architecture: its switch, its top-level interface, where its copies are
// and what its decision rules make of one faulty copy (0: no fault).
struct ArchSpec {
    std::string name;
    std::string sw;
    bool checker = false;
    bool triplicated = false;         // every port three times, suffixed 1, 2, 3
    bool followsCopy1 = false;        // the outputs are copy 1's outputs, unmasked
    std::vector<std::string> copies;  // module suffix of each faultable copy
    bool doubleFault = false;         // also two faulty copies, which the majority follows
    std::function<std::vector<Flag>(int)> flags;  // the error flags for a faulty copy (0: none)
};

std::vector<Flag> unitFlags(int faulty, int count)
{
    std::vector<Flag> f;
    for (int c = 1; c <= count; ++c) f.push_back({"Err_prm" + std::to_string(c), faulty == c});
    return f;
}

// Three units and a voting or selecting module: the unit flags name the faulty
// unit; the module's own alarm as its rule gives.
std::function<std::vector<Flag>(int)> threeUnit(bool alarmOnFault)
{
    return [alarmOnFault](int k) {
        auto f = unitFlags(k, 3);
        f.push_back({"Err_prm_d", alarmOnFault && k != 0});
        return f;
    };
}

std::vector<Flag> errFlag(int k) { return {{"ERR", k != 0}}; }

// Two units, the multiplexer's own alarm stays quiet.
std::vector<Flag> duplexFlags(int k)
{
    auto f = unitFlags(k, 2);
    f.push_back({"Err_prm_m", false});
    return f;
}

const std::vector<std::string> kPrm3 = {"_prm1", "_prm2", "_prm3"};

const std::vector<ArchSpec>& archs()
{
    static const std::vector<ArchSpec> list = {
        // Majority of three; two faulty copies outvote the good one.
        {.name = "tmr0", .sw = "-tmr0", .copies = kPrm3, .doubleFault = true,
         .flags = [](int) { return std::vector<Flag>{}; }},
        // Three voters, each with its own output set; the decoder names the copy.
        {.name = "tmr1", .sw = "-tmr1", .triplicated = true, .copies = kPrm3,
         .flags =
             [](int k) {
                 auto f = unitFlags(k, 3);
                 for (int v = 1; v <= 3; ++v) f.push_back({"Err_v_prm" + std::to_string(v), false});
                 f.push_back({"Err_prm_d", k != 0});
                 return f;
             }},
        // Two voters and two decoding channels: both channels blame the unit.
        {.name = "tmr2", .sw = "-tmr2", .copies = kPrm3, .flags = threeUnit(true)},
        // Two selectors, alarm only when they disagree.
        {.name = "dpl4", .sw = "-dpl4", .copies = kPrm3, .flags = threeUnit(false)},
        // One selector, alarm when any unit is blamed.
        {.name = "dpl5", .sw = "-dpl5", .copies = kPrm3, .flags = threeUnit(true)},
        // Two selectors and two channels: both channels blame the unit.
        {.name = "dpl6", .sw = "-dpl6", .copies = kPrm3, .flags = threeUnit(true)},
        // The outputs are copy 1's; the comparator reports any difference.
        {.name = "dpl0", .sw = "-dpl0", .followsCopy1 = true, .copies = {"_fu1", "_fu2"}, .flags = errFlag},
        {.name = "fuch", .sw = "-fuch", .checker = true, .followsCopy1 = true, .copies = {"_fu"}, .flags = errFlag},
        {.name = "tmr3", .sw = "-tmr3", .checker = true, .copies = {"_fu1", "_fu2", "_fu3"},
         .flags =
             [](int k) {
                 auto f = unitFlags(k, 3);
                 f.push_back({"Err_prm_v", false});
                 return f;
             }},
        // Copy 1 is checked inside its FU+CH module; copy 2 is the plain unit.
        {.name = "dpl1", .sw = "-dpl1", .checker = true, .copies = {"_fu1", "_prm2"}, .flags = duplexFlags},
        {.name = "dpl2", .sw = "-dpl2", .checker = true, .copies = {"_fu1", "_fu2"}, .flags = duplexFlags},
    };
    return list;
}

// One simulation: no fault, or the copies `faulty` with output `port` inverted.
struct Scenario {
    std::vector<int> faulty;  // copy numbers, 1-based
    int port = 0;
    bool has(int copy) const { return std::find(faulty.begin(), faulty.end(), copy) != faulty.end(); }
    std::string label(const ArchSpec& a, const RefDesign& d) const
    {
        if (faulty.empty()) return "none";
        std::string l = faulty.size() == 1 ? "copy " : "copies ";
        for (size_t i = 0; i < faulty.size(); ++i)
            l += (i ? " and " : "") + std::to_string(faulty[i]) + " (" + a.copies[faulty[i] - 1] + ")";
        return l + " output " + d.outputs[port].name + " inverted";
    }
    // The output follows a faulty copy: copy 1 unmasked, or two copies outvote the third.
    bool inverted(const ArchSpec& a, int j) const
    {
        return j == port && ((a.followsCopy1 && has(1)) || faulty.size() >= 2);
    }
};

std::string vhdlString(const std::string& s) { return "\"" + s + "\""; }

// The testbench of one scenario: golden unit and top level side by side.
std::string testbench(const ArchSpec& a, const RefDesign& d, const Scenario& s)
{
    const auto flags = a.flags(s.faulty.empty() ? 0 : s.faulty.front());
    std::ostringstream t;
    t << "library ieee;\n"
         "use ieee.std_logic_1164.all;\n"
         "use ieee.numeric_std.all;\n"
         "library golden;\n\n"
         "entity fault_tb is\n"
         "end entity fault_tb;\n\n"
         "architecture sim of fault_tb is\n"
      << "   constant ARCH : string := " << vhdlString(a.sw) << ";\n"
      << "   constant DESIGN : string := " << vhdlString(d.key) << ";\n"
      << "   constant FAULT : string := " << vhdlString(s.label(a, d)) << ";\n"
      << "   signal tb_clk : std_logic := '0';\n"
         "   signal done : boolean := false;\n";
    for (const auto& p : d.inputs) t << "   signal " << p.name << " : " << p.type << ";\n";
    for (const auto& p : d.outputs) {
        t << "   signal gold_" << p.name << " : " << p.type << ";\n";
        if (a.triplicated)
            for (int c = 1; c <= 3; ++c) t << "   signal " << p.name << c << " : " << p.type << ";\n";
        else
            t << "   signal " << p.name << " : " << p.type << ";\n";
    }
    for (const auto& f : flags) t << "   signal " << f.name << " : std_logic;\n";
    t << "begin\n";

    const std::string gm = d.genericMap.empty() ? "" : " generic map(" + d.genericMap + ")";
    std::vector<std::string> gold, dut;
    for (const auto& p : d.inputs) gold.push_back(p.name + " => " + p.name);
    for (const auto& p : d.outputs) gold.push_back(p.name + " => gold_" + p.name);
    for (int c = 1; c <= (a.triplicated ? 3 : 1); ++c) {
        const std::string k = a.triplicated ? std::to_string(c) : "";
        for (const auto& p : d.inputs) dut.push_back(p.name + k + " => " + p.name);
        for (const auto& p : d.outputs) dut.push_back(p.name + k + " => " + p.name + k);
    }
    for (const auto& f : flags) dut.push_back(f.name + " => " + f.name);
    auto join = [](const std::vector<std::string>& v) {
        std::string r;
        for (size_t i = 0; i < v.size(); ++i) r += (i ? ",\n      " : "      ") + v[i];
        return r;
    };
    t << "   golden_unit : entity golden." << d.entity << gm << "\n   port map(\n" << join(gold) << "\n   );\n";
    t << "   top : entity work." << d.entity << gm << "\n   port map(\n" << join(dut) << "\n   );\n\n";
    t << "   clock : process\n"
         "   begin\n"
         "      while not done loop\n"
         "         tb_clk <= '0'; wait for 5 ns;\n"
         "         tb_clk <= '1'; wait for 5 ns;\n"
         "      end loop;\n"
         "      wait;\n"
         "   end process;\n";
    if (!d.clock.empty()) t << "   " << d.clock << " <= tb_clk;\n";
    // seen0_/seen1_: the bits of each golden output that have been '0' / '1'.
    auto isVector = [](const Port& p) { return p.type.rfind("std_logic_vector", 0) == 0; };
    t << "\n   check : process\n"
         "      variable cycle : integer;\n";
    for (const auto& p : d.outputs)
        t << "      variable seen0_" << p.name << ", seen1_" << p.name << " : " << p.type << " := "
          << (isVector(p) ? "(others => '0')" : "'0'") << ";\n";
    t << "   begin\n";
    if (!d.reset.empty()) t << "      " << d.reset << " <= '1';\n";
    t << "      wait until falling_edge(tb_clk);\n"
         "      wait until falling_edge(tb_clk);\n"
      << "      for i in 0 to " << d.cycles - 1 << " loop\n"
      << d.stimulus
      << "         wait until falling_edge(tb_clk);\n"
         "         cycle := i + 1;\n";
    for (size_t j = 0; j < d.outputs.size(); ++j) {
        const auto& p = d.outputs[j];
        const bool inverted = s.inverted(a, static_cast<int>(j));
        const std::string expected = inverted ? "(not gold_" + p.name + ")" : "gold_" + p.name;
        t << "         assert not is_x(gold_" << p.name << ") report \"golden output " << p.name
          << " undefined at cycle \" & integer'image(cycle) severity error;\n";
        t << "         seen0_" << p.name << " := seen0_" << p.name << " or not gold_" << p.name << ";\n"
          << "         seen1_" << p.name << " := seen1_" << p.name << " or gold_" << p.name << ";\n";
        for (int c = 1; c <= (a.triplicated ? 3 : 1); ++c) {
            const std::string sig = p.name + (a.triplicated ? std::to_string(c) : "");
            t << "         assert " << sig << " = " << expected << "\n"
              << "            report \"architecture \" & ARCH & \", design \" & DESIGN & \", fault \" & FAULT & \": "
              << "signal " << sig << " wrong at cycle \" & integer'image(cycle) & \": expected \" & to_string("
              << expected << ") & \"" << (inverted ? " (inverted golden)" : " (golden)") << ", got \" & to_string("
              << sig << ")\n            severity error;\n";
        }
    }
    for (const auto& f : flags) {
        const std::string v = f.value ? "'1'" : "'0'";
        t << "         assert " << f.name << " = " << v << "\n"
          << "            report \"architecture \" & ARCH & \", design \" & DESIGN & \", fault \" & FAULT & \": "
          << "signal " << f.name << " wrong at cycle \" & integer'image(cycle) & \": expected " << v
          << ", got \" & std_logic'image(" << f.name << ")\n            severity error;\n";
    }
    t << "      end loop;\n";
    for (const auto& p : d.outputs) {
        const std::string ones = isVector(p) ? "(seen0_" + p.name + "'range => '1')" : "'1'";
        t << "      assert seen0_" << p.name << " = " << ones << " and seen1_" << p.name << " = " << ones
          << " report \"design \" & DESIGN & \": the stimuli leave bits of output " << p.name
          << " constant\" severity error;\n";
    }
    t << "      report \"fault_tb: " << d.cycles << " cycles match\";\n"
      << "      done <= true;\n"
         "      wait;\n"
         "   end process;\n"
         "end architecture sim;\n";
    return t.str();
}

std::string ghdl(const std::string& command, const std::string& work)
{
    std::string c = "ghdl ";
    c += command;
    c += " --std=08 -fsynopsys -Wno-library --workdir=";
    c += work;
    c += " -P";
    c += work;
    return c;
}

// The first line of a GHDL log that reports a failed assertion, else the log.
std::string firstError(const std::string& log)
{
    std::istringstream in(log);
    std::string line;
    while (std::getline(in, line))
        if (line.find("(assertion error)") != std::string::npos || line.find("error:") != std::string::npos)
            return line;
    return log;
}

// The generated file of copy `suffix` with one output connection inverted.
bool injectFault(const path& tree, const std::string& inname, const std::string& suffix, const std::string& port,
                 const path& target, std::string& why)
{
    const path file = tree / "modules" / (inname + suffix + ".vhd");
    std::string text = vtest::readFile(file);
    const std::string line = "   " + port + suffix + " <= " + port + ";\n";
    const auto at = text.find(line);
    if (at == std::string::npos || text.find(line, at + 1) != std::string::npos) {
        why = "no single connection line '" + line.substr(0, line.size() - 1) + "' in " + file.string();
        return false;
    }
    text.replace(at, line.size(), "   " + port + suffix + " <= not " + port + ";\n");
    vtest::writeFile(target, text);
    return true;
}

std::vector<Scenario> scenarios(const ArchSpec& a, const RefDesign& d)
{
    std::vector<Scenario> list = {{}};
    for (int c = 1; c <= static_cast<int>(a.copies.size()); ++c)
        for (int p = 0; p < static_cast<int>(d.outputs.size()); ++p) list.push_back({{c}, p});
    if (a.doubleFault)
        for (int p = 0; p < static_cast<int>(d.outputs.size()); ++p) list.push_back({{1, 2}, p});
    return list;
}

// Names the architecture in gtest's messages instead of dumping its bytes.
void PrintTo(const ArchSpec& a, std::ostream* os) { *os << a.sw; }

class GhdlFault : public ::testing::TestWithParam<ArchSpec> {};

TEST_P(GhdlFault, MasksOrReportsOneFaultyCopy)
{
    if (!vtest::ghdlAvailable()) GTEST_SKIP() << "GHDL is not installed";
    const ArchSpec& a = GetParam();
    for (const RefDesign& d : designs()) {
        SCOPED_TRACE("architecture " + a.sw + ", design " + d.key);
        vtest::TempDir dir;
        const std::string src = d.key + ".vhd", chk = d.key + "_ch.vhd";
        vtest::writeFile(dir / src, vtest::readFile(kDesigns / src));
        vtest::writeFile(dir / chk, vtest::readFile(kDesigns / chk));
        std::vector<std::string> args = {a.sw, src};
        if (a.checker) args.push_back(chk);
        const auto gen = vtest::runVelmorn(args, dir.path());
        ASSERT_EQ(gen.status, 0) << "architecture " << a.sw << ", design " << d.key << ": generation failed\n"
                                 << gen.output;

        // The golden unit in a library of its own, the fault-free tree and the
        // checker in work: analysed once, copied for every scenario.
        vtest::fs::create_directories(dir / "base");
        std::string analyse = ghdl("-i", "base") + " --work=golden " + src + " && " + ghdl("-i", "base");
        for (const auto& f : vtest::listFiles(dir / d.key)) analyse.append(" ").append(vtest::shellQuote(d.key + "/" + f));
        if (a.checker) analyse += " " + chk;
        const auto base = vtest::runCommand(analyse, dir.path());
        ASSERT_EQ(base.status, 0) << "architecture " << a.sw << ", design " << d.key << ": analysis failed\n"
                                  << base.output;

        const auto list = scenarios(a, d);
        for (size_t n = 0; n < list.size(); ++n) {
            const Scenario& s = list[n];
            const std::string what = "architecture " + a.sw + ", design " + d.key + ", fault " + s.label(a, d);
            const std::string sdir = std::string("s").append(std::to_string(n)), work = sdir + "/work";
            vtest::fs::create_directories(dir / sdir);
            vtest::fs::copy(dir / "base", dir / work, vtest::fs::copy_options::recursive);
            std::string cmd = ghdl("-i", work);
            bool injected = true;
            for (int c : s.faulty) {
                std::string why;
                const std::string suffix = a.copies[c - 1];
                const std::string file = sdir + "/" + d.key + suffix + ".vhd";
                if (!injectFault(dir / d.key, d.key, suffix, d.outputs[s.port].name, dir / file, why)) {
                    ADD_FAILURE() << what << ": " << why;
                    injected = false;
                }
                cmd += " " + file;
            }
            if (!injected) continue;
            vtest::writeFile(dir / sdir / "fault_tb.vhd", testbench(a, d, s));
            cmd += " " + sdir + "/fault_tb.vhd && " + ghdl("-m", work) + " fault_tb && " + ghdl("-r", work) +
                   " fault_tb --assert-level=error --ieee-asserts=disable-at-0 --stop-time=10us";
            const auto run = vtest::runCommand(cmd, dir.path());
            const std::string done = "fault_tb: " + std::to_string(d.cycles) + " cycles match";
            if (run.status != 0 || run.output.find(done) == std::string::npos) {
                ADD_FAILURE() << what << ": " << firstError(run.output) << "\n--- GHDL log ---\n" << run.output;
                // Without a sound fault-free run the fault runs tell nothing more.
                if (s.faulty.empty()) break;
            }
        }
    }
}

// Every architecture of the table has its promised outcomes here.
TEST(ArchitectureTable, EveryArchitectureHasFaultOutcomes)
{
    std::vector<std::string> table, covered;
    for (const auto& a : velmorn::architectures()) table.emplace_back(a.flag);
    for (const auto& a : archs()) covered.emplace_back(a.sw);
    std::sort(table.begin(), table.end());
    std::sort(covered.begin(), covered.end());
    EXPECT_EQ(table, covered);
}

INSTANTIATE_TEST_SUITE_P(Architectures, GhdlFault, ::testing::ValuesIn(archs()),
                         [](const ::testing::TestParamInfo<ArchSpec>& info) { return info.param.name; });

}  // namespace
