// Top level of the three-unit architectures: the whole file for a design
// with a generic, an input, an inout port and a vector output, and the edge
// cases of generics, port counts and the four plans that share it.
#include <gtest/gtest.h>

#include "support/testing.h"
#include "top/top.h"

namespace {

using vtest::DesignBuilder;

const std::string GD = "   generic(\n      W :  integer := 4\n   );\n";
const std::string GM = "   generic map(\n      W => W\n   )\n";

// Component lines end in "is " with a trailing blank.
std::string unitComponent(const std::string& k)
{
    return "component CNT_prm" + k + " is \n" + GD + "   port(\n      CLK_prm" + k + " : IN  std_logic;\n      IO_prm" + k +
           " : INOUT  std_logic;\n      Q_prm" + k + " : OUT  std_logic_vector(3 downto 0)\n   );\nend component;\n\n";
}

std::string unitInstance(const std::string& k)
{
    return "CNT" + k + "_prm : CNT_prm" + k + "\n" + GM + "   port map(\n      CLK_prm" + k + " => CLK,\n      IO_prm" + k +
           " => IO,\n      Q_prm" + k + " => Q_prm" + k + "_sig\n   );\n\n";
}

TEST(TopTMR3FU, WholeFileWithGenericInoutAndVectorOutput)
{
    const auto d = DesignBuilder("CNT")
                       .generic("W", " integer := 4")
                       .in("CLK")
                       .inout("IO")
                       .out("Q", "  std_logic_vector(3 downto 0)")
                       .build();
    const auto t = velmorn::GenerateTopTMR3FU(d, "_prm", "_d_prm", "_tmr_2v_cmp", "TMR-2V-CMP");
    EXPECT_EQ(t.path(), "cnt/cnt_tmr_2v_cmp.vhd");
    const std::string expected = vtest::banner("cnt/cnt_tmr_2v_cmp.vhd", "TMR-2V-CMP") + vtest::kIeeeLibrarys +
                                 "\n\n" + "entity CNT is\n" + GD + R"(   port(
      CLK : IN  std_logic;
      IO : INOUT  std_logic;
      Q : OUT  std_logic_vector(3 downto 0);
      Err_prm1 : OUT std_logic;
      Err_prm2 : OUT std_logic;
      Err_prm3 : OUT std_logic;
      Err_prm_d : OUT std_logic
   );
end entity CNT;


architecture CNT_BEHAV of CNT is

)" + unitComponent("1") + unitComponent("2") + unitComponent("3") +
                                 "component CNT_d_prm is \n" + GD + R"(   port(
      Q_d_prm1_in : IN  std_logic_vector(3 downto 0);
      Q_d_prm2_in : IN  std_logic_vector(3 downto 0);
      Q_d_prm3_in : IN  std_logic_vector(3 downto 0);
      Q_d_prm_out : OUT  std_logic_vector(3 downto 0);
      Err_d_prm1 : OUT std_logic;
      Err_d_prm2 : OUT std_logic;
      Err_d_prm3 : OUT std_logic;
      Err_d_prm : OUT std_logic
   );
end component;

signal Q_prm1_sig :   std_logic_vector(3 downto 0);
signal Q_prm2_sig :   std_logic_vector(3 downto 0);
signal Q_prm3_sig :   std_logic_vector(3 downto 0);

begin
)" + unitInstance("1") + unitInstance("2") + unitInstance("3") +
                                 "CNT_d_prm1 : CNT_d_prm\n" + GM + R"(   port map(
      Q_d_prm1_in => Q_prm1_sig,
      Q_d_prm2_in => Q_prm2_sig,
      Q_d_prm3_in => Q_prm3_sig,
      Q_d_prm_out => Q,
      Err_d_prm1 => Err_prm1,
      Err_d_prm2 => Err_prm2,
      Err_d_prm3 => Err_prm3,
      Err_d_prm => Err_prm_d
   );

end CNT_BEHAV;)";
    EXPECT_EQ(t.str(), expected);
}

bool contains(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

TEST(TopTMR3FU, WithoutGenericsAndInputsOnlyOutputsRemain)
{
    const auto d = DesignBuilder("CNT").out("Q").out("R").out("Z").build();
    const std::string text = velmorn::GenerateTopTMR3FU(d, "_prm", "_d_prm", "_3fu_1mux", "3FU-1MUX").str();
    EXPECT_FALSE(contains(text, "generic"));
    EXPECT_TRUE(contains(text, "\n\nentity CNT is\n   port(\n      Q : OUT  std_logic;\n"));
    EXPECT_TRUE(contains(text, "component CNT_prm2 is \n   port(\n      Q_prm2 : OUT  std_logic;\n      R_prm2 : OUT  "
                               "std_logic;\n      Z_prm2 : OUT  std_logic\n   );\n"));
    // Signals unit by unit; the voting module's map port by port.
    EXPECT_TRUE(contains(text, "signal Z_prm1_sig :   std_logic;\nsignal Q_prm2_sig :   std_logic;\n"));
    EXPECT_TRUE(contains(text, "      Q_d_prm3_in => Q_prm3_sig,\n      R_d_prm1_in => R_prm1_sig,\n"));
    EXPECT_TRUE(contains(text, "      Z_d_prm_out => Z,\n      Err_d_prm1 => Err_prm1,\n"));
    EXPECT_TRUE(contains(text, "CNT3_prm : CNT_prm3\n   port map(\n      Q_prm3 => Q_prm3_sig,\n"));
}

TEST(TopTMR3FU, TheFourPlansDifferOnlyInFileNameAndLabel)
{
    const auto d = DesignBuilder("CNT").generic("W", " integer := 4").in("CLK").out("Q").build();
    const std::vector<std::pair<std::string, std::string>> plans = {
        {"_tmr_2v_cmp", "TMR-2V-CMP"}, {"_3fu_2mux", "3FU-2MUX"}, {"_3fu_1mux", "3FU-1MUX"},
        {"_3fu_2mux_cmp", "3FU-2MUX-CMP"}};
    std::string first;
    for (const auto& [top, arch] : plans) {
        const auto t = velmorn::GenerateTopTMR3FU(d, "_prm", "_d_prm", top, arch);
        EXPECT_EQ(t.path(), "cnt/cnt" + top + ".vhd");
        const std::string b = vtest::banner(t.path(), arch);
        ASSERT_EQ(t.str().substr(0, b.size()), b);
        const std::string rest = t.str().substr(b.size());
        if (first.empty()) first = rest;
        EXPECT_EQ(rest, first) << top;
    }
}

}  // namespace
