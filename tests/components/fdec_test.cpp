// The fault decoder.
#include <gtest/gtest.h>

#include "components/components.h"
#include "support/examples.h"

namespace {

using vtest::DesignBuilder;
using vtest::prologue;

TEST(Fdec, CounterWholeFile)
{
    const auto t = velmorn::GenerateFDEC(vtest::cntDesign(), "_fdec_prm", "3FU-3V");
    EXPECT_EQ(t.path(), "cnt/modules/cnt_fdec_prm.vhd");
    const std::string expected = prologue("cnt/modules/cnt_fdec_prm.vhd", "3FU-3V") + "entity CNT_fdec_prm is\n" +
                                 vtest::kCntGD +
                                 "   port(\n"
                                 "      Q_fdec_prm1_in : IN std_logic_vector(W-1 downto 0);\n"
                                 "      Q_fdec_prm2_in : IN std_logic_vector(W-1 downto 0);\n"
                                 "      Q_fdec_prm3_in : IN std_logic_vector(W-1 downto 0);\n"
                                 "      Z_fdec_prm1_in : IN  std_logic;\n"
                                 "      Z_fdec_prm2_in : IN  std_logic;\n"
                                 "      Z_fdec_prm3_in : IN  std_logic;\n"
                                 "      Err_fdec_prm1 : OUT std_logic;\n"
                                 "      Err_fdec_prm2 : OUT std_logic;\n"
                                 "      Err_fdec_prm3 : OUT std_logic;\n"
                                 "      Err_fdec_prm : OUT std_logic\n"
                                 "   );\n"
                                 "end entity CNT_fdec_prm;\n\n\n"
                                 "architecture CNT_fdec_prm_BEHAV of CNT_fdec_prm is\n"
                                 "   signal Q_fdec_prm1_siga : std_logic;\n"
                                 "   signal Q_fdec_prm1_sigb : std_logic;\n"
                                 "   signal Z_fdec_prm2_siga : std_logic;\n"
                                 "   signal Z_fdec_prm2_sigb : std_logic;\n"
                                 "   signal cmp13_sig, cmp23_sig : std_logic;\n"
                                 "   signal err1_sig, err2_sig, err3_sig, errfdec_sig : std_logic;\n"
                                 "\n"
                                 "begin\n"
                                 "\n"
                                 "   Q_fdec_prm1_siga <= '0' when Q_fdec_prm1_in = Q_fdec_prm3_in else '1';\n"
                                 "   Z_fdec_prm2_siga <= '0' when Z_fdec_prm1_in = Z_fdec_prm3_in else '1';\n"
                                 "\n"
                                 "   cmp13_sig <= Q_fdec_prm1_siga or Z_fdec_prm2_siga;\n"
                                 "\n"
                                 "   Q_fdec_prm1_sigb <= '0' when Q_fdec_prm2_in = Q_fdec_prm3_in else '1';\n"
                                 "   Z_fdec_prm2_sigb <= '0' when Z_fdec_prm2_in = Z_fdec_prm3_in else '1';\n"
                                 "\n"
                                 "   cmp23_sig <= Q_fdec_prm1_sigb or Z_fdec_prm2_sigb;\n"
                                 "\n"
                                 "  err3_sig <= cmp13_sig and cmp23_sig;\n"
                                 "  err1_sig <= cmp13_sig and not err3_sig;\n"
                                 "  err2_sig <= cmp23_sig and not err3_sig;\n"
                                 "  errfdec_sig <= err1_sig or err2_sig or err3_sig;\n"
                                 "   Err_fdec_prm1 <= err1_sig;\n"
                                 "   Err_fdec_prm2 <= err2_sig;\n"
                                 "   Err_fdec_prm3 <= err3_sig;\n"
                                 "   Err_fdec_prm <= errfdec_sig;\n"
                                 "end CNT_fdec_prm_BEHAV;";
    EXPECT_EQ(t.str(), expected);
}

// One OUT port, no generics: the OR chains have a single operand, and IN or
// INOUT ports never appear.
TEST(Fdec, OneOutputNoGenerics)
{
    const auto d = DesignBuilder("AND2", "and2").in("XIN").inout("XIO").out("Q").build();
    const std::string s = velmorn::GenerateFDEC(d, "_fdec_prm", "3FU-3V").str();
    EXPECT_NE(s.find("entity AND2_fdec_prm is\n   port(\n      Q_fdec_prm1_in : IN  std_logic;\n"), std::string::npos);
    EXPECT_EQ(s.find("generic"), std::string::npos);
    EXPECT_EQ(s.find("XIN"), std::string::npos);
    EXPECT_EQ(s.find("XIO"), std::string::npos);
    EXPECT_NE(s.find("\n   cmp13_sig <= Q_fdec_prm1_siga;\n\n"), std::string::npos);
    EXPECT_NE(s.find("\n   cmp23_sig <= Q_fdec_prm1_sigb;\n\n  err3_sig"), std::string::npos);
}

}  // namespace
