// The duplex top level with its comparator.
#include <gtest/gtest.h>

#include "support/examples.h"
#include "support/render.h"
#include "tops/tops.h"

namespace {

using vtest::DesignBuilder;

TEST(DuplexTop, CounterWholeFile)
{
    const auto t = vtest::top(velmorn::emitDuplexTop, vtest::cntDesign(), velmorn::DuplexTopNames{"_fu", "_cmp"}, "_dupl_prm", "DUPLEX-CMP");
    EXPECT_EQ(t.path(), "cnt/cnt_dupl_prm.vhd");
    EXPECT_GOLDEN(t.str(), "tops/duplex_counter.vhd");
}

// No generics, one OUT port, an INOUT port: both copies' drives are compared,
// and copy 1's drives the top's port.
TEST(DuplexTop, OneOutputInoutNoGenerics)
{
    const auto d = DesignBuilder("IOB", "iob").inout("D").out("Q").build();
    const std::string s = vtest::top(velmorn::emitDuplexTop, d, velmorn::DuplexTopNames{"_fu", "_cmp"}, "_dupl_prm", "DUPLEX-CMP").str();
    EXPECT_EQ(s.find("generic"), std::string::npos);
    EXPECT_NE(s.find("entity IOB is\n   port(\n      D : INOUT  std_logic;\n       ERR : OUT std_logic;\n"
                     "      Q : OUT  std_logic\n   );\n"),
              std::string::npos);
    EXPECT_NE(s.find("IOB2_fu : IOB_fu2\n   port map(\n      D_fu2 => D_fu2_sig,\n      Q_fu2 => Q_fu2_sig\n   );\n\n"),
              std::string::npos);
    EXPECT_NE(s.find("IOB_cmp1 : IOB_cmp\n   port map(\n      Q_cmp1_in => Q_fu1_sig,\n      Q_cmp2_in => Q_fu2_sig,\n"
                     "      D_cmp1_in => D_fu1_sig,\n      D_cmp2_in => D_fu2_sig,\n"
                     "      ERR_cmp => ERR\n   );\n\n   Q <= Q_fu1_sig;\n   D <= D_fu1_sig;\n\nend IOB_BEHAV;"),
              std::string::npos) << s;
}

}  // namespace
