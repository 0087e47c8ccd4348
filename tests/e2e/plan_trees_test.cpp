// The trees that the three-unit and the duplex-with-checker switches write:
// exactly the files of their plans, each with its entity and label, for a
// design with generics and an inout port, one without generics and one with
// three outputs.
#include <gtest/gtest.h>

#include "support/testing.h"

namespace {

using vtest::readFile;
using vtest::runVelmorn;
using vtest::TempDir;
using vtest::writeFile;

const std::string kWithGenericsAndInout = R"(library ieee;
use ieee.std_logic_1164.all;

entity counter is
   generic(
      w : integer := 4
   );
   port(
      clk : in std_logic;
      io : inout std_logic;
      q : out std_logic_vector(w-1 downto 0)
   );
end counter;

architecture rtl of counter is
begin
   q <= (others => clk);
   io <= 'Z';
end rtl;
)";

const std::string kPlain = R"(library ieee;
use ieee.std_logic_1164.all;

entity counter is
   port(
      clk : in std_logic;
      q : out std_logic
   );
end counter;

architecture rtl of counter is
begin
   q <= clk;
end rtl;
)";

const std::string kThreeOutputs = R"(library ieee;
use ieee.std_logic_1164.all;

entity counter is
   port(
      a, b : in std_logic;
      x : out std_logic;
      y : out std_logic;
      z : out std_logic_vector(1 downto 0)
   );
end counter;

architecture rtl of counter is
begin
   x <= a and b;
   y <= a or b;
   z <= a & b;
end rtl;
)";

struct PlanTree {
    std::string flag;
    bool checker;
    std::string label;
    std::vector<std::string> files;  // sorted
};

const std::vector<PlanTree> kPlans = {
    {"-tmr2", false, "TMR-2V-CMP",
     {"counter_tmr_2v_cmp.vhd", "modules/counter_d_prm.vhd", "modules/counter_prm1.vhd", "modules/counter_prm2.vhd",
      "modules/counter_prm3.vhd"}},
    {"-dpl4", false, "3FU-2MUX",
     {"counter_3fu_2mux.vhd", "modules/counter_d_prm.vhd", "modules/counter_prm1.vhd", "modules/counter_prm2.vhd",
      "modules/counter_prm3.vhd"}},
    {"-dpl5", false, "3FU-1MUX",
     {"counter_3fu_1mux.vhd", "modules/counter_d_prm.vhd", "modules/counter_prm1.vhd", "modules/counter_prm2.vhd",
      "modules/counter_prm3.vhd"}},
    {"-dpl6", false, "3FU-2MUX-CMP",
     {"counter_3fu_2mux_cmp.vhd", "modules/counter_d_prm.vhd", "modules/counter_prm1.vhd",
      "modules/counter_prm2.vhd", "modules/counter_prm3.vhd"}},
    {"-dpl1", true, "DUPLEX+1CH",
     {"counter_dupl1ch.vhd", "modules/counter_fu1.vhd", "modules/counter_m_prm.vhd", "modules/counter_prm1.vhd",
      "modules/counter_prm2.vhd"}},
    {"-dpl2", true, "DUPLEX+2CH",
     {"counter_dupl2ch.vhd", "modules/counter_fu1.vhd", "modules/counter_fu2.vhd", "modules/counter_m_prm.vhd",
      "modules/counter_prm1.vhd", "modules/counter_prm2.vhd"}},
};

bool contains(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

// The entity that each file of the tree declares.
const std::vector<std::pair<std::string, std::string>> kEntities = {
    {"modules/counter_d_prm.vhd", "entity COUNTER_d_prm is\n"}, {"modules/counter_m_prm.vhd", "entity COUNTER_m_prm is\n"},
    {"modules/counter_prm1.vhd", "entity COUNTER_prm1 is\n"},   {"modules/counter_prm2.vhd", "entity COUNTER_prm2 is\n"},
    {"modules/counter_prm3.vhd", "entity COUNTER_prm3 is\n"},   {"modules/counter_fu1.vhd", "entity COUNTER_fu1 is\n"},
    {"modules/counter_fu2.vhd", "entity COUNTER_fu2 is\n"},
};

TEST(PlanTrees, EachSwitchWritesExactlyItsFiles)
{
    for (const std::string* source : {&kWithGenericsAndInout, &kPlain, &kThreeOutputs}) {
        for (const auto& plan : kPlans) {
            SCOPED_TRACE(plan.flag + "\n" + *source);
            TempDir dir;
            writeFile(dir / "counter.vhd", *source);
            std::vector<std::string> args{plan.flag, "counter.vhd"};
            if (plan.checker) args.push_back("checker.vhd");
            const auto r = runVelmorn(args, dir.path());
            ASSERT_EQ(r.status, 0) << r.output;
            EXPECT_TRUE(contains(r.output, "Generating of " + plan.label + " ")) << r.output;
            EXPECT_EQ(vtest::listFiles(dir / "counter"), plan.files);

            for (const auto& f : plan.files) {
                const std::string text = readFile(dir / "counter" / f);
                EXPECT_TRUE(contains(text, "-- ** Module (part) of FT architecture " + plan.label + "\n")) << f;
                EXPECT_TRUE(contains(text, "-- ** VHDL file: counter/" + f + "\n")) << f;
                for (const auto& [file, entity] : kEntities) {
                    if (file == f) {
                        EXPECT_TRUE(contains(text, entity)) << f;
                    }
                }
            }
            const std::string top = readFile(dir / "counter" / plan.files.front());
            EXPECT_TRUE(contains(top, "\n\nentity COUNTER is\n")) << top;
            EXPECT_EQ(top.substr(top.size() - 19), "\nend COUNTER_BEHAV;");
        }
    }
}

TEST(PlanTrees, DuplexCopiesCarryCheckersAsTheirPlansSay)
{
    TempDir dir;
    writeFile(dir / "counter.vhd", kPlain);
    ASSERT_EQ(runVelmorn({"-dpl1", "counter.vhd", "checker.vhd"}, dir.path()).status, 0);
    // Copy 1 is the unit with its checker; copy 2 a plain unit copy.
    EXPECT_TRUE(contains(readFile(dir / "counter/modules/counter_prm1.vhd"), " ERR_prm1 : OUT std_logic;\n"));
    EXPECT_FALSE(contains(readFile(dir / "counter/modules/counter_prm2.vhd"), "ERR"));
    const std::string one = readFile(dir / "counter/modules/counter_m_prm.vhd");
    EXPECT_TRUE(contains(one, "   err2_sig  <= cmp12_sig and not err1_sig;\n"));
    EXPECT_FALSE(contains(one, "Err_prm2_in"));

    ASSERT_EQ(runVelmorn({"-dpl2", "counter.vhd", "checker.vhd"}, dir.path()).status, 0);
    EXPECT_TRUE(contains(readFile(dir / "counter/modules/counter_prm2.vhd"), " ERR_prm2 : OUT std_logic;\n"));
    const std::string two = readFile(dir / "counter/modules/counter_m_prm.vhd");
    EXPECT_TRUE(contains(two, "  err2_sig <= Err_prm2_in;\n"));
    EXPECT_FALSE(contains(two, "cmp12_sig"));
}

TEST(PlanTrees, EachThreeUnitSwitchWritesItsOwnVotingModule)
{
    const std::vector<std::pair<std::string, std::string>> marks = {
        {"-tmr2", "   Err_d_prm <= err_sig_mux or err_sig_cmp;\n"},
        {"-dpl4", "   Err_d_prm <= errcmp_sig1;\n"},
        {"-dpl5", "   Err_d_prm <= errfdec_sig;\n"},
        {"-dpl6", "   Q_d_prm1_sigboutb <= Q_d_prm1_in when (err1_siga = '0') else Q_d_prm2_in;\n"},
    };
    TempDir dir;
    writeFile(dir / "counter.vhd", kPlain);
    for (const auto& [flag, mark] : marks) {
        ASSERT_EQ(runVelmorn({flag, "counter.vhd"}, dir.path()).status, 0);
        EXPECT_TRUE(contains(readFile(dir / "counter/modules/counter_d_prm.vhd"), mark)) << flag;
    }
}

}  // namespace
