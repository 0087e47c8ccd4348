// Fault injection: for every architecture, the generated tree is simulated
// against a fault-free instance of the original unit, first without a fault
// and then with one copy whose output connection (of an OUT port, or the
// drive of an INOUT port) is corrupted, the way a bad module would be swapped
// in by partial reconfiguration: bit types inverted, other types (integers,
// enumerations, records, arrays from a package) replaced by another value of
// their type. Every cycle after reset the testbench compares each top-level
// output and INOUT port with the golden one (or its corrupted value where the
// architecture passes the fault on) and each error flag with the value that
// the architecture's decision rules give.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "arch/architectures.h"
#include "support/testing.h"

namespace {

using vtest::fs::path;

const path kDesigns = path(VELMORN_TESTS_DIR) / "fault" / "designs";

// An input of the unit as the testbench declares its signal.
struct Input {
    std::string name;
    std::string type;
};

// An output of the unit as the testbench declares its signal, and what a fault
// makes of it. In `corruption` and `image`, '@' stands for the port's value.
struct Port {
    std::string name;
    std::string type;
    std::string corruption;  // the value a faulty copy puts out instead of @
    std::string image;       // a VHDL string expression showing the value @
    bool bits = false;       // a bit type: never 'X', every bit seen '0' and '1'; else two values seen
    bool inout = false;      // an INOUT port: the corruption is the copy's drive
};

// An OUT port of a bit type (std_logic or std_logic_vector); a fault inverts it.
Port bitOutput(std::string name, std::string type)
{
    return {std::move(name), std::move(type), "not @", "to_string(@)", true, false};
}

// An OUT port of any other type and a corruption that differs from every value.
Port valueOutput(std::string name, std::string type, std::string corruption, std::string image = "to_string(@)")
{
    return {std::move(name), std::move(type), std::move(corruption), std::move(image), false, false};
}

// An INOUT port; the testbench connects it to a signal that only the unit drives.
Port busPort(std::string name, std::string type, std::string corruption)
{
    return {std::move(name), std::move(type), std::move(corruption), "to_string(@)", false, true};
}

std::string withValue(std::string text, const std::string& value)
{
    for (size_t at; (at = text.find('@')) != std::string::npos;) text.replace(at, 1, value);
    return text;
}

// The library that the designs' packages are analysed into and the designs name.
const std::string kPackageLibrary = "common";

// A reference design: source, checker, interface, stimuli.
struct RefDesign {
    std::string key;         // name in messages and file base name
    std::string entity;      // entity name as the generator upper-cases it
    std::string genericMap;  // associations of the testbench instances, may be empty
    std::vector<std::string> packages;  // packages of kPackageLibrary it uses, in common/<name>.vhd
    std::vector<Input> inputs;
    std::vector<Port> outputs;  // OUT and INOUT ports, each faulted in turn
    std::string clock;     // input driven by the testbench clock, or empty
    std::string reset;     // input held '1' during the initial reset, or empty
    std::string stimulus;  // sequential statements driving the inputs from cycle i
    int cycles;            // cycles checked after the reset
};

const std::string kByte = "std_logic_vector(7 downto 0)";

const std::vector<RefDesign>& designs()
{
    static const std::vector<RefDesign> list = {
        {"counter", "COUNTER", "WIDTH => 4", {},
         {{"CLK", "std_logic"}, {"RST", "std_logic"}, {"EN", "std_logic"}},
         {bitOutput("Q", "std_logic_vector(3 downto 0)"), bitOutput("TC", "std_logic")},
         "CLK", "RST",
         "         if i mod 7 = 3 then EN <= '0'; else EN <= '1'; end if;\n"
         "         if i = 33 then RST <= '1'; else RST <= '0'; end if;\n",
         40},
        {"alu", "ALU", "", {},
         {{"A", "std_logic_vector(3 downto 0)"},
          {"B", "std_logic_vector(3 downto 0)"},
          {"OP", "std_logic_vector(1 downto 0)"}},
         {bitOutput("Y", "std_logic_vector(3 downto 0)"), bitOutput("F", "std_logic")},
         "", "",
         "         A <= std_logic_vector(to_unsigned(i mod 16, 4));\n"
         "         B <= std_logic_vector(to_unsigned((5 * i + 3) mod 16, 4));\n"
         "         OP <= std_logic_vector(to_unsigned((i / 3) mod 4, 2));\n",
         48},
        // Outputs without bitwise operators, voted by equality; each corruption
        // differs from the value it replaces.
        {"sequencer", "SEQUENCER", "", {"fault_types"},
         {{"CLK", "std_logic"}, {"RST", "std_logic"}, {"GO", "std_logic"}, {"DIN", kByte}},
         {valueOutput("COUNT", "integer range 0 to 15", "(@ + 5) mod 16"),
          valueOutput("TOTAL", "natural", "@ + 1"),
          valueOutput("STATE", "state_t", "state_t'val((state_t'pos(@) + 1) mod 3)"),
          valueOutput("PAIR", "pair_t", "pair_t'(a => not @.a, b => (@.b + 1) mod 8)",
                      "\"(\" & to_string(@.a) & \", \" & to_string(@.b) & \")\""),
          valueOutput("BYTES", "bytes_t", "bytes_t'(not @(0), @(1), @(2), @(3))",
                      "to_string(@(0)) & \" \" & to_string(@(1)) & \" \" & to_string(@(2)) & \" \" & "
                      "to_string(@(3))")},
         "CLK", "RST",
         "         if i mod 14 = 1 then GO <= '1'; else GO <= '0'; end if;\n"
         "         DIN <= std_logic_vector(to_unsigned((37 * i + 11) mod 256, 8));\n"
         "         if i = 44 then RST <= '1'; else RST <= '0'; end if;\n",
         50},
        // A bus driver: the faulty copy inverts its drive and never releases the
        // bus (a released bus, inverted, is 'X', which to_01 makes '0').
        {"busreg", "BUSREG", "", {},
         {{"CLK", "std_logic"}, {"LD", "std_logic"}, {"OE", "std_logic"}, {"DIN", kByte}},
         {busPort("DATA", kByte, "to_01(not @)"), bitOutput("Q", kByte)},
         "CLK", "",
         "         if i mod 3 = 0 then LD <= '1'; else LD <= '0'; end if;\n"
         "         if i mod 4 < 2 then OE <= '1'; else OE <= '0'; end if;\n"
         "         DIN <= std_logic_vector(to_unsigned((29 * i + 7) mod 256, 8));\n",
         36},
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

// One simulation: no fault, or the copies `faulty` with port `port` corrupted.
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
        const Port& p = d.outputs[port];
        return l + (p.inout ? " INOUT drive " : " output ") + p.name + " corrupted";
    }
    // The port follows a faulty copy: copy 1 unmasked, or two copies outvote the third.
    bool corrupted(const ArchSpec& a, int j) const
    {
        return j == port && ((a.followsCopy1 && has(1)) || faulty.size() >= 2);
    }
};

std::string vhdlString(const std::string& s) { return "\"" + s + "\""; }

bool isVector(const Port& p) { return p.type.rfind("std_logic_vector", 0) == 0; }

// The value of INOUT port `p` (named `value`) released: all 'Z'.
std::string released(const Port& p, const std::string& value)
{
    return isVector(p) ? "(" + value + "'range => 'Z')" : "'Z'";
}

// The testbench of one scenario: golden unit and top level side by side. Each
// OUT and INOUT port of either is connected to a signal of its own, which
// nothing else drives.
std::string testbench(const ArchSpec& a, const RefDesign& d, const Scenario& s)
{
    const auto flags = a.flags(s.faulty.empty() ? 0 : s.faulty.front());
    std::ostringstream t;
    t << "library ieee;\n"
         "use ieee.std_logic_1164.all;\n"
         "use ieee.numeric_std.all;\n"
         "library golden;\n";
    if (!d.packages.empty()) t << "library " << kPackageLibrary << ";\n";
    for (const auto& p : d.packages) t << "use " << kPackageLibrary << "." << p << ".all;\n";
    t << "\n"
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
    // Coverage of the stimuli: seen0_/seen1_ hold the bits of a bit-typed
    // golden output that have been '0' / '1'; first_/varied_ the first value of
    // any other port and whether it has taken another one since; released_
    // whether an INOUT port has been released. expected_ holds this cycle's
    // expected value of a port.
    t << "\n   check : process\n"
         "      variable cycle : integer;\n";
    for (const auto& p : d.outputs) {
        if (p.bits)
            t << "      variable seen0_" << p.name << ", seen1_" << p.name << " : " << p.type << " := "
              << (isVector(p) ? "(others => '0')" : "'0'") << ";\n";
        else
            t << "      variable first_" << p.name << " : " << p.type << ";\n"
              << "      variable varied_" << p.name << " : boolean := false;\n";
        if (p.inout) t << "      variable released_" << p.name << " : boolean := false;\n";
        t << "      variable expected_" << p.name << " : " << p.type << ";\n";
    }
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
        const std::string g = "gold_" + p.name;
        const bool corrupted = s.corrupted(a, static_cast<int>(j));
        const std::string expected = "expected_" + p.name;
        t << "         " << expected << " := " << (corrupted ? withValue(p.corruption, g) : g) << ";\n";
        if (p.bits) {
            t << "         assert not is_x(" << g << ") report \"golden output " << p.name
              << " undefined at cycle \" & integer'image(cycle) severity error;\n";
            t << "         seen0_" << p.name << " := seen0_" << p.name << " or not " << g << ";\n"
              << "         seen1_" << p.name << " := seen1_" << p.name << " or " << g << ";\n";
        } else {
            t << "         if i = 0 then first_" << p.name << " := " << g << "; elsif " << g << " /= first_"
              << p.name << " then varied_" << p.name << " := true; end if;\n";
        }
        if (p.inout)
            t << "         if " << g << " = " << released(p, g) << " then released_" << p.name
              << " := true; end if;\n";
        for (int c = 1; c <= (a.triplicated ? 3 : 1); ++c) {
            const std::string sig = p.name + (a.triplicated ? std::to_string(c) : "");
            t << "         assert " << sig << " = " << expected << "\n"
              << "            report \"architecture \" & ARCH & \", design \" & DESIGN & \", fault \" & FAULT & \": "
              << "signal " << sig << " wrong at cycle \" & integer'image(cycle) & \": expected \" & "
              << withValue(p.image, expected) << " & \"" << (corrupted ? " (corrupted golden)" : " (golden)")
              << ", got \" & " << withValue(p.image, sig) << "\n            severity error;\n";
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
        if (p.bits) {
            const std::string ones = isVector(p) ? "(seen0_" + p.name + "'range => '1')" : "'1'";
            t << "      assert seen0_" << p.name << " = " << ones << " and seen1_" << p.name << " = " << ones
              << " report \"design \" & DESIGN & \": the stimuli leave bits of output " << p.name
              << " constant\" severity error;\n";
        } else {
            t << "      assert varied_" << p.name << " report \"design \" & DESIGN & \": the stimuli leave port "
              << p.name << " constant\" severity error;\n";
        }
        if (p.inout)
            t << "      assert released_" << p.name << " report \"design \" & DESIGN & \": the stimuli never release "
              << "INOUT port " << p.name << "\" severity error;\n";
    }
    t << "      report \"fault_tb: " << d.cycles << " cycles match\";\n"
      << "      done <= true;\n"
         "      wait;\n"
         "   end process;\n"
         "end architecture sim;\n";
    return t.str();
}

// The directory of the analysed libraries (the packages' and golden), below
// the bench's directory.
const std::string kLibraries = "libs";

std::string ghdl(const std::string& command)
{
    return "ghdl " + command + " --std=08 -fsynopsys -Wno-library --workdir=" + kLibraries + " -P" + kLibraries;
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

// The text of copy `suffix`'s module with the connection of port `p` (an OUT
// port or an INOUT drive) corrupted.
bool injectFault(const std::string& text, const std::string& suffix, const Port& p, std::string& faulty,
                 std::string& why)
{
    const std::string line = "   " + p.name + suffix + " <= " + p.name + ";\n";
    const auto at = text.find(line);
    if (at == std::string::npos || text.find(line, at + 1) != std::string::npos) {
        why = "no single connection line '" + line.substr(0, line.size() - 1) + "'";
        return false;
    }
    faulty = text;
    faulty.replace(at, line.size(), "   " + p.name + suffix + " <= " + withValue(p.corruption, p.name) + ";\n");
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

// One design's tree under one architecture, generated in a temporary
// directory, with the packages and the golden unit analysed once into
// libraries of their own. Each simulation analyses the tree (with its faulty
// copies), the checker and the testbench in memory and runs it (ghdl -c,
// which leaves the libraries as they are), one GHDL process per scenario.
class FaultBench {
public:
    FaultBench(const ArchSpec& a, const RefDesign& d) : a_(a), d_(d) {}

    // Empty when the tree is ready, else why not.
    std::string prepare()
    {
        const std::string src = d_.key + ".vhd", chk = d_.key + "_ch.vhd";
        vtest::writeFile(dir_ / src, vtest::readFile(kDesigns / src));
        vtest::writeFile(dir_ / chk, vtest::readFile(kDesigns / chk));
        std::vector<std::string> args = {a_.sw, src};
        if (a_.checker) args.push_back(chk);
        const auto gen = vtest::runVelmorn(args, dir_.path());
        if (gen.status != 0) return "generation failed\n" + gen.output + gen.errors;

        vtest::fs::create_directories(dir_ / kLibraries);
        std::string analyse;
        for (const auto& p : d_.packages) {
            const path file = kDesigns / kPackageLibrary / (p + ".vhd");
            analyse += ghdl("-a") + " --work=" + kPackageLibrary + " " + vtest::shellQuote(file.string()) + " && ";
        }
        analyse += ghdl("-a") + " --work=golden " + src;
        const auto base = vtest::runCommand(analyse, dir_.path());
        if (base.status != 0) return "analysis of the golden unit failed\n" + base.output;
        return "";
    }

    // The generated module file `name` (as under modules/, without .vhd).
    std::string module(const std::string& name) const
    {
        return vtest::readFile(dir_ / d_.key / "modules" / (name + ".vhd"));
    }

    // Simulates scenario `s`, with `replaced` modules (name -> text) instead of
    // the generated ones. Empty when every cycle matched, else the failure.
    std::string simulate(const Scenario& s, std::map<std::string, std::string> replaced = {})
    {
        for (int c : s.faulty) {
            const std::string name = d_.key + a_.copies[c - 1];
            std::string why;
            if (!injectFault(module(name), a_.copies[c - 1], d_.outputs[s.port], replaced[name], why))
                return why + " in " + name + ".vhd";
        }
        const std::string sdir = "s" + std::to_string(runs_++);
        std::string cmd = ghdl("-c");
        for (const auto& f : vtest::listFiles(dir_ / d_.key)) {
            const std::string name = path(f).stem().string();
            const auto r = replaced.find(name);
            std::string file = d_.key + "/" + f;
            if (r != replaced.end()) {
                file = sdir + "/" + name + ".vhd";
                vtest::writeFile(dir_ / file, r->second);
            }
            cmd += " " + vtest::shellQuote(file);
        }
        if (a_.checker) cmd += " " + d_.key + "_ch.vhd";
        vtest::writeFile(dir_ / sdir / "fault_tb.vhd", testbench(a_, d_, s));
        cmd += " " + sdir + "/fault_tb.vhd -r fault_tb --assert-level=error --ieee-asserts=disable-at-0 --stop-time=10us";
        const auto run = vtest::runCommand(cmd, dir_.path());
        const std::string done = "fault_tb: " + std::to_string(d_.cycles) + " cycles match";
        if (run.status == 0 && run.output.find(done) != std::string::npos) return "";
        return firstError(run.output) + "\n--- GHDL log ---\n" + run.output;
    }

private:
    const ArchSpec& a_;
    const RefDesign& d_;
    vtest::TempDir dir_;
    int runs_ = 0;
};

const RefDesign& design(const std::string& key)
{
    for (const auto& d : designs())
        if (d.key == key) return d;
    throw std::invalid_argument("no reference design " + key);
}

const ArchSpec& arch(const std::string& name)
{
    for (const auto& a : archs())
        if (a.name == name) return a;
    throw std::invalid_argument("no architecture " + name);
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
        FaultBench bench(a, d);
        const std::string why = bench.prepare();
        ASSERT_EQ(why, "") << "architecture " << a.sw << ", design " << d.key;
        for (const Scenario& s : scenarios(a, d)) {
            const std::string failure = bench.simulate(s);
            if (failure.empty()) continue;
            ADD_FAILURE() << "architecture " << a.sw << ", design " << d.key << ", fault " << s.label(a, d) << ": "
                          << failure;
            // Without a sound fault-free run the fault runs tell nothing more.
            if (s.faulty.empty()) break;
        }
    }
}

// The text with its one occurrence of `from` replaced by `to`; fails the test
// when `from` is not there exactly once.
std::string replaceOnce(std::string text, const std::string& from, const std::string& to)
{
    const auto at = text.find(from);
    EXPECT_TRUE(at != std::string::npos && text.find(from, at + 1) == std::string::npos)
        << "not exactly one '" << from << "' in the generated text";
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// The first line of a simulation failure is the testbench's assertion that
// `signal` was wrong (not an analysis error that quotes the assertion's text).
bool failsOn(const std::string& failure, const std::string& signal)
{
    const std::string first = failure.substr(0, failure.find('\n'));
    return first.find("(assertion error)") != std::string::npos &&
           first.find(": signal " + signal + " wrong at cycle ") != std::string::npos;
}

// The suite can fail: a voter that loses what the equality vote keeps, and a
// fault that changes nothing, each make a simulation fail with the assertion
// that names the wrong signal.
class GhdlFaultSelfCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!vtest::ghdlAvailable()) GTEST_SKIP() << "GHDL is not installed";
    }
};

// The and/or majority turns three released drives into 'X' and a single
// corrupted drive into '0' bits where the bus must be 'Z'.
TEST_F(GhdlFaultSelfCheck, BitwiseMajorityOnAnInoutDriveFails)
{
    FaultBench bench(arch("tmr0"), design("busreg"));
    ASSERT_EQ(bench.prepare(), "");
    const std::string voter = replaceOnce(
        bench.module("busreg_voter"),
        "if DATA_voter1_in = DATA_voter2_in or DATA_voter1_in = DATA_voter3_in then DATA_voter_out <= "
        "DATA_voter1_in; else DATA_voter_out <= DATA_voter2_in; end if;",
        "DATA_voter_out <= (DATA_voter1_in and DATA_voter2_in) or (DATA_voter2_in and DATA_voter3_in) or "
        "(DATA_voter1_in and DATA_voter3_in);");
    const std::string failure = bench.simulate({{2}, 0}, {{"busreg_voter", voter}});
    EXPECT_TRUE(failsOn(failure, "DATA")) << failure;
}

// A voter that takes copy 1 whenever the copies disagree passes copy 1's
// corrupted count.
TEST_F(GhdlFaultSelfCheck, VoterFollowingCopy1PassesACorruptedInteger)
{
    FaultBench bench(arch("tmr0"), design("sequencer"));
    ASSERT_EQ(bench.prepare(), "");
    const std::string voter = replaceOnce(bench.module("sequencer_voter"), "else COUNT_voter_out <= COUNT_voter2_in;",
                                          "else COUNT_voter_out <= COUNT_voter1_in;");
    EXPECT_EQ(bench.simulate({{2}, 0}, {{"sequencer_voter", voter}}), "") << "copy 2's fault is still outvoted";
    const std::string failure = bench.simulate({{1}, 0}, {{"sequencer_voter", voter}});
    EXPECT_TRUE(failsOn(failure, "COUNT")) << failure;
}

// A corruption that leaves the state as it is goes unreported by the
// comparator, which the expected error flag catches.
TEST_F(GhdlFaultSelfCheck, FaultThatChangesNothingIsNotReported)
{
    RefDesign d = design("sequencer");
    ASSERT_EQ(d.outputs[2].name, "STATE");
    d.outputs[2].corruption = "state_t'val(state_t'pos(@))";
    FaultBench bench(arch("dpl0"), d);
    ASSERT_EQ(bench.prepare(), "");
    const std::string failure = bench.simulate({{1}, 2});
    EXPECT_TRUE(failsOn(failure, "ERR")) << failure;
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
