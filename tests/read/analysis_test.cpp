// The analysis of sources held in memory: library text, generic and port
// records, console lines, refusals, and the cut of the closing END clause.
#include <gtest/gtest.h>

#include <sstream>

#include "read/body.h"
#include "support/analyse.h"

namespace {

vtest::Analysed analyse(const std::string& source) { return vtest::analyseText(source); }

const std::string kArch = "architecture rtl of e is\nbegin\nend rtl;\n";

TEST(Analysis, LibraryClausesAreRebuiltWithOneBlankPerWhiteSpace)
{
    auto a = analyse("library ieee;\nuse ieee.std_logic_1164.all;\n\nentity e is\nport(q : out bit);\nend e;\n" +
                     kArch);
    ASSERT_TRUE(a.ok);
    EXPECT_EQ(a.d.contextClause, "LIBRARY IEEE;\n USE IEEE.STD_LOGIC_1164.ALL;\n  ");
}

TEST(Analysis, NoLibraryClauseLeavesLibraryTextEmpty)
{
    auto a = analyse("entity e is\nport(q : out bit);\nend e;\n" + kArch);
    ASSERT_TRUE(a.ok);
    EXPECT_EQ(a.d.contextClause, "");
}

TEST(Analysis, GenericRecordsCarryTypeAndDefault)
{
    auto a = analyse("entity e is\ngeneric(\n n : integer := 8;\n w, v : natural\n);\nport(q : out bit);\nend e;\n" +
                     kArch);
    ASSERT_TRUE(a.ok);
    ASSERT_EQ(a.d.generics.size(), 3u);
    EXPECT_EQ(a.d.generics[0].name, "N");
    EXPECT_EQ(a.d.generics[0].type, "  integer := 8");
    EXPECT_EQ(a.d.generics[1].name, "W");
    EXPECT_EQ(a.d.generics[2].name, "V");
    EXPECT_EQ(a.d.generics[2].type, "  natural");
}

TEST(Analysis, PortsAreSortedIntoTheirModeListsInOrder)
{
    auto a = analyse("entity e is\nport(\n a, b : in std_logic;\n q : out std_logic;\n io : inout std_logic;\n"
                     " signal s : in bit;\n r : out std_logic_vector(3 downto 0));\nend e;\n" +
                     kArch);
    ASSERT_TRUE(a.ok);
    ASSERT_EQ(a.d.inputs.size(), 3u);
    EXPECT_EQ(a.d.inputs[0].name, "A");
    EXPECT_EQ(a.d.inputs[1].name, "B");
    EXPECT_EQ(a.d.inputs[1].type, "  std_logic");
    EXPECT_EQ(a.d.inputs[2].name, "S");
    EXPECT_EQ(a.d.inputs[2].type, "  bit");
    ASSERT_EQ(a.d.outputs.size(), 2u);
    EXPECT_EQ(a.d.outputs[0].name, "Q");
    EXPECT_EQ(a.d.outputs[1].name, "R");
    EXPECT_EQ(a.d.outputs[1].type, "  std_logic_vector(3 downto 0)");
    ASSERT_EQ(a.d.inouts.size(), 1u);
    EXPECT_EQ(a.d.inouts[0].name, "IO");
}

TEST(Analysis, PortWithoutModeIsAnInPortTypedByItsFirstWord)
{
    auto a = analyse("entity e is\nport(\n q : out bit;\n a : std_logic;\n v : std_logic_vector(1 downto 0)\n);\n"
                     "end e;\n" +
                     kArch);
    ASSERT_TRUE(a.ok);
    ASSERT_EQ(a.d.inputs.size(), 2u);
    EXPECT_EQ(a.d.inputs[0].name, "A");
    EXPECT_EQ(a.d.inputs[0].type, "  STD_LOGIC");
    EXPECT_EQ(a.d.inputs[1].type, "  STD_LOGIC_VECTOR(1 downto 0)");
    EXPECT_EQ(a.d.outputs.size(), 1u);
}

TEST(Analysis, BufferPortIsAnOutPort)
{
    auto a = analyse("entity e is\nport(\n b : buffer bit\n);\nend e;\n" + kArch);
    ASSERT_TRUE(a.ok);
    ASSERT_EQ(a.d.outputs.size(), 1u);
    EXPECT_EQ(a.d.outputs[0].name, "B");
    EXPECT_EQ(a.d.outputs[0].type, "  bit");
}

TEST(Analysis, LinkagePortIsRefused)
{
    auto a = analyse("entity e is\nport(\n q : out bit;\n l : linkage bit\n);\nend e;\n" + kArch);
    EXPECT_FALSE(a.ok);
    EXPECT_EQ(a.console, "Analysis of entity - E Unsupported port mode LINKAGE in entity - E !\n");
}

TEST(Analysis, ConsoleLinesOfACompleteSource)
{
    auto a = analyse("entity counter is\nport(q : out bit);\nend counter;\narchitecture rtl of counter is\nbegin\n"
                     "end rtl;\n");
    ASSERT_TRUE(a.ok);
    EXPECT_EQ(a.console, "Analysis of entity - COUNTER ... Done\nAnalysis of architecture COUNTER ... Done\n");
}

TEST(Analysis, EntityWithoutGenericsAndPortsWritesKonec)
{
    auto a = analyse("entity ent is\nend ent;\narchitecture a of ent is\nbegin\nend a;\n");
    ASSERT_TRUE(a.ok);
    EXPECT_EQ(a.console, "Analysis of entity - ENT ENTkonec Done\nAnalysis of architecture ENT ... Done\n");
    EXPECT_TRUE(a.d.outputs.empty());
}

TEST(Analysis, BodyIsTheRestAfterIsWithItsEndClauseBlanked)
{
    auto a = analyse("entity e is\nport(q : out bit);\nend e;\narchitecture rtl of e is\n"
                     "  signal s : bit;\nbegin\n  q <= s;\nend rtl;\n");
    ASSERT_TRUE(a.ok);
    EXPECT_EQ(a.d.body.str(), "\n  signal s : bit;\nbegin\n  q <= s;\n         ");
}

TEST(Analysis, SourceNotStartingWithAClauseOrEntityHasNoEntity)
{
    auto a = analyse("signal s : bit;\nentity e is\nend e;\n");
    EXPECT_FALSE(a.ok);
    EXPECT_EQ(a.console, "No entity found in input file - src.vhd !\n");
    EXPECT_FALSE(analyse("").ok);
    EXPECT_EQ(analyse("").console, "No entity found in input file - src.vhd !\n");
    EXPECT_EQ(analyse("library ieee;\nuse ieee.std_logic_1164.all;\n").console,
              "No entity found in input file - src.vhd !\n");
}

TEST(Analysis, SourceEndingBeforeArchitectureHasNoArchitecture)
{
    const std::string msg = "No architecture found in input file - src.vhd !\n";
    auto inPorts = analyse("entity e is\nport(q : out");
    EXPECT_FALSE(inPorts.ok);
    EXPECT_EQ(inPorts.console, "Analysis of entity - E " + msg);
    auto afterEntity = analyse("entity e is\nport(q : out bit);\nend e;\n");
    EXPECT_FALSE(afterEntity.ok);
    EXPECT_EQ(afterEntity.console, "Analysis of entity - E ... Done\n" + msg);
    auto inHead = analyse("entity e is\nport(q : out bit);\nend e;\narchitecture rtl of");
    EXPECT_FALSE(inHead.ok);
    EXPECT_EQ(inHead.console, "Analysis of entity - E ... Done\n" + msg);
    EXPECT_FALSE(analyse("entity e is\ngeneric(n : integer").ok);
}

TEST(Analysis, BodyWithoutEndIsRefused)
{
    auto a = analyse("entity e is\nport(q : out bit);\nend e;\narchitecture rtl of e is\nbegin\n q <= '1';\n");
    EXPECT_FALSE(a.ok);
    EXPECT_EQ(a.console, "Analysis of entity - E ... Done\nAnalysis of architecture E ... Done\n"
                         "Can't find the end of architecture in input file - src.vhd !\n");
}

// The closing END clause: the last whole word END outside comments and strings.
std::string cut(std::string body)
{
    EXPECT_TRUE(velmorn::cutClosingEnd(body));
    return body;
}

TEST(ClosingEnd, BlanksFromTheEOfEndToTheEndOfText)
{
    EXPECT_EQ(cut(" x;\nend behav;\n"), " x;\n           ");
    EXPECT_EQ(cut(" x;\nend architecture behav;\n"), " x;\n" + std::string(24, ' '));
    EXPECT_EQ(cut(" x;\nEnd Behav;"), " x;\n          ");
}

TEST(ClosingEnd, BareEndWithoutNameIsTheClosingClause)
{
    EXPECT_EQ(cut("process begin end process;\nx;\nend;"), "process begin end process;\nx;\n    ");
}

TEST(ClosingEnd, EndFollowedByTabOrLineFeedIsFound)
{
    EXPECT_EQ(cut("a;\nend\trtl;"), "a;\n        ");
    EXPECT_EQ(cut("a;\nend\nrtl;"), "a;\n        ");
}

TEST(ClosingEnd, CommentsStringsAndLongerWordsAreNotTheEnd)
{
    EXPECT_EQ(cut("a;\nend rtl; -- the end\n"), "a;\n" + std::string(20, ' '));
    EXPECT_EQ(cut("s <= \"end\";\nbackend <= x;\nend;"), "s <= \"end\";\nbackend <= x;\n    ");
    EXPECT_EQ(cut("end_x <= '1';\nend;"), "end_x <= '1';\n    ");
    EXPECT_EQ(cut("c <= '\"'; -- \"\nend;"), "c <= '\"'; -- \"\n    ");
}

TEST(ClosingEnd, TextWithoutEndWordIsLeftAlone)
{
    std::string body = "a <= backend; -- end\ns <= \"end\";";
    const std::string before = body;
    EXPECT_FALSE(velmorn::cutClosingEnd(body));
    EXPECT_EQ(body, before);
}

}  // namespace
