// What the type text of a port tells the generator: whether a copy's value is
// voted bit by bit, and whether the type leaves the width open.
#include "model/design.h"

#include <gtest/gtest.h>

namespace velmorn {
namespace {

Port out(const std::string& type) { return {"Q", PortMode::Out, type}; }

TEST(PortTypes, BitwiseVotingFollowsTheTypeMarkInAnySpellingAndQualification)
{
    EXPECT_TRUE(votesBitwise(out(" std_logic")));
    EXPECT_TRUE(votesBitwise(out(" STD_LOGIC_VECTOR(7 downto 0)")));
    EXPECT_TRUE(votesBitwise(out(" ieee.std_logic_1164.std_ulogic")));
    EXPECT_TRUE(votesBitwise(out("\tIEEE.Numeric_Std.unsigned (3 downto 0) := (others => '0')")));
    EXPECT_TRUE(votesBitwise(out(" work.bit")));

    EXPECT_FALSE(votesBitwise(out(" integer range 0 to 7")));
    EXPECT_FALSE(votesBitwise(out(" std_logic.state_t")));  // the mark is the last name, not the first
    EXPECT_FALSE(votesBitwise(out(" std_logic_vectors(1 downto 0)")));
    EXPECT_FALSE(votesBitwise(out(" ")));
    EXPECT_FALSE(votesBitwise({"D", PortMode::In, " std_logic"}));  // only what the copies produce is voted
}

TEST(PortTypes, AnArrayTypeWithoutAConstraintLeavesTheWidthOpen)
{
    EXPECT_TRUE(hasUnconstrainedType(out(" std_logic_vector")));
    EXPECT_TRUE(hasUnconstrainedType(out(" ieee.numeric_std.UNSIGNED")));
    EXPECT_TRUE(hasUnconstrainedType(out(" string := \"abc\"")));
    EXPECT_TRUE(hasUnconstrainedType(out(" bit_vector  ")));

    EXPECT_FALSE(hasUnconstrainedType(out(" std_logic_vector(7 downto 0)")));
    EXPECT_FALSE(hasUnconstrainedType(out(" ieee.numeric_std.unsigned (3 downto 0)")));
    EXPECT_FALSE(hasUnconstrainedType(out(" std_logic")));
    EXPECT_FALSE(hasUnconstrainedType(out(" my_pkg.word_t")));
}

}  // namespace
}  // namespace velmorn
