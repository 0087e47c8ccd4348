// Top levels of the duplex architectures with checkers: whole files for a
// design with a generic, an input, an inout port and a vector output, and the
// edge cases of the error ports and generics.
#include <gtest/gtest.h>

#include "support/testing.h"
#include "top/top.h"

namespace {

using vtest::DesignBuilder;

const std::string GD = "   generic(\n      W :  integer := 4\n   );\n";
const std::string GM = "   generic map(\n      W => W\n   )\n";

velmorn::Design design()
{
    return DesignBuilder("CNT")
        .generic("W", " integer := 4")
        .in("CLK")
        .inout("IO")
        .out("Q", "  std_logic_vector(3 downto 0)")
        .build();
}

const std::string kEntity = R"(entity CNT is
)" + GD + R"(   port(
      CLK : IN  std_logic;
      IO : INOUT  std_logic;
      Q : OUT  std_logic_vector(3 downto 0);
      Err_prm1 : OUT std_logic;
      Err_prm2 : OUT std_logic;
      Err_prm_m : OUT std_logic
   );
end entity CNT;


architecture CNT_BEHAV of CNT is

)";

// Copy k's component; `checked` copies carry the checker's error output.
// Component lines end in "is " with a trailing blank.
std::string copyComponent(const std::string& k, bool checked)
{
    return "component CNT_prm" + k + " is \n" + GD + "   port(\n      CLK_prm" + k + " : IN  std_logic;\n      IO_prm" + k +
           " : INOUT  std_logic;\n" + (checked ? "       ERR_prm" + k + " : OUT std_logic;\n" : "") + "      Q_prm" + k +
           " : OUT  std_logic_vector(3 downto 0)\n   );\nend component;\n\n";
}

std::string copyInstance(const std::string& k, bool checked)
{
    return "CNT" + k + "_prm : CNT_prm" + k + "\n" + GM + "   port map(\n      CLK_prm" + k + " => CLK,\n      IO_prm" + k +
           " => IO,\n" + (checked ? "      Err_prm" + k + " => err" + k + "_sig,\n" : "") + "      Q_prm" + k +
           " => Q_prm" + k + "_sig\n   );\n\n";
}

std::string muxComponent(bool two)
{
    return "component CNT_m_prm is \n" + GD + "   port(\n      Err_prm1_in : IN std_logic;\n" +
           (two ? "      Err_prm2_in : IN std_logic;\n" : "") + R"(      Q_m_prm1_in : IN  std_logic_vector(3 downto 0);
      Q_m_prm2_in : IN  std_logic_vector(3 downto 0);
      Q_m_prm_out : OUT  std_logic_vector(3 downto 0);
      Err_m_prm1 : OUT std_logic;
      Err_m_prm2 : OUT std_logic;
      Err_m_prm : OUT std_logic
   );
end component;

signal Q_prm1_sig :   std_logic_vector(3 downto 0);
signal Q_prm2_sig :   std_logic_vector(3 downto 0);
signal err1_sig : std_logic;
)" + (two ? "signal err2_sig : std_logic;\n" : "");
}

std::string muxInstance(bool two)
{
    return "CNT_m_prm1 : CNT_m_prm\n" + GM + "   port map(\n      ERR_prm1_in => err1_sig,\n" +
           (two ? "      ERR_prm2_in => err2_sig,\n" : "") + R"(      Q_m_prm1_in => Q_prm1_sig,
      Q_m_prm2_in => Q_prm2_sig,
      Q_m_prm_out => Q,
      Err_m_prm1 => Err_prm1,
      Err_m_prm2 => Err_prm2,
      Err_m_prm => Err_prm_m
   );

end CNT_BEHAV;)";
}

TEST(TopDPL1, WholeFileCheckerOnCopyOne)
{
    const auto t = velmorn::GenerateTopDPL1(design(), "_prm", "_m_prm", "_prm", "_dupl1ch", "DUPLEX+1CH");
    EXPECT_EQ(t.path(), "cnt/cnt_dupl1ch.vhd");
    EXPECT_EQ(t.str(), vtest::banner("cnt/cnt_dupl1ch.vhd", "DUPLEX+1CH") + vtest::kIeeeLibrarys + "\n\n" + kEntity +
                           copyComponent("1", true) + copyComponent("2", false) + muxComponent(false) + "\nbegin\n" +
                           copyInstance("1", true) + copyInstance("2", false) + muxInstance(false));
}

TEST(TopDPL2, WholeFileCheckersOnBothCopies)
{
    const auto t = velmorn::GenerateTopDPL2(design(), "_prm", "_m_prm", "_prm", "_dupl2ch", "DUPLEX+2CH");
    EXPECT_EQ(t.path(), "cnt/cnt_dupl2ch.vhd");
    EXPECT_EQ(t.str(), vtest::banner("cnt/cnt_dupl2ch.vhd", "DUPLEX+2CH") + vtest::kIeeeLibrarys + "\n\n" + kEntity +
                           copyComponent("1", true) + copyComponent("2", true) + muxComponent(true) + "\nbegin\n" +
                           copyInstance("1", true) + copyInstance("2", true) + muxInstance(true));
}

bool contains(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

TEST(DuplexCheckerTops, FixedErrorNamesNoGenericsAndSeveralOutputs)
{
    const auto d = DesignBuilder("CNT").in("CLK").out("Q").out("Z").build();
    for (auto gen : {velmorn::GenerateTopDPL1, velmorn::GenerateTopDPL2}) {
        // Other suffixes change the names of the copies and the multiplexer,
        // never those of the top level's error outputs or the copies' error ports.
        const std::string text = gen(d, "_u", "_mx", "_unused", "_t", "X").str();
        EXPECT_FALSE(contains(text, "generic"));
        EXPECT_FALSE(contains(text, "_unused"));
        EXPECT_TRUE(contains(text, "      Z : OUT  std_logic;\n      Err_prm1 : OUT std_logic;\n"
                                   "      Err_prm2 : OUT std_logic;\n      Err_prm_m : OUT std_logic\n   );\n"));
        EXPECT_TRUE(contains(text, "component CNT_u1 is \n   port(\n      CLK_u1 : IN  std_logic;\n       ERR_u1 : OUT "
                                   "std_logic;\n      Q_u1 : OUT  std_logic;\n      Z_u1 : OUT  std_logic\n   );\n"));
        EXPECT_TRUE(contains(text, "CNT1_u : CNT_u1\n   port map(\n      CLK_u1 => CLK,\n      Err_prm1 => err1_sig,\n"
                                   "      Q_u1 => Q_u1_sig,\n      Z_u1 => Z_u1_sig\n   );\n"));
        EXPECT_TRUE(contains(text, "signal Q_u1_sig :   std_logic;\nsignal Z_u1_sig :   std_logic;\n"
                                   "signal Q_u2_sig :   std_logic;\nsignal Z_u2_sig :   std_logic;\nsignal err1_sig"));
        EXPECT_TRUE(contains(text, "      Q_mx2_in => Q_u2_sig,\n      Z_mx1_in => Z_u1_sig,\n      Z_mx2_in => Z_u2_sig,\n"
                                   "      Q_mx_out => Q,\n      Z_mx_out => Z,\n      Err_mx1 => Err_prm1,\n"));
        const std::string end = "Err_prm_m\n   );\n\nend CNT_BEHAV;";
        EXPECT_EQ(text.substr(text.size() - end.size()), end);
    }
    const std::string one = velmorn::GenerateTopDPL1(d, "_u", "_mx", "_unused", "_t", "X").str();
    EXPECT_FALSE(contains(one, "err2_sig"));
    EXPECT_FALSE(contains(one, "ERR_u2"));
    const std::string two = velmorn::GenerateTopDPL2(d, "_u", "_mx", "_unused", "_t", "X").str();
    EXPECT_TRUE(contains(two, "       ERR_u2 : OUT std_logic;\n      Q_u2 : OUT  std_logic;\n"));
    EXPECT_TRUE(contains(two, "      Err_prm2 => err2_sig,\n      Q_u2 => Q_u2_sig,\n"));
}

}  // namespace
