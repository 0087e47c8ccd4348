// The functional-unit copy and the shared emission rules (banner, paths,
// generic blocks, last-element rule), checked against hand-written texts.
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
    const std::string expected = vtest::banner("counter/modules/counter_prm1.vhd", "TMR") + vtest::kIeeeLibrarys +
                                 "\n\n"
                                 "entity COUNTER_prm1 is\n"
                                 "   generic(\n"
                                 "      N :   integer := 8\n"
                                 "   );\n"
                                 "   port(\n"
                                 "      CLK_prm1 : in  std_logic;\n"
                                 "      RST_prm1 : in  std_logic;\n"
                                 "      Q_prm1 : out  std_logic_vector(3 downto 0)\n"
                                 "   );\n"
                                 "end entity COUNTER_prm1;\n"
                                 "\n"
                                 "\n"
                                 "architecture COUNTER_prm1_BEHAV of COUNTER_prm1 is\n"
                                 "\n"
                                 "   signal CLK :  std_logic;\n"
                                 "   signal RST :  std_logic;\n"
                                 "   signal Q :  std_logic_vector(3 downto 0);\n" +
                                 kBody +
                                 "   CLK <= CLK_prm1;\n"
                                 "   RST <= RST_prm1;\n"
                                 "   Q_prm1 <= Q;\n"
                                 "\n"
                                 "end COUNTER_prm1_BEHAV;";
    auto t = velmorn::GenerateModul(d, "_prm1", "TMR");
    EXPECT_EQ(t.path(), "counter/modules/counter_prm1.vhd");
    EXPECT_EQ(t.str(), expected);
}

TEST(GenerateModul, PortOrdersDifferPerBlockAndInoutIsDrivenFromItsSignal)
{
    auto d = DesignBuilder("U", "u").out("Q").inout("IO").in("A").out("R").body("BODY\n").build();
    const std::string expected = vtest::banner("u/modules/u_fu2.vhd", "FU+CH") + vtest::kIeeeLibrarys +
                                 "\n\n"
                                 "entity U_fu2 is\n"
                                 "   port(\n"
                                 "      A_fu2 : in  std_logic;\n"
                                 "      IO_fu2 : inout  std_logic;\n"
                                 "      Q_fu2 : out  std_logic;\n"
                                 "      R_fu2 : out  std_logic\n"
                                 "   );\n"
                                 "end entity U_fu2;\n\n\n"
                                 "architecture U_fu2_BEHAV of U_fu2 is\n\n"
                                 "   signal A :  std_logic;\n"
                                 "   signal Q :  std_logic;\n"
                                 "   signal R :  std_logic;\n"
                                 "   signal IO :  std_logic;\n"
                                 "BODY\n"
                                 "   A <= A_fu2;\n"
                                 "   Q_fu2 <= Q;\n"
                                 "   R_fu2 <= R;\n"
                                 "   IO_fu2 <= IO;\n"
                                 "\n"
                                 "end U_fu2_BEHAV;";
    EXPECT_EQ(velmorn::GenerateModul(d, "_fu2", "FU+CH").str(), expected);
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
