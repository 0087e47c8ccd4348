// The majority voter and the voter with error output: whole files for the
// counter example and the counter rules of their names.
#include <gtest/gtest.h>

#include "components/components.h"
#include "support/examples.h"

namespace {

using vtest::DesignBuilder;
using vtest::prologue;

TEST(Voter, CounterWholeFile)
{
    const auto t = velmorn::GenerateVoter(vtest::cntDesign(), "_voter", "TMR");
    EXPECT_EQ(t.path(), "cnt/modules/cnt_voter.vhd");
    const std::string expected =
        prologue("cnt/modules/cnt_voter.vhd", "TMR") + "entity CNT_voter is\n" + vtest::kCntGD +
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
        "end entity CNT_voter;\n\n\n"
        "architecture CNT_voter_BEHAV of CNT_voter is\n"
        "begin\n"
        "   process(Q_voter1_in,Q_voter2_in,Q_voter3_in,Z_voter1_in,Z_voter2_in,Z_voter3_in)\n"
        "    begin\n"
        "      Q_voter_out <= (Q_voter1_in and Q_voter2_in) or (Q_voter2_in and Q_voter3_in) or "
        "(Q_voter1_in and Q_voter3_in);\n"
        "      Z_voter_out <= (Z_voter1_in and Z_voter2_in) or (Z_voter2_in and Z_voter3_in) or "
        "(Z_voter1_in and Z_voter3_in);\n"
        "   end process;\n"
        "end CNT_voter_BEHAV;";
    EXPECT_EQ(t.str(), expected);
}

// No generics and one OUT port: no generic block, one output line without
// ";", three names in the sensitivity list; IN and INOUT ports never appear.
TEST(Voter, OneOutputNoGenerics)
{
    const auto d = DesignBuilder("AND2", "and2").in("A").in("B").inout("D").out("Y").build();
    const auto t = velmorn::GenerateVoter(d, "_voter", "TMR");
    const std::string expected = prologue("and2/modules/and2_voter.vhd", "TMR") +
                                 "entity AND2_voter is\n"
                                 "   port(\n"
                                 "      Y_voter1_in : IN  std_logic;\n"
                                 "      Y_voter2_in : IN  std_logic;\n"
                                 "      Y_voter3_in : IN  std_logic;\n"
                                 "      Y_voter_out : OUT  std_logic\n"
                                 "   );\n"
                                 "end entity AND2_voter;\n\n\n"
                                 "architecture AND2_voter_BEHAV of AND2_voter is\n"
                                 "begin\n"
                                 "   process(Y_voter1_in,Y_voter2_in,Y_voter3_in)\n"
                                 "    begin\n"
                                 "      Y_voter_out <= (Y_voter1_in and Y_voter2_in) or (Y_voter2_in and Y_voter3_in) or "
                                 "(Y_voter1_in and Y_voter3_in);\n"
                                 "   end process;\n"
                                 "end AND2_voter_BEHAV;";
    EXPECT_EQ(t.str(), expected);
}

TEST(VoterWithErr, CounterWholeFile)
{
    const auto t = velmorn::GenerateVoterWithErr(vtest::cntDesign(), "_vot_prm2", "3FU-3V");
    EXPECT_EQ(t.path(), "cnt/modules/cnt_vot_prm2.vhd");
    const std::string expected =
        prologue("cnt/modules/cnt_vot_prm2.vhd", "3FU-3V") + "entity CNT_vot_prm2 is\n" + vtest::kCntGD +
        "   port(\n"
        "      Q_vot_prm21_in : IN std_logic_vector(W-1 downto 0);\n"
        "      Q_vot_prm22_in : IN std_logic_vector(W-1 downto 0);\n"
        "      Q_vot_prm23_in : IN std_logic_vector(W-1 downto 0);\n"
        "      Z_vot_prm21_in : IN  std_logic;\n"
        "      Z_vot_prm22_in : IN  std_logic;\n"
        "      Z_vot_prm23_in : IN  std_logic;\n"
        "      Q_vot_prm2_out : OUT std_logic_vector(W-1 downto 0);\n"
        "      Z_vot_prm2_out : OUT  std_logic;\n"
        "      Err_vot_prm2_out : OUT std_logic\n"
        "   );\n"
        "end entity CNT_vot_prm2;\n\n\n"
        "architecture CNT_vot_prm2_BEHAV of CNT_vot_prm2 is\n"
        "   signal Q_vot_prm21_siga :  std_logic_vector(W-1 downto 0);\n"
        "   signal Q_vot_prm21_sigb :  std_logic_vector(W-1 downto 0);\n"
        "   signal Q_vot_prm21_sig_cmp :  std_logic;\n"
        "   signal Z_vot_prm22_siga :   std_logic;\n"
        "   signal Z_vot_prm22_sigb :   std_logic;\n"
        "   signal Z_vot_prm22_sig_cmp :  std_logic;\n"
        "begin\n"
        "   process(Q_vot_prm21_in,Q_vot_prm22_in,Q_vot_prm23_in,Z_vot_prm21_in,Z_vot_prm22_in,Z_vot_prm23_in)\n"
        "    begin\n"
        "      Q_vot_prm21_siga <= (Q_vot_prm21_in and Q_vot_prm22_in) or (Q_vot_prm22_in and Q_vot_prm23_in) or "
        "(Q_vot_prm21_in and Q_vot_prm23_in);\n"
        "      Z_vot_prm22_siga <= (Z_vot_prm21_in and Z_vot_prm22_in) or (Z_vot_prm22_in and Z_vot_prm23_in) or "
        "(Z_vot_prm21_in and Z_vot_prm23_in);\n"
        "\n"
        "      Q_vot_prm21_sigb <= (Q_vot_prm21_in and Q_vot_prm22_in) or (Q_vot_prm22_in and Q_vot_prm23_in) or "
        "(Q_vot_prm21_in and Q_vot_prm23_in);\n"
        "      Z_vot_prm22_sigb <= (Z_vot_prm21_in and Z_vot_prm22_in) or (Z_vot_prm22_in and Z_vot_prm23_in) or "
        "(Z_vot_prm21_in and Z_vot_prm23_in);\n"
        "\n"
        "   end process;\n"
        "\n"
        "   Q_vot_prm21_sig_cmp <= '0' when Q_vot_prm21_siga = Q_vot_prm21_sigb else '1';\n"
        "   Z_vot_prm22_sig_cmp <= '0' when Z_vot_prm22_siga = Z_vot_prm22_sigb else '1';\n"
        "\n"
        "   Err_vot_prm2_out <= Q_vot_prm21_sig_cmp or Z_vot_prm22_sig_cmp;\n"
        "\n"
        "   Q_vot_prm2_out <= Q_vot_prm21_sigb;\n"
        "   Z_vot_prm2_out <= Z_vot_prm22_sigb;\n"
        "\n"
        "end CNT_vot_prm2_BEHAV;";
    EXPECT_EQ(t.str(), expected);
}

// Three OUT ports: the port position (signals) and the copy number (inputs)
// are independent counters.
TEST(VoterWithErr, ThreeOutputsCountPositionsAndCopiesApart)
{
    const auto d = DesignBuilder("ALU", "alu").in("OP").out("A").out("B").out("C").build();
    const std::string s = velmorn::GenerateVoterWithErr(d, "_v_prm", "TMR+3CH").str();
    EXPECT_EQ(s.find("generic"), std::string::npos);
    EXPECT_EQ(s.find("OP"), std::string::npos);
    EXPECT_NE(s.find("entity ALU_v_prm is\n   port(\n      A_v_prm1_in : IN  std_logic;\n"), std::string::npos);
    EXPECT_NE(s.find("      C_v_prm_out : OUT  std_logic;\n      Err_v_prm_out : OUT std_logic\n   );\n"),
              std::string::npos);
    EXPECT_NE(s.find("   signal C_v_prm3_siga :   std_logic;\n"
                     "   signal C_v_prm3_sigb :   std_logic;\n"
                     "   signal C_v_prm3_sig_cmp :  std_logic;\nbegin\n"),
              std::string::npos);
    EXPECT_NE(s.find("      C_v_prm3_sigb <= (C_v_prm1_in and C_v_prm2_in) or (C_v_prm2_in and C_v_prm3_in) or "
                     "(C_v_prm1_in and C_v_prm3_in);\n\n   end process;\n\n"),
              std::string::npos);
    EXPECT_NE(s.find("   B_v_prm2_sig_cmp <= '0' when B_v_prm2_siga = B_v_prm2_sigb else '1';\n"), std::string::npos);
    EXPECT_NE(s.find("   Err_v_prm_out <= A_v_prm1_sig_cmp or B_v_prm2_sig_cmp or C_v_prm3_sig_cmp;\n\n"
                     "   A_v_prm_out <= A_v_prm1_sigb;\n"
                     "   B_v_prm_out <= B_v_prm2_sigb;\n"
                     "   C_v_prm_out <= C_v_prm3_sigb;\n\n"
                     "end ALU_v_prm_BEHAV;"),
              std::string::npos);
}

TEST(VoterWithErr, OneOutputHasOneErrorOperand)
{
    const auto d = DesignBuilder("AND2", "and2").in("A").out("Y").build();
    const std::string s = velmorn::GenerateVoterWithErr(d, "_v_prm", "TMR+3CH").str();
    EXPECT_NE(s.find("   process(Y_v_prm1_in,Y_v_prm2_in,Y_v_prm3_in)\n"), std::string::npos);
    EXPECT_NE(s.find("\n   Err_v_prm_out <= Y_v_prm1_sig_cmp;\n\n   Y_v_prm_out <= Y_v_prm1_sigb;\n\nend "),
              std::string::npos);
}

}  // namespace
