// The unit-with-checker module: whole files (golden files) for a suffixed
// module and for the stand-alone FU+CH module with an empty suffix.
#include <gtest/gtest.h>

#include "support/examples.h"
#include "support/render.h"

namespace {

using vtest::DesignBuilder;

TEST(CheckedUnit, SuffixedModuleWholeFile)
{
    const auto d = vtest::cntDesign();
    const auto t = vtest::checkedUnit(d, {"_fu1", "_ch", "_prm1"}, "TMR+3CH");
    EXPECT_EQ(t.path(), "cnt/modules/cnt_prm1.vhd");
    EXPECT_GOLDEN(t.str(), "modules/checked_unit_counter_suffixed.vhd");
}

// Empty suffix: the module keeps the unit's names; INOUT ports reach both the
// copy and the checker; no generics means no generic blocks at all.
TEST(CheckedUnit, EmptySuffixWithInoutAndNoGenerics)
{
    const auto d = DesignBuilder("IOB", "iob").in("A").inout("D", " std_logic_vector(7 downto 0)").out("Q").build();
    const auto t = vtest::checkedUnit(d, {"_fu", "_ch", ""}, "FU+CH");
    EXPECT_EQ(t.path(), "iob/modules/iob.vhd");
    EXPECT_GOLDEN(t.str(), "modules/checked_unit_empty_suffix_inout_no_generics.vhd");
}

}  // namespace
