// The comparator of two copies.
#include <gtest/gtest.h>

#include "components/components.h"
#include "support/examples.h"

namespace {

using vtest::DesignBuilder;

TEST(Cmp, CounterWholeFile)
{
    const auto t = velmorn::GenerateCmp(vtest::cntDesign(), "_cmp", "DUPLEX-CMP");
    EXPECT_EQ(t.path(), "cnt/modules/cnt_cmp.vhd");
    EXPECT_GOLDEN(t.str(), "modules/cmp_counter.vhd");
}

// One OUT port, no generics; the error port keeps its fixed name whatever
// the suffix, and IN/INOUT ports never appear.
TEST(Cmp, OneOutputOtherSuffix)
{
    const auto d = DesignBuilder("AND2", "and2").in("A").inout("D").out("Q").build();
    const auto t = velmorn::GenerateCmp(d, "_c", "DUPLEX-CMP");
    EXPECT_GOLDEN(t.str(), "modules/cmp_one_output_other_suffix.vhd");
}

}  // namespace
