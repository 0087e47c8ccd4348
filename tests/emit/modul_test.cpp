// The functional-unit copy and the shared emission rules (banner, paths,
// generic blocks, last-element rule), checked against hand-written texts; the
// whole files are golden files under tests/golden/modules/.
#include <gtest/gtest.h>

#include "emit/modul.h"
#include "support/testing.h"

namespace {

using vtest::DesignBuilder;

TEST(Banner, EightLinesWithPathAndLabel)
{
    EXPECT_EQ(velmorn::PrintComment("cnt/modules/cnt_prm1.vhd", "TMR"),
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
    EXPECT_EQ(velmorn::moduleFilePath(d, "_prm1"), "counter/modules/counter_prm1.vhd");
    EXPECT_EQ(velmorn::moduleFilePath(d, ""), "counter/modules/counter.vhd");
    EXPECT_EQ(velmorn::topFilePath(d, "_tmr"), "counter/counter_tmr.vhd");
}

TEST(GenericBlocks, DeclarationAndMapFollowTheLastElementRule)
{
    auto one = DesignBuilder("CNT").generic("W", "  integer := 4").build();
    velmorn::VhdlText t1(one, "p", "A");
    const std::string prologue = t1.str();
    t1.genericDecl();
    t1.genericMap();
    EXPECT_EQ(t1.str().substr(prologue.size()),
              "   generic(\n      W :   integer := 4\n   );\n"
              "   generic map(\n      W => W\n   )\n");

    auto two = DesignBuilder("CNT").generic("W", "  integer := 4").generic("N", " natural").build();
    velmorn::VhdlText t2(two, "p", "A");
    t2.genericDecl();
    t2.genericMap();
    EXPECT_EQ(t2.str().substr(prologue.size()),
              "   generic(\n      W :   integer := 4;\n      N :  natural\n   );\n"
              "   generic map(\n      W => W,\n      N => N\n   )\n");

    auto none = DesignBuilder("CNT").build();
    velmorn::VhdlText t3(none, "p", "A");
    t3.genericDecl();
    t3.genericMap();
    EXPECT_EQ(t3.str(), prologue);
}

TEST(Prologue, BannerLibraryTextAndTwoLineBreaks)
{
    auto d = DesignBuilder("CNT", "cnt").build();
    velmorn::VhdlText t(d, "cnt/cnt_x.vhd", "TMR");
    EXPECT_EQ(t.str(), vtest::banner("cnt/cnt_x.vhd", "TMR") + "LIBRARY IEEE;\n USE IEEE.STD_LOGIC_1164.ALL;\n  \n\n");
}

const std::string kBody = "\n   signal c : integer;\nbegin\n   q <= (others => '0');\n            ";

TEST(GenerateModul, WorkedExampleCounterCopyOne)
{
    auto d = DesignBuilder("COUNTER", "counter")
                 .generic("N", "  integer := 8")
                 .in("CLK")
                 .in("RST")
                 .out("Q", "  std_logic_vector(3 downto 0)")
                 .body(kBody)
                 .build();
    auto t = velmorn::GenerateModul(d, "_prm1", "TMR");
    EXPECT_EQ(t.path(), "counter/modules/counter_prm1.vhd");
    EXPECT_GOLDEN(t.str(), "modules/unit_counter_copy1.vhd");
}

TEST(GenerateModul, PortOrdersDifferPerBlockAndInoutIsDrivenFromItsSignal)
{
    auto d = DesignBuilder("U", "u").out("Q").inout("IO").in("A").out("R").body("BODY\n").build();
    EXPECT_GOLDEN(velmorn::GenerateModul(d, "_fu2", "FU+CH").str(), "modules/unit_port_orders_inout.vhd");
}

TEST(GenerateModul, BodyIsReferencedNotCopiedIntoEachFile)
{
    auto d = DesignBuilder("U", "u").out("Q").body(std::string(1 << 20, 'x')).build();
    auto t = velmorn::GenerateModul(d, "_prm1", "TMR");
    bool referenced = false;
    for (auto piece : t.views()) referenced = referenced || piece.data() == d.obsah2.data();
    EXPECT_TRUE(referenced);
    EXPECT_EQ(t.size(), t.str().size());
}

}  // namespace
