// The majority voter and the voter with error output: whole files for the
// counter example and the counter rules of their names.
#include <gtest/gtest.h>

#include "support/examples.h"
#include "support/render.h"

namespace {

using vtest::DesignBuilder;

TEST(Voter, CounterWholeFile)
{
    const auto t = vtest::module(velmorn::emitVoter, vtest::cntDesign(), "_voter", "TMR");
    EXPECT_EQ(t.path(), "cnt/modules/cnt_voter.vhd");
    EXPECT_GOLDEN(t.str(), "modules/voter_counter.vhd");
}

// No generics and one OUT port: no generic block, one output line without
// ";", three names in the sensitivity list; IN and INOUT ports never appear.
TEST(Voter, OneOutputNoGenerics)
{
    const auto d = DesignBuilder("AND2", "and2").in("A").in("B").inout("D").out("Y").build();
    const auto t = vtest::module(velmorn::emitVoter, d, "_voter", "TMR");
    EXPECT_GOLDEN(t.str(), "modules/voter_one_output_no_generics.vhd");
}

TEST(VoterWithError, CounterWholeFile)
{
    const auto t = vtest::module(velmorn::emitVoterWithError, vtest::cntDesign(), "_vot_prm2", "3FU-3V");
    EXPECT_EQ(t.path(), "cnt/modules/cnt_vot_prm2.vhd");
    EXPECT_GOLDEN(t.str(), "modules/voter_with_error_counter.vhd");
}

// Three OUT ports: the port position (signals) and the copy number (inputs)
// are independent counters.
TEST(VoterWithError, ThreeOutputsCountPositionsAndCopiesApart)
{
    const auto d = DesignBuilder("ALU", "alu").in("OP").out("A").out("B").out("C").build();
    const std::string s = vtest::module(velmorn::emitVoterWithError, d, "_v_prm", "TMR+3CH").str();
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

TEST(VoterWithError, OneOutputHasOneErrorOperand)
{
    const auto d = DesignBuilder("AND2", "and2").in("A").out("Y").build();
    const std::string s = vtest::module(velmorn::emitVoterWithError, d, "_v_prm", "TMR+3CH").str();
    EXPECT_NE(s.find("   process(Y_v_prm1_in,Y_v_prm2_in,Y_v_prm3_in)\n"), std::string::npos);
    EXPECT_NE(s.find("\n   Err_v_prm_out <= Y_v_prm1_sig_cmp;\n\n   Y_v_prm_out <= Y_v_prm1_sigb;\n\nend "),
              std::string::npos);
}

}  // namespace
