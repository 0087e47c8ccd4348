// Legal VHDL in the layouts real projects use: declarations over several
// lines, literals that hold ";" or "--", comments anywhere, clause lists,
// clauses after the entity, the entity's own declarations. Each source is read
// with the interface it declares (names, modes, type texts up to blanks and
// case, defaults) and every switch gives a tree that GHDL elaborates; or it is
// refused with a message that names what cannot be carried over.
#include <gtest/gtest.h>

#include <cctype>

#include "support/analyse.h"
#include "support/every_switch.h"

namespace {

using velmorn::PortMode;

struct Decl {
    std::string name;
    PortMode mode;
    std::string type;  // compared without blanks and case; a generic's default included
};

struct Layout {
    const char* name;
    std::string source;
    std::vector<Decl> generics = {}, ports = {};  // the generics' mode is not read
    std::string refusal = {};  // the refusal's console line, instead of an interface
    std::string context = {};  // a piece the generated files' context clause holds
};

void PrintTo(const Layout& l, std::ostream* os) { *os << l.name; }

const std::string kIeee = "library ieee;\nuse ieee.std_logic_1164.all;\n\n";

const std::vector<Layout>& layouts()
{
    static const std::vector<Layout> list = {
        {"ModeAtTheEndOfALine",
         kIeee + "entity mux4 is\n   port(\n      sel : in\n         std_logic_vector(1 downto 0);\n"
                 "      d   : in std_logic_vector(3 downto 0);\n      y   : out std_logic\n   );\nend mux4;\n\n"
                 "architecture rtl of mux4 is\nbegin\n   y <= d(0) when sel = \"00\" else d(1) when sel = \"01\" else\n"
                 "        d(2) when sel = \"10\" else d(3);\nend rtl;\n",
         {},
         {{"SEL", PortMode::In, "std_logic_vector(1 downto 0)"},
          {"D", PortMode::In, "std_logic_vector(3 downto 0)"},
          {"Y", PortMode::Out, "std_logic"}}},
        {"ConstraintAndDefaultsOnTheNextLine",
         kIeee + "entity acc is\n   generic (\n      W : integer\n         := 4;\n      INIT : std_logic\n"
                 "         := '0'\n   );\n   port (\n      a : in std_logic_vector\n             (W-1 downto 0);\n"
                 "      y : out std_logic_vector(W-1 downto 0)\n             := (others => '0')\n   );\nend acc;\n\n"
                 "architecture rtl of acc is\nbegin\n   y <= a;\nend rtl;\n",
         {{"W", PortMode::In, "integer := 4"}, {"INIT", PortMode::In, "std_logic := '0'"}},
         {{"A", PortMode::In, "std_logic_vector (W-1 downto 0)"},
          {"Y", PortMode::Out, "std_logic_vector(W-1 downto 0) := (others => '0')"}}},
        {"LiteralsHoldingSemicolonsAndDashes",
         kIeee + "entity tagger is\n   generic(\n      NAME : string := \"core;0\";\n      TAG : string := \"a--b\";\n"
                 "      PREFIX : string := \"--core\"; -- a comment after it\n      FILL : character := ';';\n"
                 "      QUOTE : character := '\"';\n      DASH : character := '-'\n   );\n"
                 "   port(\n      clk : in std_logic;\n      q : out std_logic\n   );\nend tagger;\n\n"
                 "architecture rtl of tagger is\nbegin\n   q <= clk when NAME(1) = 'c' and FILL = ';' else '0';\nend rtl;\n",
         {{"NAME", PortMode::In, "string := \"core;0\""},
          {"TAG", PortMode::In, "string := \"a--b\""},
          {"PREFIX", PortMode::In, "string := \"--core\""},
          {"FILL", PortMode::In, "character := ';'"},
          {"QUOTE", PortMode::In, "character := '\"'"},
          {"DASH", PortMode::In, "character := '-'"}},
         {{"CLK", PortMode::In, "std_logic"}, {"Q", PortMode::Out, "std_logic"}}},
        {"DelimitedCommentsInThePortList",
         kIeee + "entity gate is\n   port(\n      data : in std_logic; /* spare : in std_logic; */\n"
                 "      /* the result,\n         one bit */ y : out /* registered */ std_logic\n   );\nend gate;\n\n"
                 "architecture rtl of gate is\nbegin\n   y <= not data;\nend rtl;\n",
         {},
         {{"DATA", PortMode::In, "std_logic"}, {"Y", PortMode::Out, "std_logic"}}},
        {"ExtendedIdentifierIsRefused",
         kIeee + "entity ext is\n   port(\n      \\a[0]\\ : in std_logic;\n      y : out std_logic\n   );\n"
                 "end ext;\n\narchitecture rtl of ext is\nbegin\n   y <= \\a[0]\\;\nend rtl;\n",
         {},
         {},
         "Unsupported extended identifier \\a[0]\\ in entity EXT (give the port or generic a plain name) in input "
         "file - src.vhd !\n"},
        {"UseClauseBeforeTheLibraryClause",
         "use std.textio.all;\nlibrary ieee;\nuse ieee.std_logic_1164.all;\n\nentity echo is\n   port(\n"
         "      a : in std_logic;\n      y : out std_logic\n   );\nend echo;\n\narchitecture rtl of echo is\n"
         "begin\n   y <= a;\nend rtl;\n",
         {},
         {{"A", PortMode::In, "std_logic"}, {"Y", PortMode::Out, "std_logic"}},
         "",
         "USE STD.TEXTIO.ALL;\n LIBRARY IEEE;"},
        {"ClauseListsKeepTheirCommas",
         "library ieee, std;\nuse ieee.std_logic_1164.all, ieee.numeric_std.all;\n\nentity incr is\n   port(\n"
         "      a : in unsigned(3 downto 0);\n      y : out unsigned(3 downto 0)\n   );\nend incr;\n\n"
         "architecture rtl of incr is\nbegin\n   y <= a + 1;\nend rtl;\n",
         {},
         {{"A", PortMode::In, "unsigned(3 downto 0)"}, {"Y", PortMode::Out, "unsigned(3 downto 0)"}},
         "",
         "LIBRARY IEEE, STD;\n USE IEEE.STD_LOGIC_1164.ALL, IEEE.NUMERIC_STD.ALL;"},
        {"ClausesOfTheArchitectureAfterTheEntity",
         kIeee + "entity adder is\n   port(\n      a, b : in std_logic_vector(7 downto 0);\n"
                 "      s : out std_logic_vector(7 downto 0)\n   );\nend entity adder;\n\n"
                 "library ieee;\nuse ieee.numeric_std.all;\n\narchitecture rtl of adder is\nbegin\n"
                 "   s <= std_logic_vector(unsigned(a) + unsigned(b));\nend architecture rtl;\n",
         {},
         {{"A", PortMode::In, "std_logic_vector(7 downto 0)"},
          {"B", PortMode::In, "std_logic_vector(7 downto 0)"},
          {"S", PortMode::Out, "std_logic_vector(7 downto 0)"}},
         "",
         "LIBRARY IEEE;\nUSE IEEE.NUMERIC_STD.ALL;\n"},
        {"ConstantsAndTypesOfTheEntityReachTheBody",
         kIeee + "entity masker is\n   port(\n      d : in std_logic_vector(3 downto 0);\n"
                 "      q : out std_logic_vector(3 downto 0)\n   );\n"
                 "   constant MASK : std_logic_vector(3 downto 0) := \"1010\"; -- the bits kept\n"
                 "   subtype nibble is std_logic_vector(3 downto 0);\nend masker;\n\n"
                 "architecture rtl of masker is\n   signal m : nibble;\nbegin\n   m <= d and MASK;\n   q <= m;\nend rtl;\n",
         {},
         {{"D", PortMode::In, "std_logic_vector(3 downto 0)"}, {"Q", PortMode::Out, "std_logic_vector(3 downto 0)"}}},
        {"AttributeOfTheEntityIsRefused",
         kIeee + "entity kept is\n   port(\n      a : in std_logic;\n      y : out std_logic\n   );\n"
                 "   attribute dont_touch : string;\n   attribute dont_touch of kept : entity is \"true\";\nend kept;\n\n"
                 "architecture rtl of kept is\nbegin\n   y <= a;\nend rtl;\n",
         {},
         {},
         "Unsupported attribute DONT_TOUCH set in entity KEPT (move it into the architecture) in input file "
         "- src.vhd !\n"},
        {"StatementPartOfTheEntityIsRefused",
         kIeee + "entity fifo is\n   generic(DEPTH : natural := 4);\n   port(\n      a : in std_logic;\n"
                 "      y : out std_logic\n   );\nbegin\n   assert DEPTH >= 2 report \"DEPTH too small\" severity failure;\n"
                 "end fifo;\n\narchitecture rtl of fifo is\nbegin\n   y <= a;\nend rtl;\n",
         {},
         {},
         "Unsupported statement part of entity FIFO (move its statements into the architecture) in input file - "
         "src.vhd !\n"},
        {"PackageDeclaredInTheArchitecture",
         "library ieee;\nuse ieee.std_logic_1164.all;\nuse ieee.numeric_std.all;\n\nentity lut is\n   port(\n      i : in std_logic_vector(1 downto 0);\n      o : out std_logic\n"
                 "   );\nend lut;\n\narchitecture rtl of lut is\n   package tables is\n"
                 "      constant T : std_logic_vector(0 to 3) := \"0110\";\n   end package tables;\n"
                 "   use tables.all;\nbegin\n   o <= T(to_integer(unsigned(i)));\nend rtl;\n",
         {},
         {},
         "",
         ""},
        {"ArchitectureOfAnotherEntityIsRefused",
         kIeee + "entity t3 is\n   port(\n      a : in std_logic;\n      y : out std_logic\n   );\nend t3;\n\n"
                 "architecture rtl of other is\nbegin\n   y <= a;\nend rtl;\n",
         {},
         {},
         "Architecture RTL of OTHER is not an architecture of entity T3 in input file - src.vhd !"},
    };
    return list;
}

std::string squeezed(const std::string& type)
{
    std::string s;
    for (char c : type)
        if (!std::isspace(static_cast<unsigned char>(c))) s += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::vector<Layout> acceptedLayouts()
{
    std::vector<Layout> accepted;
    for (const auto& l : layouts())
        if (l.refusal.empty()) accepted.push_back(l);
    return accepted;
}

class SourceLayouts : public ::testing::TestWithParam<Layout> {};
class GhdlSourceLayouts : public ::testing::TestWithParam<Layout> {};

TEST_P(SourceLayouts, ReadAsDeclaredOrRefusedByName)
{
    const Layout& l = GetParam();
    const auto a = vtest::analyseText(l.source);
    if (!l.refusal.empty()) {
        EXPECT_FALSE(a.ok);
        EXPECT_NE(a.console.find(l.refusal), std::string::npos) << a.console;
        return;
    }
    ASSERT_TRUE(a.ok) << a.console;
    ASSERT_EQ(a.d.generics.size(), l.generics.size()) << a.console;
    for (size_t i = 0; i < l.generics.size(); ++i) {
        EXPECT_EQ(a.d.generics[i].name, l.generics[i].name);
        EXPECT_EQ(squeezed(a.d.generics[i].type), squeezed(l.generics[i].type)) << a.d.generics[i].type;
        EXPECT_EQ(a.d.generics[i].type.front(), ' ') << "a type text begins with a blank";
    }
    if (!l.ports.empty()) {
        std::vector<Decl> got;
        for (const auto* list : {&a.d.inputs, &a.d.outputs, &a.d.inouts})
            for (const auto& p : *list) got.push_back({p.name, p.mode, p.type});
        std::vector<Decl> expected;
        for (PortMode m : {PortMode::In, PortMode::Out, PortMode::Inout})
            for (const auto& p : l.ports)
                if (p.mode == m) expected.push_back(p);
        ASSERT_EQ(got.size(), expected.size()) << a.console;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].name, expected[i].name);
            EXPECT_EQ(got[i].mode, expected[i].mode) << got[i].name;
            EXPECT_EQ(squeezed(got[i].type), squeezed(expected[i].type)) << got[i].name << ":" << got[i].type;
            EXPECT_EQ(got[i].type.front(), ' ') << got[i].name;
        }
    }
    EXPECT_NE(a.d.contextClause.find(l.context), std::string::npos) << a.d.contextClause;
}

TEST_P(GhdlSourceLayouts, EverySwitchElaborates)
{
    const Layout& l = GetParam();
    const auto a = vtest::analyseText(l.source, "src.vhd", "src");
    ASSERT_TRUE(a.ok) << a.console;
    vtest::expectEverySwitchElaborates("src.vhd", l.source, a.d);
}

std::string layoutName(const ::testing::TestParamInfo<Layout>& info) { return info.param.name; }
INSTANTIATE_TEST_SUITE_P(Layouts, SourceLayouts, ::testing::ValuesIn(layouts()), layoutName);
INSTANTIATE_TEST_SUITE_P(Layouts, GhdlSourceLayouts, ::testing::ValuesIn(acceptedLayouts()), layoutName);

}  // namespace
