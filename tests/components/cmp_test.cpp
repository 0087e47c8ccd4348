// The comparator of two copies.
#include <gtest/gtest.h>

#include "components/components.h"
#include "support/examples.h"

namespace {

using vtest::DesignBuilder;
using vtest::prologue;

TEST(Cmp, CounterWholeFile)
{
    const auto t = velmorn::GenerateCmp(vtest::cntDesign(), "_cmp", "DUPLEX-CMP");
    EXPECT_EQ(t.path(), "cnt/modules/cnt_cmp.vhd");
    const std::string expected = prologue("cnt/modules/cnt_cmp.vhd", "DUPLEX-CMP") + "entity CNT_cmp is\n" +
                                 vtest::kCntGD +
                                 "   port(\n"
                                 "      Q_cmp1_in : IN std_logic_vector(W-1 downto 0);\n"
                                 "      Q_cmp2_in : IN std_logic_vector(W-1 downto 0);\n"
                                 "      Z_cmp1_in : IN  std_logic;\n"
                                 "      Z_cmp2_in : IN  std_logic;\n"
                                 "      ERR_cmp : OUT std_logic\n"
                                 "   );\n"
                                 "end entity CNT_cmp;\n\n\n"
                                 "architecture CNT_cmp_BEHAV of CNT_cmp is\n\n"
                                 "   signal Q_cmp1_sig : std_logic;\n"
                                 "   signal Z_cmp2_sig : std_logic;\n"
                                 "\n"
                                 "begin\n\n"
                                 "   Q_cmp1_sig <= '0' when Q_cmp1_in = Q_cmp2_in else '1';\n"
                                 "   Z_cmp2_sig <= '0' when Z_cmp1_in = Z_cmp2_in else '1';\n"
                                 "\n"
                                 "   ERR_cmp <= Q_cmp1_sig or Z_cmp2_sig;\n\n"
                                 "end CNT_cmp_BEHAV;";
    EXPECT_EQ(t.str(), expected);
}

// One OUT port, no generics; the error port keeps its fixed name whatever
// the suffix, and IN/INOUT ports never appear.
TEST(Cmp, OneOutputOtherSuffix)
{
    const auto d = DesignBuilder("AND2", "and2").in("A").inout("D").out("Q").build();
    const auto t = velmorn::GenerateCmp(d, "_c", "DUPLEX-CMP");
    const std::string expected = prologue("and2/modules/and2_c.vhd", "DUPLEX-CMP") +
                                 "entity AND2_c is\n"
                                 "   port(\n"
                                 "      Q_c1_in : IN  std_logic;\n"
                                 "      Q_c2_in : IN  std_logic;\n"
                                 "      ERR_cmp : OUT std_logic\n"
                                 "   );\n"
                                 "end entity AND2_c;\n\n\n"
                                 "architecture AND2_c_BEHAV of AND2_c is\n\n"
                                 "   signal Q_c1_sig : std_logic;\n"
                                 "\n"
                                 "begin\n\n"
                                 "   Q_c1_sig <= '0' when Q_c1_in = Q_c2_in else '1';\n"
                                 "\n"
                                 "   ERR_cmp <= Q_c1_sig;\n\n"
                                 "end AND2_c_BEHAV;";
    EXPECT_EQ(t.str(), expected);
}

}  // namespace
