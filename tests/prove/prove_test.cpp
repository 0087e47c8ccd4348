// --prove on real designs with GHDL and Yosys: every property of every
// architecture holds on the test designs; trees broken on purpose, a weak
// checker and a name GHDL cannot write make their property fail or say why it
// cannot be proved; without the tools the tree is still written.
#include <gtest/gtest.h>

#include <sstream>

#include "arch/architectures.h"
#include "arch/generate.h"
#include "prove/promises.h"
#include "prove/prove.h"
#include "support/analyse.h"
#include "support/testing.h"
#include "vhdl/writer.h"

namespace {

using vtest::fs::path;

const path kTests = path(VELMORN_TESTS_DIR);

// One "Proof: <statement> ... <outcome>" line and the lines under it.
struct Verdict {
    std::string statement, outcome, detail;
};

std::vector<Verdict> verdicts(const std::string& console)
{
    std::vector<Verdict> list;
    std::istringstream in(console);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("Proof: ", 0) == 0) {
            const size_t dots = line.rfind(" ... ");
            list.push_back({line.substr(7, dots - 7), dots == std::string::npos ? "" : line.substr(dots + 5), ""});
        } else if (!list.empty() && line.rfind("   ", 0) == 0) {
            list.back().detail += line + "\n";
        }
    }
    return list;
}

bool hasProver() { return vtest::ghdlAvailable() && std::system("yosys -V >/dev/null 2>&1") == 0; }

// What each switch proves, written from the architectures' descriptions: the
// modules that vote, select, compare or decode (two properties each: no fault,
// any one faulty copy), the user's checker, and the top level without a fault
// and with each copy free.
struct Expected {
    std::vector<std::string> modules;  // entity suffixes
    bool checker;
    int copies;
};

Expected expectedFor(const std::string& sw)
{
    if (sw == "-tmr0") return {{"_voter"}, false, 3};
    if (sw == "-tmr1") return {{"_vot_prm1", "_vot_prm2", "_vot_prm3", "_fdec_prm"}, false, 3};
    if (sw == "-tmr2" || sw == "-dpl4" || sw == "-dpl5" || sw == "-dpl6") return {{"_d_prm"}, false, 3};
    if (sw == "-dpl0") return {{"_cmp"}, false, 2};
    if (sw == "-fuch") return {{}, true, 1};
    if (sw == "-tmr3") return {{"_v_prm"}, true, 3};
    return {{"_m_prm"}, true, 2};  // -dpl1, -dpl2
}

struct TestDesign {
    std::string dir, stem, entity;
    bool weakChecker = false;  // the checker misses wrong counts
    bool inout = false;        // the copies cannot be proved at the top level
};

const std::vector<TestDesign> kDesigns = {
    {"fault/designs", "counter", "COUNTER"},
    {"fault/designs", "alu", "ALU"},
    {"designs", "andor", "ANDOR"},
    {"designs", "cnt", "CNT", true},
    {"designs", "bidir", "BIDIR", false, true},
};

// Every switch of the architecture table.
std::vector<std::string> switches()
{
    std::vector<std::string> list;
    for (const auto& a : velmorn::architectures()) list.emplace_back(a.flag);
    return list;
}

class GhdlProve : public ::testing::TestWithParam<std::string> {};

TEST_P(GhdlProve, EveryPropertyOfTheTestDesignsHolds)
{
    if (!hasProver()) GTEST_SKIP() << "GHDL or Yosys is not installed";
    const velmorn::Architecture& a = *velmorn::findArchitecture(GetParam());
    const std::string sw(a.flag);
    const Expected want = expectedFor(sw);
    for (const TestDesign& t : kDesigns) {
        SCOPED_TRACE(sw + " on " + t.stem);
        vtest::TempDir dir;
        const std::string src = t.stem + ".vhd", chk = t.stem + "_ch.vhd";
        vtest::writeFile(dir / src, vtest::readFile(kTests / t.dir / src));
        vtest::writeFile(dir / chk, vtest::readFile(kTests / t.dir / chk));
        std::vector<std::string> args = {"--prove", sw, src};
        if (a.takesChecker) args.push_back(chk);
        const auto r = vtest::runVelmorn(args, dir.path());
        const auto list = verdicts(r.output);

        // Every proof after " Done", before the closing line.
        EXPECT_LT(r.output.find(" Done\nProof: "), r.output.find("File " + src + " was closed..."));
        std::vector<std::string> subjects;
        for (const auto& m : want.modules)
            for (const char* s : {", no fault", ", any one faulty copy"}) subjects.push_back(t.entity + m + s);
        if (t.inout) {
            subjects.push_back("top level " + t.entity + " (" + sw + ")");
        } else {
            if (want.checker) subjects.push_back("checker " + t.entity + "_ch, ");
            subjects.push_back("top level " + t.entity + " (" + sw + "), no fault");
            for (int k = 1; k <= want.copies; ++k)
                subjects.push_back("top level " + t.entity + " (" + sw + "), copy " + std::to_string(k) + " (");
        }
        ASSERT_EQ(list.size(), subjects.size()) << r.output;
        bool allHeld = true;
        for (size_t i = 0; i < list.size(); ++i) {
            const Verdict& v = list[i];
            EXPECT_EQ(v.statement.rfind(subjects[i], 0), 0u) << v.statement;
            if (t.inout && v.statement.rfind("top level", 0) == 0) {
                EXPECT_EQ(v.outcome, "not proved: the copies never read the INOUT port DATA (see the README); the "
                                     "module proofs stand");
                allHeld = false;
            } else if (t.weakChecker && v.statement.rfind("checker", 0) == 0) {
                // The checker only checks Z against Q: a wrong count passes it.
                EXPECT_EQ(v.outcome, "FAILED");
                EXPECT_NE(v.detail.find("counterexample"), std::string::npos) << v.detail;
                EXPECT_NE(v.detail.find("The gap is the checker's"), std::string::npos) << v.detail;
                allHeld = false;
            } else {
                EXPECT_EQ(v.outcome, "proved") << v.statement << "\n" << v.detail;
            }
        }
        EXPECT_EQ(r.status, allHeld ? 0 : 1) << r.output;
        // Only a design with INOUT ports gets a warning, about what its copies read.
        if (t.inout) EXPECT_EQ(r.errors.rfind("velmorn: warning: INOUT ports DATA of entity BIDIR", 0), 0u) << r.errors;
        else EXPECT_EQ(r.errors, "");
        // The scripts stay in the tree for the user to rerun.
        const auto files = vtest::listFiles(dir / t.stem / "prove");
        for (const auto& m : want.modules)
            EXPECT_NE(std::find(files.begin(), files.end(), t.entity + m + ".ys"), files.end()) << m;
        if (!t.inout) {
            EXPECT_NE(std::find(files.begin(), files.end(), "top_cut1.ys"), files.end());
        }
    }
}

// The tree that --prove leaves is the tree without it, plus prove/.
TEST_P(GhdlProve, TreeIsTheSameAsWithoutProving)
{
    if (!hasProver()) GTEST_SKIP() << "GHDL or Yosys is not installed";
    const velmorn::Architecture& a = *velmorn::findArchitecture(GetParam());
    vtest::TempDir dir;
    for (const char* f : {"andor.vhd", "andor_ch.vhd"}) vtest::writeFile(dir / f, vtest::readFile(kTests / "designs" / f));
    std::vector<std::string> args = {std::string(a.flag), "andor.vhd"};
    if (a.takesChecker) args.push_back("andor_ch.vhd");
    const auto plain = vtest::runVelmorn(args, dir.path());
    ASSERT_EQ(plain.status, 0);
    std::vector<std::string> files;
    for (const auto& f : vtest::listFiles(dir / "andor")) files.push_back(f + "\n" + vtest::readFile(dir / "andor" / f));
    args.insert(args.begin(), "--prove");
    const auto proved = vtest::runVelmorn(args, dir.path());
    ASSERT_EQ(proved.status, 0) << proved.output;
    std::vector<std::string> after;
    for (const auto& f : vtest::listFiles(dir / "andor"))
        if (f.rfind("prove/", 0) != 0) after.push_back(f + "\n" + vtest::readFile(dir / "andor" / f));
    EXPECT_EQ(after, files);
    // The console is the plain one with the proof lines before the closing line.
    const size_t closing = plain.output.rfind("File andor.vhd was closed...");
    EXPECT_EQ(proved.output.substr(0, closing), plain.output.substr(0, closing));
    EXPECT_EQ(proved.output.substr(proved.output.size() - (plain.output.size() - closing)), plain.output.substr(closing));
}

INSTANTIATE_TEST_SUITE_P(Architectures, GhdlProve, ::testing::ValuesIn(switches()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param.substr(1); });

// A tree generated in process, broken in one file on disk, then proved.
struct BrokenTree {
    std::string console;
    bool held = true;
    std::vector<Verdict> list;

    const Verdict* find(const std::string& prefix) const
    {
        for (const auto& v : list)
            if (v.statement.rfind(prefix, 0) == 0) return &v;
        return nullptr;
    }
};

// Replaces the one occurrence of `from` in the tree file `file`.
void breakFile(const path& file, const std::string& from, const std::string& to)
{
    std::string text = vtest::readFile(file);
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << file << ": " << from;
    ASSERT_EQ(text.find(from, at + 1), std::string::npos) << file << ": " << from;
    text.replace(at, from.size(), to);
    vtest::writeFile(file, text);
}

BrokenTree proveBroken(const std::string& sw, const std::string& file, const std::string& from, const std::string& to)
{
    BrokenTree b;
    vtest::TempDir dir;
    const std::string source = vtest::readFile(kTests / "fault" / "designs" / "counter.vhd");
    const auto analysed = vtest::analyseText(source, "counter.vhd", "counter");
    EXPECT_TRUE(analysed.ok);
    vtest::writeFile(dir / "counter_ch.vhd", vtest::readFile(kTests / "fault" / "designs" / "counter_ch.vhd"));
    const velmorn::Architecture* a = velmorn::findArchitecture(sw);
    std::ostringstream out, err;
    velmorn::Diagnostics diag(out, err);
    const std::string root = dir.path().string() + "/";
    velmorn::TreeWriter writer(diag, root);
    const auto result = velmorn::generate(analysed.d, *a, writer, diag);
    EXPECT_TRUE(result.ok);
    breakFile(dir / "counter" / file, from, to);
    b.held = velmorn::proveTree({analysed.d, *a, result.tree, root, (dir / "counter_ch.vhd").string()}, writer, diag);
    b.console = out.str();
    b.list = verdicts(b.console);
    EXPECT_EQ(err.str(), "");
    return b;
}

// The failed property, its counterexample under it with the values of `port`.
void expectFailure(const BrokenTree& b, const std::string& statement, const std::string& port)
{
    const Verdict* v = b.find(statement);
    ASSERT_NE(v, nullptr) << b.console;
    EXPECT_EQ(v->outcome, "FAILED") << b.console;
    EXPECT_EQ(v->detail.rfind("   counterexample (", 0), 0u) << v->detail;
    EXPECT_NE(v->detail.find(port + " = "), std::string::npos) << v->detail;
}

TEST(GhdlProveBroken, VoterPassingCopyOneOnlyFails)
{
    if (!hasProver()) GTEST_SKIP() << "GHDL or Yosys is not installed";
    const auto b = proveBroken("-tmr0", "modules/counter_voter.vhd",
                               "Q_voter_out <= (Q_voter1_in and Q_voter2_in) or (Q_voter2_in and Q_voter3_in) or "
                               "(Q_voter1_in and Q_voter3_in);",
                               "Q_voter_out <= Q_voter1_in;");
    EXPECT_FALSE(b.held);
    expectFailure(b, "COUNTER_voter, any one faulty copy", "Q_voter1_in");
    EXPECT_EQ(b.find("COUNTER_voter, no fault")->outcome, "proved");
    expectFailure(b, "top level COUNTER (-tmr0), copy 1 ", "cycle 1: CLK");
    EXPECT_EQ(b.find("top level COUNTER (-tmr0), copy 2 ")->outcome, "proved");
}

TEST(GhdlProveBroken, DecoderWithSwappedFlagsFails)
{
    if (!hasProver()) GTEST_SKIP() << "GHDL or Yosys is not installed";
    const auto b = proveBroken("-tmr1", "modules/counter_fdec_prm.vhd",
                               "   Err_fdec_prm1 <= err1_sig;\n   Err_fdec_prm2 <= err2_sig;",
                               "   Err_fdec_prm1 <= err2_sig;\n   Err_fdec_prm2 <= err1_sig;");
    EXPECT_FALSE(b.held);
    expectFailure(b, "COUNTER_fdec_prm, any one faulty copy", "Err_fdec_prm1");
    expectFailure(b, "top level COUNTER (-tmr1), copy 1 ", "Err_prm1");
    EXPECT_EQ(b.find("top level COUNTER (-tmr1), copy 3 ")->outcome, "proved");
}

TEST(GhdlProveBroken, MultiplexerIgnoringItsErrorInputFails)
{
    if (!hasProver()) GTEST_SKIP() << "GHDL or Yosys is not installed";
    const auto b = proveBroken("-dpl2", "modules/counter_m_prm.vhd", "  err1_sig <= Err_prm1_in;", "  err1_sig <= '0';");
    EXPECT_FALSE(b.held);
    expectFailure(b, "COUNTER_m_prm, no fault, every value of Err_prm1_in and Err_prm2_in", "Err_prm1_in");
    expectFailure(b, "COUNTER_m_prm, any one faulty copy", "Err_m_prm1");
    // The checker of copy 1 reports it, the multiplexer still passes copy 1 on.
    expectFailure(b, "top level COUNTER (-dpl2), copy 1 ", "Q_free");
    EXPECT_EQ(b.find("top level COUNTER (-dpl2), copy 2 ")->outcome, "proved");
}

// Wiring in the top that no module proof sees: the copy flags of the voting
// module to the wrong error outputs.
TEST(GhdlProveBroken, TopWithSwappedErrorOutputsFails)
{
    if (!hasProver()) GTEST_SKIP() << "GHDL or Yosys is not installed";
    const auto b = proveBroken("-dpl4", "counter_3fu_2mux.vhd", "      Err_d_prm1 => Err_prm1,\n      Err_d_prm2 => Err_prm2,",
                               "      Err_d_prm1 => Err_prm2,\n      Err_d_prm2 => Err_prm1,");
    EXPECT_FALSE(b.held);
    EXPECT_EQ(b.find("COUNTER_d_prm, any one faulty copy")->outcome, "proved");
    EXPECT_EQ(b.find("top level COUNTER (-dpl4), no fault")->outcome, "proved");
    expectFailure(b, "top level COUNTER (-dpl4), copy 1 ", "Err_prm2");
    EXPECT_EQ(b.find("top level COUNTER (-dpl4), copy 3 ")->outcome, "proved");
}

// GHDL 2.0 writes a signal named like a Verilog keyword unescaped: the top
// level is not proved and the message names it; the modules still are.
TEST(GhdlProveLimits, VerilogKeywordAsANameIsNamed)
{
    if (!hasProver()) GTEST_SKIP() << "GHDL or Yosys is not installed";
    vtest::TempDir dir;
    vtest::writeFile(dir / "kw.vhd", R"(library ieee;
use ieee.std_logic_1164.all;

entity kw is
   port(
      clk, d : in std_logic;
      q : out std_logic
   );
end kw;

architecture rtl of kw is
   signal reg : std_logic := '0';
begin
   process(clk)
   begin
      if rising_edge(clk) then
         reg <= d;
      end if;
   end process;
   q <= reg;
end rtl;
)");
    const auto r = vtest::runVelmorn({"--prove", "-tmr0", "kw.vhd"}, dir.path());
    EXPECT_EQ(r.status, 1);
    const auto list = verdicts(r.output);
    ASSERT_EQ(list.size(), 6u) << r.output;
    EXPECT_EQ(list[0].outcome, "proved");
    EXPECT_EQ(list[1].outcome, "proved");
    for (size_t i = 2; i < list.size(); ++i)
        EXPECT_EQ(list[i].outcome, "not proved: the unit uses reg as a name, a Verilog keyword that GHDL 2.0 writes "
                                   "unescaped into its netlist - rename it to prove this")
            << list[i].statement;
}

// A process with a case statement: GHDL's Verilog of it needs its default
// branch back, or the proof would be of a latch.
TEST(GhdlProveLimits, CaseStatementsAreProvedWithTheirDefaults)
{
    if (!hasProver()) GTEST_SKIP() << "GHDL or Yosys is not installed";
    vtest::TempDir dir;
    vtest::writeFile(dir / "fsm.vhd", vtest::readFile(kTests / "corpus" / "c18_fsm_case.vhd"));
    const auto r = vtest::runVelmorn({"--prove", "-dpl5", "fsm.vhd"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.output;
    for (const auto& v : verdicts(r.output)) EXPECT_EQ(v.outcome, "proved") << v.statement;
    const std::string netlist = vtest::readFile(dir / "fsm" / "prove" / "prove.v");
    EXPECT_NE(netlist.find("default: "), std::string::npos);
}

// A record port is one netlist port per field: the module proofs pair the
// copies field by field. Its package is analysed into the proofs' library
// first, as the README tells.
TEST(GhdlProveLimits, RecordPortsAreProvedFieldByField)
{
    if (!hasProver()) GTEST_SKIP() << "GHDL or Yosys is not installed";
    vtest::TempDir dir;
    vtest::writeFile(dir / "rp.vhd", R"(library ieee;
use ieee.std_logic_1164.all;
package rp is
   type rec is record a : std_logic_vector(3 downto 0); b : std_logic; end record;
end package;
)");
    vtest::writeFile(dir / "rcnt.vhd", R"(library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
use work.rp.all;

entity rcnt is
   port(
      clk : in std_logic;
      r : out rec;
      z : out std_logic
   );
end rcnt;

architecture rtl of rcnt is
   signal c : unsigned(3 downto 0) := "0000";
begin
   process(clk)
   begin
      if rising_edge(clk) then
         c <= c + 1;
      end if;
   end process;
   r.a <= std_logic_vector(c);
   r.b <= c(0);
   z <= '1' when c = "1111" else '0';
end rtl;
)");
    vtest::fs::create_directories(dir / "rcnt" / "prove" / "work");
    ASSERT_EQ(vtest::runCommand("ghdl -a --std=08 -fsynopsys --workdir=rcnt/prove/work rp.vhd", dir.path()).status, 0);
    const auto r = vtest::runVelmorn({"--prove", "-dpl5", "rcnt.vhd"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.output;
    const auto list = verdicts(r.output);
    EXPECT_EQ(list.size(), 6u) << r.output;
    for (const auto& v : list) EXPECT_EQ(v.outcome, "proved") << v.statement;
    const std::string script = vtest::readFile(dir / "rcnt" / "prove" / "RCNT_d_prm.ys");
    EXPECT_NE(script.find(" -set R_d_prm3_in_a R_d_prm2_in_a -set R_d_prm3_in_b R_d_prm2_in_b "), std::string::npos);
}

// Files kept in memory: the plans run without a disk.
class MemoryWriter : public velmorn::FileWriter {
public:
    bool makeDirectory(const std::string&) override { return true; }
    bool write(const std::string&, const std::function<void(velmorn::VhdlOut&)>& emit) override
    {
        velmorn::TextSink sink;
        velmorn::VhdlOut out(sink);
        emit(out);
        return true;
    }
};

// Every architecture promises something of each error output of its top.
TEST(ProvePromises, EveryArchitectureNamesTheRuleOfEachErrorOutput)
{
    const auto d = vtest::analyseText(vtest::readFile(kTests / "fault" / "designs" / "counter.vhd"), "counter.vhd",
                                      "counter");
    ASSERT_TRUE(d.ok);
    for (const auto& a : velmorn::architectures()) {
        std::ostringstream out, err;
        velmorn::Diagnostics diag(out, err);
        MemoryWriter writer;
        const auto result = velmorn::generate(d.d, a, writer, diag);
        size_t errors = 0;
        velmorn::forEachPort(result.tree.top, [&](const velmorn::InterfacePort& p, bool) {
            errors += p.mode == velmorn::PortMode::Out && p.role != velmorn::PortRole::UnitPort;
        });
        const velmorn::TopPromise* promise = velmorn::topPromise(a.flag);
        ASSERT_NE(promise, nullptr) << a.flag;
        EXPECT_EQ(promise->errors.size(), errors) << a.flag;
        EXPECT_EQ(result.tree.copies.size(), static_cast<size_t>(expectedFor(std::string(a.flag)).copies)) << a.flag;
    }
}

// A verdict is Yosys' own: a yosys that checks nothing proves nothing, also
// after a run that proved everything.
TEST(GhdlProveLimits, NoVerdictWithoutYosysReport)
{
    if (!hasProver()) GTEST_SKIP() << "GHDL or Yosys is not installed";
    vtest::TempDir dir;
    vtest::writeFile(dir / "andor.vhd", vtest::readFile(kTests / "designs" / "andor.vhd"));
    ASSERT_EQ(vtest::runVelmorn({"--prove", "-tmr0", "andor.vhd"}, dir.path()).status, 0);
    vtest::writeFile(dir / "bin" / "yosys", "#!/bin/sh\nexit 0\n");
    vtest::fs::permissions(dir / "bin" / "yosys", vtest::fs::perms::owner_all);
    const auto r = vtest::runCommand("PATH=" + vtest::shellQuote((dir / "bin").string()) + ":\"$PATH\" " +
                                         vtest::shellQuote(VELMORN_EXE) + " --prove -tmr0 andor.vhd",
                                     dir.path());
    EXPECT_EQ(r.status, 1);
    const auto list = verdicts(r.output);
    ASSERT_EQ(list.size(), 6u) << r.output;
    for (const auto& v : list) EXPECT_EQ(v.outcome, "not proved: yosys did not report it") << v.statement;
}

// Without the tools the tree is written, the message says how to get them.
TEST(ProveCommandLine, MissingToolsAreNamedAndTheTreeStays)
{
    vtest::TempDir dir;
    vtest::writeFile(dir / "andor.vhd", vtest::readFile(kTests / "designs" / "andor.vhd"));
    const auto r = vtest::runCommand("PATH=/nonexistent " + vtest::shellQuote(VELMORN_EXE) + " --prove -tmr0 andor.vhd",
                                     dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find(" Done\nCan't prove the architecture - ghdl and yosys not found on PATH - install with: "
                            "apt-get install ghdl yosys !\nFile andor.vhd was closed..."),
              std::string::npos)
        << r.output;
    EXPECT_EQ(vtest::listFiles(dir / "andor"),
              (std::vector<std::string>{"andor_tmr.vhd", "modules/andor_prm1.vhd", "modules/andor_prm2.vhd",
                                        "modules/andor_prm3.vhd", "modules/andor_voter.vhd"}));
}

}  // namespace
