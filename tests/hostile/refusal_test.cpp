// Sources that hold more than one entity and one architecture: the analysis
// cannot carry the other design units over, so it refuses them with a message
// instead of writing files that cannot compile. Lookalikes that are part of an
// architecture (entity instances, attribute specifications, configuration
// specifications, context references) are still accepted.
#include <gtest/gtest.h>

#include "support/analyse.h"

namespace {

vtest::Analysed analyse(const std::string& text) { return vtest::analyseText(text, "t.vhd", "t"); }

const std::string kLib = "library ieee;\nuse ieee.std_logic_1164.all;\n";
const std::string kEntity = "entity e is\n   port(\n      a : in std_logic;\n      q : out std_logic\n   );\nend e;\n";
const std::string kArch = "architecture rtl of e is\nbegin\n   q <= a;\nend rtl;\n";
const std::string kEntityLine = "Analysis of entity - E ... Done\n";
const std::string kArchLine = "Analysis of architecture E ... Done\n";

std::string refusal(const std::string& what) { return "Unsupported " + what + " in input file - t.vhd !\n"; }

TEST(DesignUnitRefusal, DesignUnitBeforeTheEntity)
{
    const std::string pkg = "package p is\n   constant C : integer := 1;\nend package p;\n";
    EXPECT_EQ(analyse(kLib + pkg + kEntity + kArch).console, refusal("package before the entity"));
    EXPECT_EQ(analyse(pkg + kLib + kEntity + kArch).console, refusal("package before the entity"));
    EXPECT_EQ(analyse(kLib + "package body p is\nend package body;\n" + kEntity + kArch).console,
              refusal("package before the entity"));
    EXPECT_EQ(analyse("configuration c of e is\n   for rtl\n   end for;\nend c;\n" + kEntity + kArch).console,
              refusal("configuration before the entity"));
    EXPECT_EQ(analyse(kLib + "context ctx is\n   library ieee;\nend context ctx;\n" + kEntity + kArch).console,
              refusal("context declaration before the entity"));
    EXPECT_EQ(analyse("context ctx is\n   library ieee;\nend context ctx;\n" + kEntity + kArch).console,
              refusal("context declaration before the entity"));
    EXPECT_FALSE(analyse(kLib + "package p is\nend;\n" + kEntity + kArch).ok);
}

TEST(DesignUnitRefusal, DesignUnitBetweenTheEntityAndTheArchitecture)
{
    const std::string other = "entity f is\n   port(\n      b : in std_logic;\n      r : out std_logic\n   );\nend f;\n";
    auto between = [&](const std::string& unit) { return analyse(kLib + kEntity + unit + kArch); };
    vtest::Analysed r = between(other);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.console, kEntityLine + refusal("second entity before the architecture"));
    // 'end;' followed by another entity is not 'end entity'.
    r = analyse(kLib + "entity e is\n   port(q : out std_logic);\nend;\nentity f is\n   port(r : out std_logic);\nend;\n" +
                kArch);
    EXPECT_EQ(r.console, kEntityLine + refusal("second entity before the architecture"));
    EXPECT_EQ(between("package p is\nend package p;\n").console,
              kEntityLine + refusal("package between the entity and the architecture"));
    EXPECT_EQ(between("configuration c of e is\n   for rtl\n   end for;\nend c;\n").console,
              kEntityLine + refusal("configuration between the entity and the architecture"));
    EXPECT_EQ(between("context ctx is\n   library ieee;\nend context ctx;\n").console,
              kEntityLine + refusal("context declaration between the entity and the architecture"));
}

TEST(DesignUnitRefusal, DesignUnitAfterTheArchitecture)
{
    auto after = [&](const std::string& unit) { return analyse(kLib + kEntity + kArch + unit); };
    vtest::Analysed r = after("\narchitecture other of e is\nbegin\n   q <= not a;\nend other;\n");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.console, kEntityLine + kArchLine + refusal("second architecture"));
    EXPECT_EQ(after("configuration c of e is\n   for rtl\n   end for;\nend configuration c;\n").console,
              kEntityLine + kArchLine + refusal("configuration after the architecture"));
    EXPECT_EQ(after(kLib + "entity f is\n   port(r : out std_logic);\nend f;\n").console,
              kEntityLine + kArchLine + refusal("entity after the architecture"));
    EXPECT_EQ(after("package p is\nend;\n").console,
              kEntityLine + kArchLine + refusal("package after the architecture"));
    EXPECT_EQ(after("package body p is\nend;\n").console,
              kEntityLine + kArchLine + refusal("package after the architecture"));
    EXPECT_EQ(after("CONTEXT Ctx IS\nEND CONTEXT;\n").console,
              kEntityLine + kArchLine + refusal("context declaration after the architecture"));
}

TEST(DesignUnitRefusal, UnterminatedStringLiteralInTheBody)
{
    const std::string msg = "Unterminated string literal in the architecture of input file - t.vhd !\n";
    vtest::Analysed r = analyse(kLib + kEntity + kArch + "\"never closed");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.console, kEntityLine + kArchLine + msg);
    r = analyse(kLib + kEntity + "architecture rtl of e is\nbegin\n   report \"half\n   ;\n   q <= a;\nend rtl;\n");
    EXPECT_EQ(r.console, kEntityLine + kArchLine + msg);
}

TEST(DesignUnitRefusal, UnterminatedDelimitedCommentInTheBody)
{
    vtest::Analysed r = analyse(kLib + kEntity + kArch + "/* never closed\n");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.console, kEntityLine + kArchLine + "Unterminated comment in the architecture of input file - t.vhd !\n");
    // A closed one hides its words: neither its END nor its units count.
    r = analyse(kLib + kEntity + "architecture rtl of e is\nbegin\n   q <= a;\nend rtl; /* end\narchitecture x of e is */\n");
    ASSERT_TRUE(r.ok) << r.console;
    EXPECT_EQ(r.d.body.str(), "\nbegin\n   q <= a;\n" + std::string(42, ' '));
}

TEST(DesignUnitRefusal, ControlCharactersAreNotVhdlText)
{
    std::string nul = kLib + kEntity + kArch;
    nul.replace(nul.find("a : in"), 1, std::string("a\0b", 3));  // inside a port name
    vtest::Analysed r = analyse(nul);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.console, "Invalid character at line 5 in input file - t.vhd !\n");
    EXPECT_EQ(analyse("\x01\x02" + kEntity + kArch).console, "Invalid character at line 1 in input file - t.vhd !\n");
    // Tabs, form feeds, vertical tabs and CRLF line ends are white space.
    EXPECT_TRUE(analyse("\tlibrary ieee;\r\n\fuse ieee.std_logic_1164.all;\v\r\n" + kEntity + kArch).ok);
}

TEST(DesignUnitRefusal, PartsOfAnArchitectureThatLookLikeUnitsAreAccepted)
{
    const std::string body =
        "architecture rtl of e is\n"
        "   attribute syn_hier : string;\n"
        "   attribute syn_hier of rtl : architecture is \"hard\";\n"
        "   attribute keep : boolean;\n"
        "   attribute keep of e : entity is true;\n"
        "   component sub is port(x : in std_logic; y : out std_logic); end component;\n"
        "   for all : sub use configuration work.sub_cfg;\n"
        "   signal s : std_logic;\n"
        "begin\n"
        "   u0 : entity work.sub port map(x => a, y => s);\n"
        "   u1 : sub port map(x => s, y => q); -- architecture x of y is\n"
        "   report \"entity f is\" & \"architecture g of e is\" & '\"' & \"\";\n"
        "end architecture rtl;\n";
    vtest::Analysed r = analyse(kLib + "context ieee.ieee_std_context;\n" + kEntity + body);
    EXPECT_TRUE(r.ok) << r.console;
    EXPECT_EQ(r.console, kEntityLine + kArchLine);
    EXPECT_EQ(r.d.contextClause, "LIBRARY IEEE;\n USE IEEE.STD_LOGIC_1164.ALL;\n CONTEXT IEEE.IEEE_STD_CONTEXT;\n ");
}

}  // namespace
