// Top level of the three-unit architectures: the whole file (a golden file)
// for a design with a generic, an input, an inout port and a vector output,
// and the edge cases of generics, port counts and the four plans that share it.
#include <gtest/gtest.h>

#include "support/render.h"
#include "tops/tops.h"
#include "support/testing.h"

namespace {

using vtest::DesignBuilder;

TEST(ThreeUnitTop, WholeFileWithGenericInoutAndVectorOutput)
{
    const auto d = DesignBuilder("CNT")
                       .generic("W", " integer := 4")
                       .in("CLK")
                       .inout("IO")
                       .out("Q", "  std_logic_vector(3 downto 0)")
                       .build();
    const auto t = vtest::top(velmorn::emitThreeUnitTop, d, velmorn::ThreeUnitTopNames{"_prm", "_d_prm"}, "_tmr_2v_cmp", "TMR-2V-CMP");
    EXPECT_EQ(t.path(), "cnt/cnt_tmr_2v_cmp.vhd");
    EXPECT_GOLDEN(t.str(), "tops/three_unit_generic_inout_vector.vhd");
}

bool contains(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

TEST(ThreeUnitTop, WithoutGenericsAndInputsOnlyOutputsRemain)
{
    const auto d = DesignBuilder("CNT").out("Q").out("R").out("Z").build();
    const std::string text = vtest::top(velmorn::emitThreeUnitTop, d, velmorn::ThreeUnitTopNames{"_prm", "_d_prm"}, "_3fu_1mux", "3FU-1MUX").str();
    EXPECT_FALSE(contains(text, "generic"));
    EXPECT_TRUE(contains(text, "\n\nentity CNT is\n   port(\n      Q : OUT  std_logic;\n"));
    EXPECT_TRUE(contains(text, "component CNT_prm2 is \n   port(\n      Q_prm2 : OUT  std_logic;\n      R_prm2 : OUT  "
                               "std_logic;\n      Z_prm2 : OUT  std_logic\n   );\n"));
    // Signals unit by unit; the voting module's map port by port.
    EXPECT_TRUE(contains(text, "signal Z_prm1_sig :   std_logic;\nsignal Q_prm2_sig :   std_logic;\n"));
    EXPECT_TRUE(contains(text, "      Q_d_prm3_in => Q_prm3_sig,\n      R_d_prm1_in => R_prm1_sig,\n"));
    EXPECT_TRUE(contains(text, "      Z_d_prm_out => Z,\n      Err_d_prm1 => Err_prm1,\n"));
    EXPECT_TRUE(contains(text, "CNT3_prm : CNT_prm3\n   port map(\n      Q_prm3 => Q_prm3_sig,\n"));
}

TEST(ThreeUnitTop, TheFourPlansDifferOnlyInFileNameAndLabel)
{
    const auto d = DesignBuilder("CNT").generic("W", " integer := 4").in("CLK").out("Q").build();
    const std::vector<std::pair<std::string, std::string>> plans = {
        {"_tmr_2v_cmp", "TMR-2V-CMP"}, {"_3fu_2mux", "3FU-2MUX"}, {"_3fu_1mux", "3FU-1MUX"},
        {"_3fu_2mux_cmp", "3FU-2MUX-CMP"}};
    std::string first;
    for (const auto& [top, arch] : plans) {
        const auto t = vtest::top(velmorn::emitThreeUnitTop, d, velmorn::ThreeUnitTopNames{"_prm", "_d_prm"}, top, arch);
        EXPECT_EQ(t.path(), "cnt/cnt" + top + ".vhd");
        const std::string b = vtest::banner(t.path(), arch);
        ASSERT_EQ(t.str().substr(0, b.size()), b);
        const std::string rest = t.str().substr(b.size());
        if (first.empty()) first = rest;
        EXPECT_EQ(rest, first) << top;
    }
}

}  // namespace
