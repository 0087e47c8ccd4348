// The functional-unit copy and the shared emission rules (banner, paths,
// generic blocks, last-element rule), checked against hand-written texts; the
// whole files are golden files under tests/golden/modules/.
#include <gtest/gtest.h>

#include "support/render.h"
#include "support/testing.h"

namespace {

using vtest::DesignBuilder;

TEST(Banner, EightLinesWithPathAndLabel)
{
    EXPECT_EQ(velmorn::banner("cnt/modules/cnt_prm1.vhd", "TMR"),
              "-- **********************************************************************\n"
              "-- ** This file was generated automatically by Velmorn...\n"
              "-- ** Module (part) of FT architecture TMR\n"
              "-- ** VHDL file: cnt/modules/cnt_prm1.vhd\n"
              "-- ** Copyright (C) 2026 Velmorn contributors\n"
              "-- ** Fault-tolerant design tools\n"
              "-- ** Velmorn project <velmorn@localhost>\n"
              "-- **********************************************************************\n"
              "\n");
}

TEST(Paths, ModuleFilesLieInTheModulesDirectoryTopFilesAbove)
{
    auto d = DesignBuilder("CNT", "counter").build();
    EXPECT_EQ(velmorn::names::modulePath(d, "_prm1"), "counter/modules/counter_prm1.vhd");
    EXPECT_EQ(velmorn::names::modulePath(d, ""), "counter/modules/counter.vhd");
    EXPECT_EQ(velmorn::names::topPath(d, "_tmr"), "counter/counter_tmr.vhd");
}

// The generic declaration and map blocks of a design, written on their own.
std::string genericBlocks(const velmorn::Design& d)
{
    velmorn::TextSink sink;
    {
        velmorn::VhdlOut out(sink);
        velmorn::genericDeclaration(out, d);
        velmorn::genericMap(out, d);
    }
    return sink.text;
}

TEST(GenericBlocks, DeclarationAndMapFollowTheLastElementRule)
{
    EXPECT_EQ(genericBlocks(DesignBuilder("CNT").generic("W", "  integer := 4").build()),
              "   generic(\n      W :   integer := 4\n   );\n"
              "   generic map(\n      W => W\n   )\n");
    EXPECT_EQ(genericBlocks(DesignBuilder("CNT").generic("W", "  integer := 4").generic("N", " natural").build()),
              "   generic(\n      W :   integer := 4;\n      N :  natural\n   );\n"
              "   generic map(\n      W => W,\n      N => N\n   )\n");
    EXPECT_EQ(genericBlocks(DesignBuilder("CNT").build()), "");
}

TEST(Prologue, BannerLibraryTextAndTwoLineBreaks)
{
    auto d = DesignBuilder("CNT", "cnt").build();
    auto t = vtest::render(d, "cnt/cnt_x.vhd", "TMR", [](velmorn::VhdlOut&) {});
    EXPECT_EQ(t.str(), vtest::banner("cnt/cnt_x.vhd", "TMR") + "LIBRARY IEEE;\n USE IEEE.STD_LOGIC_1164.ALL;\n  \n\n");
}

const std::string kBody = "\n   signal c : integer;\nbegin\n   q <= (others => '0');\n            ";

TEST(UnitCopy, WorkedExampleCounterCopyOne)
{
    auto d = DesignBuilder("COUNTER", "counter")
                 .generic("N", "  integer := 8")
                 .in("CLK")
                 .in("RST")
                 .out("Q", "  std_logic_vector(3 downto 0)")
                 .body(kBody)
                 .build();
    auto t = vtest::module(velmorn::emitUnitCopy, d, "_prm1", "TMR");
    EXPECT_EQ(t.path(), "counter/modules/counter_prm1.vhd");
    EXPECT_GOLDEN(t.str(), "modules/unit_copy_counter_copy1.vhd");
}

TEST(UnitCopy, PortOrdersDifferPerBlockAndInoutIsDrivenFromItsSignal)
{
    auto d = DesignBuilder("U", "u").out("Q").inout("IO").in("A").out("R").body("BODY\n").build();
    EXPECT_GOLDEN(vtest::module(velmorn::emitUnitCopy, d, "_fu2", "FU+CH").str(), "modules/unit_copy_port_orders_inout.vhd");
}

}  // namespace
