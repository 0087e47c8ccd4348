// The duplex top level with its comparator.
#include <gtest/gtest.h>

#include "support/examples.h"
#include "top/top.h"

namespace {

using vtest::DesignBuilder;
using vtest::kCntGD;
using vtest::kCntGM;
using vtest::prologue;

TEST(TopDuplex, CounterWholeFile)
{
    const auto t = velmorn::GenerateTopDuplex(vtest::cntDesign(), "_fu", "_cmp", "_dupl_prm", "DUPLEX-CMP");
    EXPECT_EQ(t.path(), "cnt/cnt_dupl_prm.vhd");
    auto component = [](const std::string& k) {
        return "component CNT_fu" + k + " is \n" + kCntGD +
               "   port(\n"
               "      CLK_fu" + k + " : IN  std_logic;\n"
               "      RST_fu" + k + " : IN  std_logic;\n"
               "      Q_fu" + k + " : OUT std_logic_vector(W-1 downto 0);\n"
               "      Z_fu" + k + " : OUT  std_logic\n"
               "   );\n"
               "end component;\n\n";
    };
    auto instance = [](const std::string& k) {
        return "CNT" + k + "_fu : CNT_fu" + k + "\n" + kCntGM +
               "   port map(\n"
               "      CLK_fu" + k + " => CLK,\n"
               "      RST_fu" + k + " => RST,\n"
               "      Q_fu" + k + " => Q_fu" + k + "_sig,\n"
               "      Z_fu" + k + " => Z_fu" + k + "_sig\n"
               "   );\n\n";
    };
    const std::string expected = prologue("cnt/cnt_dupl_prm.vhd", "DUPLEX-CMP") + "entity CNT is\n" + kCntGD +
                                 "   port(\n"
                                 "      CLK : IN  std_logic;\n"
                                 "      RST : IN  std_logic;\n"
                                 "       ERR : OUT std_logic;\n"
                                 "      Q : OUT std_logic_vector(W-1 downto 0);\n"
                                 "      Z : OUT  std_logic\n"
                                 "   );\n"
                                 "end entity CNT;\n\n\n"
                                 "architecture CNT_BEHAV of CNT is\n\n" +
                                 component("1") + component("2") + "component CNT_cmp is \n" + kCntGD +
                                 "   port(\n"
                                 "      Q_cmp1_in : IN std_logic_vector(W-1 downto 0);\n"
                                 "      Q_cmp2_in : IN std_logic_vector(W-1 downto 0);\n"
                                 "      Z_cmp1_in : IN  std_logic;\n"
                                 "      Z_cmp2_in : IN  std_logic;\n"
                                 "      ERR_cmp : OUT std_logic\n"
                                 "   );\n"
                                 "end component;\n\n"
                                 "signal Q_fu1_sig :  std_logic_vector(W-1 downto 0);\n"
                                 "signal Z_fu1_sig :   std_logic;\n"
                                 "signal Q_fu2_sig :  std_logic_vector(W-1 downto 0);\n"
                                 "signal Z_fu2_sig :   std_logic;\n"
                                 "\n"
                                 "begin\n" +
                                 instance("1") + instance("2") + "CNT_cmp1 : CNT_cmp\n" + kCntGM +
                                 "   port map(\n"
                                 "      Q_cmp1_in => Q_fu1_sig,\n"
                                 "      Q_cmp2_in => Q_fu2_sig,\n"
                                 "      Z_cmp1_in => Z_fu1_sig,\n"
                                 "      Z_cmp2_in => Z_fu2_sig,\n"
                                 "      ERR_cmp => ERR\n"
                                 "   );\n\n"
                                 "   Q <= Q_fu1_sig;\n"
                                 "   Z <= Z_fu1_sig;\n"
                                 "\n"
                                 "end CNT_BEHAV;";
    EXPECT_EQ(t.str(), expected);
}

// No generics, one OUT port, an INOUT port shared by both copies.
TEST(TopDuplex, OneOutputInoutNoGenerics)
{
    const auto d = DesignBuilder("IOB", "iob").inout("D").out("Q").build();
    const std::string s = velmorn::GenerateTopDuplex(d, "_fu", "_cmp", "_dupl_prm", "DUPLEX-CMP").str();
    EXPECT_EQ(s.find("generic"), std::string::npos);
    EXPECT_NE(s.find("entity IOB is\n   port(\n      D : INOUT  std_logic;\n       ERR : OUT std_logic;\n"
                     "      Q : OUT  std_logic\n   );\n"),
              std::string::npos);
    EXPECT_NE(s.find("IOB2_fu : IOB_fu2\n   port map(\n      D_fu2 => D,\n      Q_fu2 => Q_fu2_sig\n   );\n\n"),
              std::string::npos);
    EXPECT_NE(s.find("IOB_cmp1 : IOB_cmp\n   port map(\n      Q_cmp1_in => Q_fu1_sig,\n      Q_cmp2_in => Q_fu2_sig,\n"
                     "      ERR_cmp => ERR\n   );\n\n   Q <= Q_fu1_sig;\n\nend IOB_BEHAV;"),
              std::string::npos);
}

}  // namespace
