// The three-copy top levels: TMR, 3FU-3V and TMR+3CH.
#include <gtest/gtest.h>

#include "support/examples.h"
#include "top/top.h"

namespace {

using vtest::DesignBuilder;
using vtest::kCntGD;
using vtest::kCntGM;
using vtest::prologue;

bool contains(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

// Counter with one input and one vector output, as in the examples of the
// three-copy top levels.
velmorn::Design smallCnt()
{
    return DesignBuilder("CNT").generic("W", " integer := 4").in("CLK").out("Q", " std_logic_vector(W-1 downto 0)").build();
}

TEST(TopTmr, CounterWholeFile)
{
    const auto t = velmorn::GenerateTopTMR(vtest::cntDesign(), "_prm", "_voter", "_tmr", "TMR");
    EXPECT_EQ(t.path(), "cnt/cnt_tmr.vhd");
    auto component = [](const std::string& c) {
        return "component CNT_prm" + c + " is \n" + kCntGD +
               "   port(\n"
               "      CLK_prm" + c + " : IN  std_logic;\n"
               "      RST_prm" + c + " : IN  std_logic;\n"
               "      Q_prm" + c + " : OUT std_logic_vector(W-1 downto 0);\n"
               "      Z_prm" + c + " : OUT  std_logic\n"
               "   );\n"
               "end component;\n\n";
    };
    auto instance = [](const std::string& c) {
        return "CNT" + c + "_prm : CNT_prm" + c + "\n" + kCntGM +
               "   port map(\n"
               "      CLK_prm" + c + " => CLK,\n"
               "      RST_prm" + c + " => RST,\n"
               "      Q_prm" + c + " => Q_prm" + c + "_sig,\n"
               "      Z_prm" + c + " => Z_prm" + c + "_sig\n"
               "   );\n\n";
    };
    const std::string expected =
        prologue("cnt/cnt_tmr.vhd", "TMR") + "entity CNT is\n" + kCntGD +
        "   port(\n"
        "      CLK : IN  std_logic;\n"
        "      RST : IN  std_logic;\n"
        "      Q : OUT std_logic_vector(W-1 downto 0);\n"
        "      Z : OUT  std_logic\n"
        "   );\n"
        "end entity CNT;\n\n\n"
        "architecture CNT_BEHAV of CNT is\n\n" +
        component("1") + component("2") + component("3") + "component CNT_voter is \n" + kCntGD +
        "   port(\n"
        "      Q_voter1_in : IN std_logic_vector(W-1 downto 0);\n"
        "      Q_voter2_in : IN std_logic_vector(W-1 downto 0);\n"
        "      Q_voter3_in : IN std_logic_vector(W-1 downto 0);\n"
        "      Z_voter1_in : IN  std_logic;\n"
        "      Z_voter2_in : IN  std_logic;\n"
        "      Z_voter3_in : IN  std_logic;\n"
        "      Q_voter_out : OUT std_logic_vector(W-1 downto 0);\n"
        "      Z_voter_out : OUT  std_logic\n"
        "   );\n"
        "end component;\n\n"
        "signal Q_prm1_sig :  std_logic_vector(W-1 downto 0);\n"
        "signal Z_prm1_sig :   std_logic;\n"
        "signal Q_prm2_sig :  std_logic_vector(W-1 downto 0);\n"
        "signal Z_prm2_sig :   std_logic;\n"
        "signal Q_prm3_sig :  std_logic_vector(W-1 downto 0);\n"
        "signal Z_prm3_sig :   std_logic;\n"
        "\n"
        "begin\n" +
        instance("1") + instance("2") + instance("3") + "CNT_voter1 : CNT_voter\n" + kCntGM +
        "   port map(\n"
        "      Q_voter1_in => Q_prm1_sig,\n"
        "      Q_voter2_in => Q_prm2_sig,\n"
        "      Q_voter3_in => Q_prm3_sig,\n"
        "      Z_voter1_in => Z_prm1_sig,\n"
        "      Z_voter2_in => Z_prm2_sig,\n"
        "      Z_voter3_in => Z_prm3_sig,\n"
        "      Q_voter_out => Q,\n"
        "      Z_voter_out => Z\n"
        "   );\n\n"
        "end CNT_BEHAV;";
    EXPECT_EQ(t.str(), expected);
}

// No generics: no generic block anywhere; INOUT ports are shared by the copies.
TEST(TopTmr, InoutSharedAndNoGenerics)
{
    const auto d = DesignBuilder("IOB", "iob").in("A").inout("D").out("Q").out("R").build();
    const std::string s = velmorn::GenerateTopTMR(d, "_prm", "_voter", "_tmr", "TMR").str();
    EXPECT_FALSE(contains(s, "generic"));
    EXPECT_TRUE(contains(s, "entity IOB is\n   port(\n      A : IN  std_logic;\n      D : INOUT  std_logic;\n"
                            "      Q : OUT  std_logic;\n      R : OUT  std_logic\n   );\n"));
    EXPECT_TRUE(contains(s, "component IOB_prm2 is \n   port(\n      A_prm2 : IN  std_logic;\n"
                            "      D_prm2 : INOUT  std_logic;\n"));
    EXPECT_TRUE(contains(s, "IOB3_prm : IOB_prm3\n   port map(\n      A_prm3 => A,\n      D_prm3 => D,\n"
                            "      Q_prm3 => Q_prm3_sig,\n      R_prm3 => R_prm3_sig\n   );\n\n"));
    EXPECT_TRUE(contains(s, "IOB_voter1 : IOB_voter\n   port map(\n"));
    EXPECT_TRUE(contains(s, "      R_voter3_in => R_prm3_sig,\n      Q_voter_out => Q,\n      R_voter_out => R\n"
                            "   );\n\nend IOB_BEHAV;"));
}

TEST(TopTmr3fu3v, CounterWholeFile)
{
    const auto t = velmorn::GenerateTopTMR3FU3V(smallCnt(), "_prm", "_vot_prm", "_fdec_prm", "_3fu_3v", "3FU-3V");
    EXPECT_EQ(t.path(), "cnt/cnt_3fu_3v.vhd");
    auto component = [](const std::string& c) {
        return "component CNT_prm" + c + " is \n" + kCntGD +
               "   port(\n"
               "      CLK_prm" + c + " : IN  std_logic;\n"
               "      Q_prm" + c + " : OUT std_logic_vector(W-1 downto 0)\n"
               "   );\n"
               "end component;\n\n";
    };
    auto voter = [](const std::string& v) {
        return "component CNT_vot_prm" + v + " is \n" + kCntGD +
               "   port(\n"
               "      Q_vot_prm" + v + "1_in : IN std_logic_vector(W-1 downto 0);\n"
               "      Q_vot_prm" + v + "2_in : IN std_logic_vector(W-1 downto 0);\n"
               "      Q_vot_prm" + v + "3_in : IN std_logic_vector(W-1 downto 0);\n"
               "      Q_vot_prm" + v + "_out : OUT std_logic_vector(W-1 downto 0);\n"
               "      Err_vot_prm" + v + "_out : OUT std_logic\n"
               "   );\n"
               "end component;\n\n";
    };
    auto instance = [](const std::string& c) {
        return "CNT" + c + "_prm : CNT_prm" + c + "\n" + kCntGM +
               "   port map(\n"
               "      CLK_prm" + c + " => CLK" + c + ",\n"
               "      Q_prm" + c + " => Q_prm" + c + "_sig\n"
               "   );\n\n";
    };
    auto voterInstance = [](const std::string& v) {
        return "CNT_vot_prm" + v + "1 : CNT_vot_prm" + v + "\n" + kCntGM +
               "   port map(\n"
               "      Q_vot_prm" + v + "1_in => Q_prm1_sig,\n"
               "      Q_vot_prm" + v + "2_in => Q_prm2_sig,\n"
               "      Q_vot_prm" + v + "3_in => Q_prm3_sig,\n"
               "      Q_vot_prm" + v + "_out => Q" + v + ",\n"
               "      Err_vot_prm" + v + "_out => Err_v_prm" + v + "\n"
               "   );\n\n";
    };
    const std::string expected =
        prologue("cnt/cnt_3fu_3v.vhd", "3FU-3V") + "entity CNT is\n" + kCntGD +
        "   port(\n"
        "      CLK1 : IN  std_logic;\n"
        "      Q1 : OUT std_logic_vector(W-1 downto 0);\n"
        "      CLK2 : IN  std_logic;\n"
        "      Q2 : OUT std_logic_vector(W-1 downto 0);\n"
        "      CLK3 : IN  std_logic;\n"
        "      Q3 : OUT std_logic_vector(W-1 downto 0);\n"
        "      Err_prm1 : OUT std_logic;\n"
        "      Err_prm2 : OUT std_logic;\n"
        "      Err_prm3 : OUT std_logic;\n"
        "      Err_v_prm1 : OUT std_logic;\n"
        "      Err_v_prm2 : OUT std_logic;\n"
        "      Err_v_prm3 : OUT std_logic;\n"
        "      Err_prm_d : OUT std_logic\n"
        "   );\n"
        "end entity CNT;\n\n\n"
        "architecture CNT_BEHAV of CNT is\n\n" +
        component("1") + component("2") + component("3") + voter("1") + voter("2") + voter("3") +
        "component CNT_fdec_prm is \n" + kCntGD +
        "   port(\n"
        "      Q_fdec_prm1_in : IN std_logic_vector(W-1 downto 0);\n"
        "      Q_fdec_prm2_in : IN std_logic_vector(W-1 downto 0);\n"
        "      Q_fdec_prm3_in : IN std_logic_vector(W-1 downto 0);\n"
        "      Err_fdec_prm1 : OUT std_logic;\n"
        "      Err_fdec_prm2 : OUT std_logic;\n"
        "      Err_fdec_prm3 : OUT std_logic;\n"
        "      Err_fdec_prm : OUT std_logic\n"
        "   );\n"
        "end component;\n\n"
        "signal Q_prm1_sig :  std_logic_vector(W-1 downto 0);\n"
        "signal Q_prm2_sig :  std_logic_vector(W-1 downto 0);\n"
        "signal Q_prm3_sig :  std_logic_vector(W-1 downto 0);\n"
        "\n"
        "begin\n" +
        instance("1") + instance("2") + instance("3") + "CNT_fdec_prm1 : CNT_fdec_prm\n" + kCntGM +
        "   port map(\n"
        "      Q_fdec_prm1_in => Q_prm1_sig,\n"
        "      Q_fdec_prm2_in => Q_prm2_sig,\n"
        "      Q_fdec_prm3_in => Q_prm3_sig,\n"
        "      Err_fdec_prm1 => Err_prm1,\n"
        "      Err_fdec_prm2 => Err_prm2,\n"
        "      Err_fdec_prm3 => Err_prm3,\n"
        "      Err_fdec_prm => Err_prm_d\n"
        "   );\n\n" +
        voterInstance("1") + voterInstance("2") + voterInstance("3") + "end CNT_BEHAV;";
    EXPECT_EQ(t.str(), expected);
}

// Ports grouped by copy (IN, INOUT, OUT each), INOUT ports triplicated, no
// generic blocks without generics, two OUT ports with the last-element rule
// on the copy instances only.
TEST(TopTmr3fu3v, GroupsPortsByCopy)
{
    const auto d = DesignBuilder("IOB", "iob").in("A").inout("D").out("Q").out("R").build();
    const std::string s = velmorn::GenerateTopTMR3FU3V(d, "_prm", "_vot_prm", "_fdec_prm", "_3fu_3v", "3FU-3V").str();
    EXPECT_FALSE(contains(s, "generic"));
    EXPECT_TRUE(contains(s, "   port(\n"
                            "      A1 : IN  std_logic;\n      D1 : INOUT  std_logic;\n"
                            "      Q1 : OUT  std_logic;\n      R1 : OUT  std_logic;\n"
                            "      A2 : IN  std_logic;\n      D2 : INOUT  std_logic;\n"
                            "      Q2 : OUT  std_logic;\n      R2 : OUT  std_logic;\n"
                            "      A3 : IN  std_logic;\n      D3 : INOUT  std_logic;\n"
                            "      Q3 : OUT  std_logic;\n      R3 : OUT  std_logic;\n"
                            "      Err_prm1 : OUT std_logic;\n"));
    EXPECT_TRUE(contains(s, "IOB2_prm : IOB_prm2\n   port map(\n      A_prm2 => A2,\n      D_prm2 => D2,\n"
                            "      Q_prm2 => Q_prm2_sig,\n      R_prm2 => R_prm2_sig\n   );\n\n"));
    EXPECT_TRUE(contains(s, "IOB_vot_prm21 : IOB_vot_prm2\n   port map(\n"
                            "      Q_vot_prm21_in => Q_prm1_sig,\n      Q_vot_prm22_in => Q_prm2_sig,\n"
                            "      Q_vot_prm23_in => Q_prm3_sig,\n      R_vot_prm21_in => R_prm1_sig,\n"
                            "      R_vot_prm22_in => R_prm2_sig,\n      R_vot_prm23_in => R_prm3_sig,\n"
                            "      Q_vot_prm2_out => Q2,\n      R_vot_prm2_out => R2,\n"
                            "      Err_vot_prm2_out => Err_v_prm2\n   );\n\n"));
}

TEST(TopTmr3ch, CounterWholeFile)
{
    const auto t = velmorn::GenerateTopTMR3(smallCnt(), "_prm", "_v_prm", "_tmr3ch", "TMR+3CH");
    EXPECT_EQ(t.path(), "cnt/cnt_tmr3ch.vhd");
    auto component = [](const std::string& c) {
        return "component CNT_prm" + c + " is \n" + kCntGD +
               "   port(\n"
               "      CLK_prm" + c + " : IN  std_logic;\n"
               "      Q_prm" + c + " : OUT std_logic_vector(W-1 downto 0);\n"
               "      Err_prm" + c + " : OUT std_logic\n"
               "   );\n"
               "end component;\n\n";
    };
    auto instance = [](const std::string& c) {
        return "CNT" + c + "_prm : CNT_prm" + c + "\n" + kCntGM +
               "   port map(\n"
               "      CLK_prm" + c + " => CLK,\n"
               "      Q_prm" + c + " => Q_prm" + c + "_sig,\n"
               "      Err_prm" + c + " => Err_prm" + c + "\n"
               "   );\n\n";
    };
    const std::string expected =
        prologue("cnt/cnt_tmr3ch.vhd", "TMR+3CH") + "entity CNT is\n" + kCntGD +
        "   port(\n"
        "      CLK : IN  std_logic;\n"
        "      Q : OUT std_logic_vector(W-1 downto 0);\n"
        "      Err_prm1 : OUT std_logic;\n"
        "      Err_prm2 : OUT std_logic;\n"
        "      Err_prm3 : OUT std_logic;\n"
        "      Err_prm_v : OUT std_logic\n"
        "   );\n"
        "end entity CNT;\n\n\n"
        "architecture CNT_BEHAV of CNT is\n\n" +
        component("1") + component("2") + component("3") + "component CNT_v_prm is \n" + kCntGD +
        "   port(\n"
        "      Q_v_prm1_in : IN std_logic_vector(W-1 downto 0);\n"
        "      Q_v_prm2_in : IN std_logic_vector(W-1 downto 0);\n"
        "      Q_v_prm3_in : IN std_logic_vector(W-1 downto 0);\n"
        "      Q_v_prm_out : OUT std_logic_vector(W-1 downto 0);\n"
        "      Err_v_prm_out : OUT std_logic\n"
        "   );\n"
        "end component;\n\n"
        "signal Q_prm1_sig :  std_logic_vector(W-1 downto 0);\n"
        "signal Q_prm2_sig :  std_logic_vector(W-1 downto 0);\n"
        "signal Q_prm3_sig :  std_logic_vector(W-1 downto 0);\n"
        "\n"
        "begin\n" +
        instance("1") + instance("2") + instance("3") + "CNT_v_prm1 : CNT_v_prm\n" + kCntGM +
        "   port map(\n"
        "      Q_v_prm1_in => Q_prm1_sig,\n"
        "      Q_v_prm2_in => Q_prm2_sig,\n"
        "      Q_v_prm3_in => Q_prm3_sig,\n"
        "      Q_v_prm_out => Q,\n"
        "      Err_v_prm_out => Err_prm_v\n"
        "   );\n\n"
        "end CNT_BEHAV;";
    EXPECT_EQ(t.str(), expected);
}

// Two OUT ports and an INOUT port without generics: every OUT line of the
// entity, the module components and the instances keeps its separator.
TEST(TopTmr3ch, NoLastElementTestAnywhere)
{
    const auto d = DesignBuilder("IOB", "iob").in("A").inout("D").out("Q").out("R").build();
    const std::string s = velmorn::GenerateTopTMR3(d, "_prm", "_v_prm", "_tmr3ch", "TMR+3CH").str();
    EXPECT_FALSE(contains(s, "generic"));
    EXPECT_TRUE(contains(s, "      D : INOUT  std_logic;\n      Q : OUT  std_logic;\n      R : OUT  std_logic;\n"
                            "      Err_prm1 : OUT std_logic;\n"));
    EXPECT_TRUE(contains(s, "component IOB_prm3 is \n   port(\n      A_prm3 : IN  std_logic;\n"
                            "      D_prm3 : INOUT  std_logic;\n      Q_prm3 : OUT  std_logic;\n"
                            "      R_prm3 : OUT  std_logic;\n      Err_prm3 : OUT std_logic\n   );\n"));
    EXPECT_TRUE(contains(s, "IOB1_prm : IOB_prm1\n   port map(\n      A_prm1 => A,\n      D_prm1 => D,\n"
                            "      Q_prm1 => Q_prm1_sig,\n      R_prm1 => R_prm1_sig,\n"
                            "      Err_prm1 => Err_prm1\n   );\n\n"));
    EXPECT_TRUE(contains(s, "      Q_v_prm_out => Q,\n      R_v_prm_out => R,\n      Err_v_prm_out => Err_prm_v\n"));
}

}  // namespace
