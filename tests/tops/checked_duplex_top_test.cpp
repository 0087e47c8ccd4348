// Top levels of the duplex architectures with checkers: whole files (golden
// files) for a design with a generic, an input, an inout port and a vector
// output, and the edge cases of the error ports and generics.
#include <gtest/gtest.h>

#include "support/render.h"
#include "tops/tops.h"
#include "support/testing.h"

namespace {

using vtest::DesignBuilder;

velmorn::Design design()
{
    return DesignBuilder("CNT")
        .generic("W", " integer := 4")
        .in("CLK")
        .inout("IO")
        .out("Q", "  std_logic_vector(3 downto 0)")
        .build();
}

TEST(CheckedDuplexTop, WholeFileOneChecker)
{
    const auto t = vtest::top(velmorn::emitCheckedDuplexTop, design(), velmorn::CheckedDuplexTopNames{"_prm", "_m_prm", 1}, "_dupl1ch", "DUPLEX+1CH");
    EXPECT_EQ(t.path(), "cnt/cnt_dupl1ch.vhd");
    EXPECT_GOLDEN(t.str(), "tops/checked_duplex_one_checker.vhd");
}

TEST(CheckedDuplexTop, WholeFileTwoCheckers)
{
    const auto t = vtest::top(velmorn::emitCheckedDuplexTop, design(), velmorn::CheckedDuplexTopNames{"_prm", "_m_prm", 2}, "_dupl2ch", "DUPLEX+2CH");
    EXPECT_EQ(t.path(), "cnt/cnt_dupl2ch.vhd");
    EXPECT_GOLDEN(t.str(), "tops/checked_duplex_two_checkers.vhd");
}

bool contains(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

TEST(DuplexCheckerTops, FixedErrorNamesNoGenericsAndSeveralOutputs)
{
    const auto d = DesignBuilder("CNT").in("CLK").out("Q").out("Z").build();
    for (int checkers : {1, 2}) {
        // Other suffixes change the names of the copies and the multiplexer,
        // never those of the top level's error outputs; the association of a
        // copy's error port follows the port the copy's component declares.
        const std::string text =
            vtest::top(velmorn::emitCheckedDuplexTop, d, velmorn::CheckedDuplexTopNames{"_u", "_mx", checkers}, "_t", "X")
                .str();
        EXPECT_FALSE(contains(text, "generic"));
        EXPECT_TRUE(contains(text, "      Z : OUT  std_logic;\n      Err_prm1 : OUT std_logic;\n"
                                   "      Err_prm2 : OUT std_logic;\n      Err_prm_m : OUT std_logic\n   );\n"));
        EXPECT_TRUE(contains(text, "component CNT_u1 is \n   port(\n      CLK_u1 : IN  std_logic;\n       ERR_u1 : OUT "
                                   "std_logic;\n      Q_u1 : OUT  std_logic;\n      Z_u1 : OUT  std_logic\n   );\n"));
        EXPECT_TRUE(contains(text, "CNT1_u : CNT_u1\n   port map(\n      CLK_u1 => CLK,\n      Err_u1 => err1_sig,\n"
                                   "      Q_u1 => Q_u1_sig,\n      Z_u1 => Z_u1_sig\n   );\n"));
        EXPECT_TRUE(contains(text, "signal Q_u1_sig :   std_logic;\nsignal Z_u1_sig :   std_logic;\n"
                                   "signal Q_u2_sig :   std_logic;\nsignal Z_u2_sig :   std_logic;\nsignal err1_sig"));
        EXPECT_TRUE(contains(text, "      Q_mx2_in => Q_u2_sig,\n      Z_mx1_in => Z_u1_sig,\n      Z_mx2_in => Z_u2_sig,\n"
                                   "      Q_mx_out => Q,\n      Z_mx_out => Z,\n      Err_mx1 => Err_prm1,\n"));
        const std::string end = "Err_prm_m\n   );\n\nend CNT_BEHAV;";
        EXPECT_EQ(text.substr(text.size() - end.size()), end);
    }
    const std::string one = vtest::top(velmorn::emitCheckedDuplexTop, d, velmorn::CheckedDuplexTopNames{"_u", "_mx", 1}, "_t", "X").str();
    EXPECT_FALSE(contains(one, "err2_sig"));
    EXPECT_FALSE(contains(one, "ERR_u2"));
    const std::string two = vtest::top(velmorn::emitCheckedDuplexTop, d, velmorn::CheckedDuplexTopNames{"_u", "_mx", 2}, "_t", "X").str();
    EXPECT_TRUE(contains(two, "       ERR_u2 : OUT std_logic;\n      Q_u2 : OUT  std_logic;\n"));
    EXPECT_TRUE(contains(two, "      Err_u2 => err2_sig,\n      Q_u2 => Q_u2_sig,\n"));
}

}  // namespace
