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
// ";", three names in the sensitivity list; IN ports never appear.
TEST(Voter, OneOutputNoGenerics)
{
    const auto d = DesignBuilder("AND2", "and2").in("A").in("B").out("Y").build();
    const auto t = vtest::module(velmorn::emitVoter, d, "_voter", "TMR");
    EXPECT_GOLDEN(t.str(), "modules/voter_one_output_no_generics.vhd");
}

// Bit types are voted per bit; any other type, and every INOUT drive (so that
// a released bus stays 'Z'), with equality: copy 1 when another copy agrees
// with it, else copy 2.
TEST(Voter, OtherTypesAndInoutDrivesAreVotedWithEquality)
{
    const auto d = DesignBuilder("U", "u")
                       .in("A")
                       .inout("D", " std_logic_vector(7 downto 0)")
                       .out("N", " integer range 0 to 15")
                       .out("S", " work.types.state_t")
                       .out("V", " ieee.numeric_std.UNSIGNED(3 downto 0)")
                       .out("B", " Boolean")
                       .build();
    const std::string s = vtest::module(velmorn::emitVoter, d, "_voter", "TMR").str();
    auto equality = [](const std::string& p) {
        const std::string n = p + "_voter";
        return "      if " + n + "1_in = " + n + "2_in or " + n + "1_in = " + n + "3_in then " + n + "_out <= " + n +
               "1_in; else " + n + "_out <= " + n + "2_in; end if;\n";
    };
    EXPECT_NE(s.find(equality("N")), std::string::npos) << s;
    EXPECT_NE(s.find(equality("S")), std::string::npos);
    EXPECT_NE(s.find(equality("D")), std::string::npos);
    EXPECT_NE(s.find("      V_voter_out <= (V_voter1_in and V_voter2_in) or"), std::string::npos);
    EXPECT_NE(s.find("      B_voter_out <= (B_voter1_in and B_voter2_in) or"), std::string::npos);
    // The INOUT drive comes after the outputs, in the port list and the process.
    EXPECT_NE(s.find("      B_voter3_in : IN Boolean;\n      D_voter1_in : IN std_logic_vector(7 downto 0);\n"),
              std::string::npos);
    EXPECT_NE(s.find("B_voter3_in,D_voter1_in,D_voter2_in,D_voter3_in)\n"), std::string::npos);
    EXPECT_EQ(s.find("A_voter"), std::string::npos);

    const std::string two = vtest::module(velmorn::emitTwoVoterModule, d, "_d_prm", "TMR-2V-CMP").str();
    EXPECT_NE(two.find("  N_d_prm1_sigboutb <= N_d_prm1_in when N_d_prm1_in = N_d_prm2_in or N_d_prm1_in = "
                       "N_d_prm3_in else N_d_prm2_in;\n"),
              std::string::npos)
        << two;
    const std::string err = vtest::module(velmorn::emitVoterWithError, d, "_v_prm", "TMR+3CH").str();
    EXPECT_NE(err.find("      if D_v_prm1_in = D_v_prm2_in or D_v_prm1_in = D_v_prm3_in then D_v_prm5_siga <= "
                       "D_v_prm1_in; else D_v_prm5_siga <= D_v_prm2_in; end if;\n"),
              std::string::npos)
        << err;
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
