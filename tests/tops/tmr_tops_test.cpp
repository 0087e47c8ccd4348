// The three-copy top levels: TMR, 3FU-3V and TMR+3CH.
#include <gtest/gtest.h>

#include "support/examples.h"
#include "support/render.h"
#include "tops/tops.h"

namespace {

using vtest::DesignBuilder;

bool contains(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

// Counter with one input and one vector output, as in the examples of the
// three-copy top levels.
velmorn::Design smallCnt()
{
    return DesignBuilder("CNT").generic("W", " integer := 4").in("CLK").out("Q", " std_logic_vector(W-1 downto 0)").build();
}

TEST(TmrTop, CounterWholeFile)
{
    const auto t = vtest::top(velmorn::emitTmrTop, vtest::cntDesign(), velmorn::TmrTopNames{"_prm", "_voter"}, "_tmr", "TMR");
    EXPECT_EQ(t.path(), "cnt/cnt_tmr.vhd");
    EXPECT_GOLDEN(t.str(), "tops/tmr_counter.vhd");
}

// No generics: no generic block anywhere; each copy drives an INOUT port of
// its own signal, and the voter drives the top's INOUT port from them, once.
TEST(TmrTop, InoutDrivesAreVotedAndNoGenerics)
{
    const auto d = DesignBuilder("IOB", "iob").in("A").inout("D").out("Q").out("R").build();
    const std::string s = vtest::top(velmorn::emitTmrTop, d, velmorn::TmrTopNames{"_prm", "_voter"}, "_tmr", "TMR").str();
    EXPECT_FALSE(contains(s, "generic"));
    EXPECT_TRUE(contains(s, "entity IOB is\n   port(\n      A : IN  std_logic;\n      D : INOUT  std_logic;\n"
                            "      Q : OUT  std_logic;\n      R : OUT  std_logic\n   );\n"));
    EXPECT_TRUE(contains(s, "component IOB_prm2 is \n   port(\n      A_prm2 : IN  std_logic;\n"
                            "      D_prm2 : INOUT  std_logic;\n"));
    EXPECT_TRUE(contains(s, "IOB3_prm : IOB_prm3\n   port map(\n      A_prm3 => A,\n      D_prm3 => D_prm3_sig,\n"
                            "      Q_prm3 => Q_prm3_sig,\n      R_prm3 => R_prm3_sig\n   );\n\n"));
    EXPECT_TRUE(contains(s, "signal R_prm3_sig :   std_logic;\nsignal D_prm3_sig :   std_logic;\n"));
    EXPECT_TRUE(contains(s, "IOB_voter1 : IOB_voter\n   port map(\n"));
    EXPECT_TRUE(contains(s, "      R_voter3_in => R_prm3_sig,\n      D_voter1_in => D_prm1_sig,\n"
                            "      D_voter2_in => D_prm2_sig,\n      D_voter3_in => D_prm3_sig,\n"
                            "      Q_voter_out => Q,\n      R_voter_out => R,\n      D_voter_out => D\n"
                            "   );\n\nend IOB_BEHAV;"));
    EXPECT_EQ(s.find("=> D,"), std::string::npos);
}

TEST(ThreeVoterTop, CounterWholeFile)
{
    const auto t = vtest::top(velmorn::emitThreeVoterTop, smallCnt(), velmorn::ThreeVoterTopNames{"_prm", "_vot_prm", "_fdec_prm"}, "_3fu_3v", "3FU-3V");
    EXPECT_EQ(t.path(), "cnt/cnt_3fu_3v.vhd");
    EXPECT_GOLDEN(t.str(), "tops/three_voter_counter.vhd");
}

// Ports grouped by copy (IN, INOUT, OUT each), INOUT ports triplicated, no
// generic blocks without generics, two OUT ports with the last-element rule
// on the copy instances only.
TEST(ThreeVoterTop, GroupsPortsByCopy)
{
    const auto d = DesignBuilder("IOB", "iob").in("A").inout("D").out("Q").out("R").build();
    const std::string s = vtest::top(velmorn::emitThreeVoterTop, d, velmorn::ThreeVoterTopNames{"_prm", "_vot_prm", "_fdec_prm"}, "_3fu_3v", "3FU-3V").str();
    EXPECT_FALSE(contains(s, "generic"));
    EXPECT_TRUE(contains(s, "   port(\n"
                            "      A1 : IN  std_logic;\n      D1 : INOUT  std_logic;\n"
                            "      Q1 : OUT  std_logic;\n      R1 : OUT  std_logic;\n"
                            "      A2 : IN  std_logic;\n      D2 : INOUT  std_logic;\n"
                            "      Q2 : OUT  std_logic;\n      R2 : OUT  std_logic;\n"
                            "      A3 : IN  std_logic;\n      D3 : INOUT  std_logic;\n"
                            "      Q3 : OUT  std_logic;\n      R3 : OUT  std_logic;\n"
                            "      Err_prm1 : OUT std_logic;\n"));
    EXPECT_TRUE(contains(s, "IOB2_prm : IOB_prm2\n   port map(\n      A_prm2 => A2,\n      D_prm2 => D_prm2_sig,\n"
                            "      Q_prm2 => Q_prm2_sig,\n      R_prm2 => R_prm2_sig\n   );\n\n"));
    EXPECT_TRUE(contains(s, "IOB_vot_prm21 : IOB_vot_prm2\n   port map(\n"
                            "      Q_vot_prm21_in => Q_prm1_sig,\n      Q_vot_prm22_in => Q_prm2_sig,\n"
                            "      Q_vot_prm23_in => Q_prm3_sig,\n      R_vot_prm21_in => R_prm1_sig,\n"
                            "      R_vot_prm22_in => R_prm2_sig,\n      R_vot_prm23_in => R_prm3_sig,\n"
                            "      D_vot_prm21_in => D_prm1_sig,\n      D_vot_prm22_in => D_prm2_sig,\n"
                            "      D_vot_prm23_in => D_prm3_sig,\n"
                            "      Q_vot_prm2_out => Q2,\n      R_vot_prm2_out => R2,\n      D_vot_prm2_out => D2,\n"
                            "      Err_vot_prm2_out => Err_v_prm2\n   );\n\n"));
}

TEST(CheckedTmrTop, CounterWholeFile)
{
    const auto t = vtest::top(velmorn::emitCheckedTmrTop, smallCnt(), velmorn::CheckedTmrTopNames{"_prm", "_v_prm"}, "_tmr3ch", "TMR+3CH");
    EXPECT_EQ(t.path(), "cnt/cnt_tmr3ch.vhd");
    EXPECT_GOLDEN(t.str(), "tops/checked_tmr_counter.vhd");
}

// Two OUT ports and an INOUT port without generics: every OUT line of the
// entity, the module components and the instances keeps its separator.
TEST(CheckedTmrTop, NoLastElementTestAnywhere)
{
    const auto d = DesignBuilder("IOB", "iob").in("A").inout("D").out("Q").out("R").build();
    const std::string s = vtest::top(velmorn::emitCheckedTmrTop, d, velmorn::CheckedTmrTopNames{"_prm", "_v_prm"}, "_tmr3ch", "TMR+3CH").str();
    EXPECT_FALSE(contains(s, "generic"));
    EXPECT_TRUE(contains(s, "      D : INOUT  std_logic;\n      Q : OUT  std_logic;\n      R : OUT  std_logic;\n"
                            "      Err_prm1 : OUT std_logic;\n"));
    EXPECT_TRUE(contains(s, "component IOB_prm3 is \n   port(\n      A_prm3 : IN  std_logic;\n"
                            "      D_prm3 : INOUT  std_logic;\n      Q_prm3 : OUT  std_logic;\n"
                            "      R_prm3 : OUT  std_logic;\n      Err_prm3 : OUT std_logic\n   );\n"));
    EXPECT_TRUE(contains(s, "IOB1_prm : IOB_prm1\n   port map(\n      A_prm1 => A,\n      D_prm1 => D_prm1_sig,\n"
                            "      Q_prm1 => Q_prm1_sig,\n      R_prm1 => R_prm1_sig,\n"
                            "      Err_prm1 => Err_prm1\n   );\n\n"));
    EXPECT_TRUE(contains(s, "      Q_v_prm_out => Q,\n      R_v_prm_out => R,\n      D_v_prm_out => D,\n"
                            "      Err_v_prm_out => Err_prm_v\n"));
}

}  // namespace
