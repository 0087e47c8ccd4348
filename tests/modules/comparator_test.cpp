// The comparator of two copies.
#include <gtest/gtest.h>

#include "support/examples.h"
#include "support/render.h"

namespace {

using vtest::DesignBuilder;

TEST(Comparator, CounterWholeFile)
{
    const auto t = vtest::module(velmorn::emitComparator, vtest::cntDesign(), "_cmp", "DUPLEX-CMP");
    EXPECT_EQ(t.path(), "cnt/modules/cnt_cmp.vhd");
    EXPECT_GOLDEN(t.str(), "modules/comparator_counter.vhd");
}

// One OUT port, no generics; the error port keeps its fixed name whatever
// the suffix, and IN ports never appear.
TEST(Comparator, OneOutputOtherSuffix)
{
    const auto d = DesignBuilder("AND2", "and2").in("A").out("Q").build();
    const auto t = vtest::module(velmorn::emitComparator, d, "_c", "DUPLEX-CMP");
    EXPECT_GOLDEN(t.str(), "modules/comparator_one_output_other_suffix.vhd");
}

}  // namespace
