// The unit-with-checker module: whole files for a suffixed module and for the
// stand-alone FU+CH module with an empty suffix.
#include <gtest/gtest.h>

#include "support/examples.h"
#include "top/top.h"

namespace {

using vtest::DesignBuilder;
using vtest::prologue;

TEST(PrmFuCh, SuffixedModuleWholeFile)
{
    const auto d = vtest::cntDesign();
    const auto t = velmorn::GeneratePRMFUCH(d, "_fu1", "_ch", "_prm1", "TMR+3CH");
    EXPECT_EQ(t.path(), "cnt/modules/cnt_prm1.vhd");
    const std::string& gd = vtest::kCntGD;
    const std::string& gm = vtest::kCntGM;
    const std::string expected = prologue("cnt/modules/cnt_prm1.vhd", "TMR+3CH") +
                                 "entity CNT_prm1 is\n" + gd +
                                 "   port(\n"
                                 "      CLK_prm1 : IN  std_logic;\n"
                                 "      RST_prm1 : IN  std_logic;\n"
                                 "       ERR_prm1 : OUT std_logic;\n"
                                 "      Q_prm1 : OUT std_logic_vector(W-1 downto 0);\n"
                                 "      Z_prm1 : OUT  std_logic\n"
                                 "   );\n"
                                 "end entity CNT_prm1;\n\n\n"
                                 "architecture CNT_BEHAV of CNT_prm1 is\n\n"
                                 "component CNT_fu1 is \n" + gd +
                                 "   port(\n"
                                 "      CLK_fu1 : IN  std_logic;\n"
                                 "      RST_fu1 : IN  std_logic;\n"
                                 "      Q_fu1 : OUT std_logic_vector(W-1 downto 0);\n"
                                 "      Z_fu1 : OUT  std_logic\n"
                                 "   );\n"
                                 "end component;\n\n"
                                 "component CNT_ch is \n" + gd +
                                 "   port(\n"
                                 "      CLK : IN  std_logic;\n"
                                 "      RST : IN  std_logic;\n"
                                 "      Q : IN std_logic_vector(W-1 downto 0);\n"
                                 "      Z : IN  std_logic;\n"
                                 "       ERR : OUT std_logic\n"
                                 "   );\n"
                                 "end component;\n\n"
                                 "signal Q_fu1_sig :  std_logic_vector(W-1 downto 0);\n"
                                 "signal Z_fu1_sig :   std_logic;\n"
                                 "\n"
                                 "begin\n"
                                 "CNT_fu1x : CNT_fu1\n" + gm +
                                 "   port map(\n"
                                 "      CLK_fu1 => CLK_prm1,\n"
                                 "      RST_fu1 => RST_prm1,\n"
                                 "      Q_fu1 => Q_fu1_sig,\n"
                                 "      Z_fu1 => Z_fu1_sig\n"
                                 "   );\n\n"
                                 "CNT_ch1 : CNT_ch\n" + gm +
                                 "   port map(\n"
                                 "      CLK => CLK_prm1,\n"
                                 "      RST => RST_prm1,\n"
                                 "      Q => Q_fu1_sig,\n"
                                 "      Z => Z_fu1_sig,\n"
                                 "      ERR => ERR_prm1\n"
                                 "   );\n\n"
                                 "   Q_prm1 <= Q_fu1_sig;\n"
                                 "   Z_prm1 <= Z_fu1_sig;\n"
                                 "\n"
                                 "end CNT_BEHAV;";
    EXPECT_EQ(t.str(), expected);
}

// Empty suffix: the module keeps the unit's names; INOUT ports reach both the
// copy and the checker; no generics means no generic blocks at all.
TEST(PrmFuCh, EmptySuffixWithInoutAndNoGenerics)
{
    const auto d = DesignBuilder("IOB", "iob").in("A").inout("D", " std_logic_vector(7 downto 0)").out("Q").build();
    const auto t = velmorn::GeneratePRMFUCH(d, "_fu", "_ch", "", "FU+CH");
    EXPECT_EQ(t.path(), "iob/modules/iob.vhd");
    const std::string expected = prologue("iob/modules/iob.vhd", "FU+CH") +
                                 "entity IOB is\n"
                                 "   port(\n"
                                 "      A : IN  std_logic;\n"
                                 "      D : INOUT std_logic_vector(7 downto 0);\n"
                                 "       ERR : OUT std_logic;\n"
                                 "      Q : OUT  std_logic\n"
                                 "   );\n"
                                 "end entity IOB;\n\n\n"
                                 "architecture IOB_BEHAV of IOB is\n\n"
                                 "component IOB_fu is \n"
                                 "   port(\n"
                                 "      A_fu : IN  std_logic;\n"
                                 "      D_fu : INOUT std_logic_vector(7 downto 0);\n"
                                 "      Q_fu : OUT  std_logic\n"
                                 "   );\n"
                                 "end component;\n\n"
                                 "component IOB_ch is \n"
                                 "   port(\n"
                                 "      A : IN  std_logic;\n"
                                 "      D : INOUT std_logic_vector(7 downto 0);\n"
                                 "      Q : IN  std_logic;\n"
                                 "       ERR : OUT std_logic\n"
                                 "   );\n"
                                 "end component;\n\n"
                                 "signal Q_fu_sig :   std_logic;\n"
                                 "\n"
                                 "begin\n"
                                 "IOB_fux : IOB_fu\n"
                                 "   port map(\n"
                                 "      A_fu => A,\n"
                                 "      D_fu => D,\n"
                                 "      Q_fu => Q_fu_sig\n"
                                 "   );\n\n"
                                 "IOB_ch1 : IOB_ch\n"
                                 "   port map(\n"
                                 "      A => A,\n"
                                 "      D => D,\n"
                                 "      Q => Q_fu_sig,\n"
                                 "      ERR => ERR\n"
                                 "   );\n\n"
                                 "   Q <= Q_fu_sig;\n"
                                 "\n"
                                 "end IOB_BEHAV;";
    EXPECT_EQ(t.str(), expected);
}

}  // namespace
