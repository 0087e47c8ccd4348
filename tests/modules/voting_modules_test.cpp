// The voting modules of the three-unit architectures: whole texts (golden
// files) for a design with a generic, an input and the outputs Q (std_logic)
// and R (vector), and the edge cases of the OR chains, generics and shared
// text.
#include <gtest/gtest.h>

#include "support/render.h"
#include "tops/tops.h"
#include "support/testing.h"

namespace {

using vtest::DesignBuilder;

velmorn::Design qr(bool generics = true)
{
    DesignBuilder b("CNT");
    if (generics) b.generic("W", " integer := 4");
    return b.in("CLK").out("Q").out("R", "  std_logic_vector(3 downto 0)").build();
}

// The two result steps of the two-channel modules: majority voting (TMR-2V-CMP)
// and the selectors of channel A (3FU-2MUX-CMP).
const std::string kVoters = R"(  Q_d_prm1_sigboutb <= (Q_d_prm1_in and Q_d_prm2_in) or (Q_d_prm2_in and Q_d_prm3_in) or (Q_d_prm1_in and Q_d_prm3_in);
  R_d_prm2_sigboutb <= (R_d_prm1_in and R_d_prm2_in) or (R_d_prm2_in and R_d_prm3_in) or (R_d_prm1_in and R_d_prm3_in);

  Q_d_prm1_sigbouta <= (Q_d_prm1_in and Q_d_prm2_in) or (Q_d_prm2_in and Q_d_prm3_in) or (Q_d_prm1_in and Q_d_prm3_in);
  R_d_prm2_sigbouta <= (R_d_prm1_in and R_d_prm2_in) or (R_d_prm2_in and R_d_prm3_in) or (R_d_prm1_in and R_d_prm3_in);

)";

const std::string kSelectorsOfChannelA = R"(   Q_d_prm1_sigboutb <= Q_d_prm1_in when (err1_siga = '0') else Q_d_prm2_in;
   R_d_prm2_sigboutb <= R_d_prm1_in when (err1_siga = '0') else R_d_prm2_in;

   Q_d_prm1_sigbouta <= Q_d_prm1_in when (err1_siga = '0') else Q_d_prm2_in;
   R_d_prm2_sigbouta <= R_d_prm1_in when (err1_siga = '0') else R_d_prm2_in;

)";

TEST(TwoVoterModule, WholeFileForTwoOutputs)
{
    const auto d = qr();
    const auto t = vtest::module(velmorn::emitTwoVoterModule, d, "_d_prm", "TMR-2V-CMP");
    EXPECT_EQ(t.path(), "cnt/modules/cnt_d_prm.vhd");
    EXPECT_GOLDEN(t.str(), "modules/two_voter_module_two_outputs.vhd");
}

TEST(CheckedTwoSelectorModule, WholeFileIsTheTwoChannelModuleWithSelectors)
{
    const auto d = qr();
    const auto t = vtest::module(velmorn::emitCheckedTwoSelectorModule, d, "_d_prm", "3FU-2MUX-CMP");
    EXPECT_EQ(t.path(), "cnt/modules/cnt_d_prm.vhd");
    EXPECT_GOLDEN(t.str(), "modules/checked_two_selector_module_two_outputs.vhd");

    // Apart from the banner label, only the two result steps differ from the
    // majority-voting module.
    std::string voting = vtest::module(velmorn::emitTwoVoterModule, d, "_d_prm", "3FU-2MUX-CMP").str();
    const auto at = voting.find(kVoters);
    ASSERT_NE(at, std::string::npos);
    voting.replace(at, kVoters.size(), kSelectorsOfChannelA);
    EXPECT_EQ(t.str(), voting);
}

TEST(TwoSelectorModule, WholeFileForTwoOutputs)
{
    const auto d = qr();
    const auto t = vtest::module(velmorn::emitTwoSelectorModule, d, "_d_prm", "3FU-2MUX");
    EXPECT_EQ(t.path(), "cnt/modules/cnt_d_prm.vhd");
    EXPECT_GOLDEN(t.str(), "modules/two_selector_module_two_outputs.vhd");
}

TEST(OneSelectorModule, WholeFileForTwoOutputs)
{
    const auto d = qr();
    const auto t = vtest::module(velmorn::emitOneSelectorModule, d, "_d_prm", "3FU-1MUX");
    EXPECT_EQ(t.path(), "cnt/modules/cnt_d_prm.vhd");
    EXPECT_GOLDEN(t.str(), "modules/one_selector_module_two_outputs.vhd");
}

using Emitter = void (*)(const velmorn::Design&, std::string_view, velmorn::VhdlOut&);
const std::vector<std::pair<const char*, Emitter>> kVotingModules = {
    {"TwoVoter", velmorn::emitTwoVoterModule},
    {"TwoSelector", velmorn::emitTwoSelectorModule},
    {"CheckedTwoSelector", velmorn::emitCheckedTwoSelectorModule},
    {"OneSelector", velmorn::emitOneSelectorModule},
};

bool contains(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

TEST(VotingModules, OneOutputGivesChainsWithoutOr)
{
    const auto d = DesignBuilder("CNT").in("CLK").out("Q").build();
    const std::string two = vtest::module(velmorn::emitTwoVoterModule, d, "_d_prm", "A").str();
    EXPECT_TRUE(contains(two, "\n   cmp13_siga <= Q_d_prm1_siga;\n\n"));
    EXPECT_TRUE(contains(two, "\n   cmp23_sigb <= Q_d_prm1_sigd;\n\n"));
    EXPECT_TRUE(contains(two, "\n   err_sig_mux <= errcmp_sig1;\n\n"));
    const std::string a = vtest::module(velmorn::emitTwoSelectorModule, d, "_d_prm", "A").str();
    EXPECT_TRUE(contains(a, "\n   cmp13_sig <= Q_d_prm1_siga;\n\n"));
    EXPECT_TRUE(contains(a, "\n   Err_d_prm <= errcmp_sig1;\n\n"));
    const std::string c = vtest::module(velmorn::emitOneSelectorModule, d, "_d_prm", "A").str();
    EXPECT_TRUE(contains(c, "\n   cmp23_sig <= Q_d_prm1_sigb;\n\n"));
    for (const auto& [name, gen] : kVotingModules) {
        const std::string text = vtest::module(gen, d, "_d_prm", "A").str();
        // The only " or " left are those of the fixed decoding lines.
        EXPECT_FALSE(contains(text, "_siga or ")) << name;
        EXPECT_FALSE(contains(text, "_sigb or ")) << name;
        EXPECT_FALSE(contains(text, "errcmp_sig1 or ")) << name;
        EXPECT_TRUE(contains(text, "      Q_d_prm_out : OUT  std_logic;\n      Err_d_prm1 : OUT std_logic;\n")) << name;
    }
}

TEST(VotingModules, ThreeOutputsChainAllComparisons)
{
    const auto d = DesignBuilder("CNT").out("Q").out("R").out("Z", "  std_logic_vector(1 downto 0)").build();
    EXPECT_TRUE(contains(vtest::module(velmorn::emitTwoVoterModule, d, "_d_prm", "A").str(),
                         "\n   err_sig_mux <= errcmp_sig1 or errcmp_sig2 or errcmp_sig3;\n\n"));
    EXPECT_TRUE(contains(vtest::module(velmorn::emitCheckedTwoSelectorModule, d, "_d_prm", "A").str(),
                         "\n   err_sig_mux <= errcmp_sig1 or errcmp_sig2 or errcmp_sig3;\n\n"));
    const std::string a = vtest::module(velmorn::emitTwoSelectorModule, d, "_d_prm", "A").str();
    EXPECT_TRUE(contains(a, "\n   Err_d_prm <= errcmp_sig1 or errcmp_sig2 or errcmp_sig3;\n\n"));
    EXPECT_TRUE(contains(a, "\n   cmp13_sig <= Q_d_prm1_siga or R_d_prm2_siga or Z_d_prm3_siga;\n\n"));
    EXPECT_TRUE(contains(a, "   signal Z_d_prm3_sigbouta :   std_logic_vector(1 downto 0);\n"));
    // The selector inputs carry the unit number, the result signals the position.
    EXPECT_TRUE(contains(a, "   Z_d_prm3_sigboutb <= Z_d_prm1_in when (err1_sig = '0') else Z_d_prm2_in;\n"));
    EXPECT_TRUE(contains(vtest::module(velmorn::emitOneSelectorModule, d, "_d_prm", "A").str(),
                         "\n   cmp23_sig <= Q_d_prm1_sigb or R_d_prm2_sigb or Z_d_prm3_sigb;\n\n"));
}

TEST(VotingModules, WithoutGenericsTheEntityHasNoGenericClause)
{
    const auto d = qr(false);
    for (const auto& [name, gen] : kVotingModules) {
        const std::string text = vtest::module(gen, d, "_d_prm", "A").str();
        EXPECT_FALSE(contains(text, "generic")) << name;
        EXPECT_TRUE(contains(text, "\n\nentity CNT_d_prm is\n   port(\n      Q_d_prm1_in : IN  std_logic;\n")) << name;
    }
}

TEST(VotingModules, InputsOfTheDesignDoNotChangeTheModule)
{
    const auto plain = DesignBuilder("CNT").out("Q").out("R").build();
    const auto more = DesignBuilder("CNT").in("CLK").in("RST").out("Q").out("R").build();
    for (const auto& [name, gen] : kVotingModules)
        EXPECT_EQ(vtest::module(gen, plain, "_d_prm", "A").str(), vtest::module(gen, more, "_d_prm", "A").str()) << name;
}

// The generic and port clauses after the line `from`, up to and including the
// "   );\n" that closes the port list.
std::string portBlock(const std::string& text, const std::string& from)
{
    const auto b = text.find(from);
    if (b == std::string::npos) return "<" + from + " missing>";
    const auto ports = text.find("   port(\n", b);
    const auto e = text.find("   );\n", ports);
    return text.substr(b + from.size(), e + 6 - b - from.size());
}

TEST(VotingModules, EntityEqualsTheComponentOfTheThreeUnitTop)
{
    const auto d = DesignBuilder("CNT")
                       .generic("W", " integer := 4")
                       .generic("D", " natural")
                       .in("CLK")
                       .inout("IO")
                       .out("Q", "  std_logic_vector(W-1 downto 0)")
                       .out("Z")
                       .build();
    const std::string top = vtest::top(velmorn::emitThreeUnitTop, d, velmorn::ThreeUnitTopNames{"_prm", "_d_prm"}, "_tmr_2v_cmp", "A").str();
    const std::string component = portBlock(top, "component CNT_d_prm is \n");
    EXPECT_TRUE(contains(component, "      Err_d_prm : OUT std_logic\n   );\n"));
    for (const auto& [name, gen] : kVotingModules)
        EXPECT_EQ(portBlock(vtest::module(gen, d, "_d_prm", "A").str(), "entity CNT_d_prm is\n"), component) << name;
}

}  // namespace
