// The duplex output multiplexers switched by the checker errors: whole texts
// (golden files) for the outputs Q (std_logic) and Z (vector), and the edge
// cases; an INOUT port is selected like an output.
#include <gtest/gtest.h>

#include "support/render.h"
#include "support/testing.h"

namespace {

using vtest::DesignBuilder;

velmorn::Design qz(bool generics = true, bool inout = false)
{
    DesignBuilder b("CNT");
    if (generics) b.generic("W", " integer := 4");
    b.in("CLK");
    if (inout) b.inout("IO");
    return b.out("Q").out("Z", "  std_logic_vector(3 downto 0)").build();
}

TEST(TwoCheckerMux, WholeFileForTwoOutputs)
{
    const auto t = vtest::module(velmorn::emitTwoCheckerMux, qz(), "_m_prm", "DUPLEX+2CH");
    EXPECT_EQ(t.path(), "cnt/modules/cnt_m_prm.vhd");
    EXPECT_GOLDEN(t.str(), "modules/two_checker_mux_two_outputs.vhd");
}

TEST(OneCheckerMux, WholeFileForTwoOutputs)
{
    const auto t = vtest::module(velmorn::emitOneCheckerMux, qz(), "_m_prm", "DUPLEX+1CH");
    EXPECT_EQ(t.path(), "cnt/modules/cnt_m_prm.vhd");
    EXPECT_GOLDEN(t.str(), "modules/one_checker_mux_two_outputs.vhd");
}

bool contains(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

TEST(DuplexMultiplexers, OneAndThreeOutputs)
{
    const auto one = DesignBuilder("CNT").out("Q").build();
    const std::string a = vtest::module(velmorn::emitTwoCheckerMux, one, "_m_prm", "X").str();
    const std::string b = vtest::module(velmorn::emitOneCheckerMux, one, "_m_prm", "X").str();
    for (const auto& text : {a, b}) {
        EXPECT_TRUE(contains(text, "\n   Err_m_prm <= errcmp_sig1;\n\n"));
        EXPECT_TRUE(contains(text, "      Q_m_prm_out : OUT  std_logic;\n      Err_m_prm1 : OUT std_logic;\n"));
    }
    EXPECT_TRUE(contains(b, "\n   cmp12_sig <= Q_m_prm1_siga;\n\n"));

    const auto three = DesignBuilder("CNT").out("Q").out("R").out("Z").build();
    for (auto gen : {velmorn::emitTwoCheckerMux, velmorn::emitOneCheckerMux})
        EXPECT_TRUE(contains(vtest::module(gen, three, "_m_prm", "X").str(),
                             "\n   Err_m_prm <= errcmp_sig1 or errcmp_sig2 or errcmp_sig3;\n\n"));
    EXPECT_TRUE(contains(vtest::module(velmorn::emitOneCheckerMux, three, "_m_prm", "X").str(),
                         "\n   cmp12_sig <= Q_m_prm1_siga or R_m_prm2_siga or Z_m_prm3_siga;\n\n"));
}

TEST(DuplexMultiplexers, CheckerErrorInputsKeepTheirNamesAndNoGenericsMeansNoClause)
{
    const auto d = qz(false, true);
    const std::string a = vtest::module(velmorn::emitTwoCheckerMux, d, "_mx", "X").str();
    const std::string b = vtest::module(velmorn::emitOneCheckerMux, d, "_mx", "X").str();
    EXPECT_TRUE(contains(a, "\n\nentity CNT_mx is\n   port(\n      Err_prm1_in : IN std_logic;\n"
                            "      Err_prm2_in : IN std_logic;\n      Q_mx1_in : IN  std_logic;\n"));
    EXPECT_TRUE(contains(b, "\n\nentity CNT_mx is\n   port(\n      Err_prm1_in : IN std_logic;\n"
                            "      Q_mx1_in : IN  std_logic;\n"));
    for (const auto& text : {a, b}) {
        EXPECT_FALSE(contains(text, "generic"));
        EXPECT_FALSE(contains(text, "CLK"));
        // A copy's INOUT drive is selected like its outputs, after them.
        EXPECT_TRUE(contains(text, "      Z_mx2_in : IN  std_logic_vector(3 downto 0);\n      IO_mx1_in : IN  std_logic;\n"
                                   "      IO_mx2_in : IN  std_logic;\n      Q_mx_out : OUT  std_logic;\n"));
        EXPECT_TRUE(contains(text, "      Z_mx_out : OUT  std_logic_vector(3 downto 0);\n      IO_mx_out : OUT  std_logic;\n"));
        EXPECT_TRUE(contains(text, "   IO_mx3_sigboutb <= IO_mx1_in when (err1_sig = '0') else IO_mx2_in;\n"));
        EXPECT_TRUE(contains(text, "   IO_mx_out <= IO_mx3_sigboutb;\n"));
        EXPECT_TRUE(contains(text, "      Err_mx : OUT std_logic\n   );\nend entity CNT_mx;\n"));
    }
}

}  // namespace
