// The duplex output multiplexers switched by the checker errors: whole texts
// for the outputs Q (std_logic) and Z (vector), and the edge cases.
#include <gtest/gtest.h>

#include "components/components.h"
#include "support/testing.h"

namespace {

using vtest::DesignBuilder;

velmorn::Design qz(bool generics = true)
{
    DesignBuilder b("CNT");
    if (generics) b.generic("W", " integer := 4");
    return b.in("CLK").inout("IO").out("Q").out("Z", "  std_logic_vector(3 downto 0)").build();
}

std::string prologue(const std::string& arch)
{
    return vtest::banner("cnt/modules/cnt_m_prm.vhd", arch) + vtest::kIeeeLibrarys + "\n\n";
}

const std::string kEntityStart = R"(entity CNT_m_prm is
   generic(
      W :  integer := 4
   );
   port(
      Err_prm1_in : IN std_logic;
)";

const std::string kEntityRest = R"(      Q_m_prm1_in : IN  std_logic;
      Q_m_prm2_in : IN  std_logic;
      Z_m_prm1_in : IN  std_logic_vector(3 downto 0);
      Z_m_prm2_in : IN  std_logic_vector(3 downto 0);
      Q_m_prm_out : OUT  std_logic;
      Z_m_prm_out : OUT  std_logic_vector(3 downto 0);
      Err_m_prm1 : OUT std_logic;
      Err_m_prm2 : OUT std_logic;
      Err_m_prm : OUT std_logic
   );
end entity CNT_m_prm;


architecture CNT_m_prm_BEHAV of CNT_m_prm is
   signal errcmp_sig1 : std_logic;
   signal errcmp_sig2 : std_logic;
   signal Q_m_prm1_sigbouta :   std_logic;
   signal Q_m_prm1_sigboutb :   std_logic;
   signal Z_m_prm2_sigbouta :   std_logic_vector(3 downto 0);
   signal Z_m_prm2_sigboutb :   std_logic_vector(3 downto 0);
)";

const std::string kSelection = R"(   Q_m_prm1_sigboutb <= Q_m_prm1_in when (err1_sig = '0') else Q_m_prm2_in;
   Z_m_prm2_sigboutb <= Z_m_prm1_in when (err1_sig = '0') else Z_m_prm2_in;

   Q_m_prm1_sigbouta <= Q_m_prm1_in when (err1_sig = '0') else Q_m_prm2_in;
   Z_m_prm2_sigbouta <= Z_m_prm1_in when (err1_sig = '0') else Z_m_prm2_in;

   errcmp_sig1 <= '0' when Q_m_prm1_sigbouta = Q_m_prm1_sigboutb else '1';
   errcmp_sig2 <= '0' when Z_m_prm2_sigbouta = Z_m_prm2_sigboutb else '1';

   Err_m_prm <= errcmp_sig1 or errcmp_sig2;

   Q_m_prm_out <= Q_m_prm1_sigboutb;
   Z_m_prm_out <= Z_m_prm2_sigboutb;

   Err_m_prm1 <= err1_sig;
   Err_m_prm2 <= err2_sig;

end CNT_m_prm_BEHAV;)";

TEST(MuxWithErr, WholeFileForTwoOutputs)
{
    const auto t = velmorn::GenerateMuxWithErr(qz(), "_m_prm", "DUPLEX+2CH");
    EXPECT_EQ(t.path(), "cnt/modules/cnt_m_prm.vhd");
    EXPECT_EQ(t.str(), prologue("DUPLEX+2CH") + kEntityStart + "      Err_prm2_in : IN std_logic;\n" + kEntityRest +
                           R"(   signal err1_sig, err2_sig : std_logic;

begin

  err1_sig <= Err_prm1_in;
  err2_sig <= Err_prm2_in;

)" + kSelection);
}

TEST(MuxWithErrCMP, WholeFileForTwoOutputs)
{
    const auto t = velmorn::GenerateMuxWithErrCMP(qz(), "_m_prm", "DUPLEX+1CH");
    EXPECT_EQ(t.path(), "cnt/modules/cnt_m_prm.vhd");
    EXPECT_EQ(t.str(), prologue("DUPLEX+1CH") + kEntityStart + kEntityRest + R"(   signal Q_m_prm1_siga : std_logic;
   signal Z_m_prm2_siga : std_logic;
   signal cmp12_sig : std_logic;
   signal err1_sig, err2_sig : std_logic;

begin

  err1_sig <= Err_prm1_in;

   Q_m_prm1_siga <= '0' when Q_m_prm1_in = Q_m_prm2_in else '1';
   Z_m_prm2_siga <= '0' when Z_m_prm1_in = Z_m_prm2_in else '1';

   cmp12_sig <= Q_m_prm1_siga or Z_m_prm2_siga;

   err2_sig  <= cmp12_sig and not err1_sig;

)" + kSelection);
}

bool contains(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

TEST(DuplexMultiplexers, OneAndThreeOutputs)
{
    const auto one = DesignBuilder("CNT").out("Q").build();
    const std::string a = velmorn::GenerateMuxWithErr(one, "_m_prm", "X").str();
    const std::string b = velmorn::GenerateMuxWithErrCMP(one, "_m_prm", "X").str();
    for (const auto& text : {a, b}) {
        EXPECT_TRUE(contains(text, "\n   Err_m_prm <= errcmp_sig1;\n\n"));
        EXPECT_TRUE(contains(text, "      Q_m_prm_out : OUT  std_logic;\n      Err_m_prm1 : OUT std_logic;\n"));
    }
    EXPECT_TRUE(contains(b, "\n   cmp12_sig <= Q_m_prm1_siga;\n\n"));

    const auto three = DesignBuilder("CNT").out("Q").out("R").out("Z").build();
    for (auto gen : {velmorn::GenerateMuxWithErr, velmorn::GenerateMuxWithErrCMP})
        EXPECT_TRUE(contains(gen(three, "_m_prm", "X").str(),
                             "\n   Err_m_prm <= errcmp_sig1 or errcmp_sig2 or errcmp_sig3;\n\n"));
    EXPECT_TRUE(contains(velmorn::GenerateMuxWithErrCMP(three, "_m_prm", "X").str(),
                         "\n   cmp12_sig <= Q_m_prm1_siga or R_m_prm2_siga or Z_m_prm3_siga;\n\n"));
}

TEST(DuplexMultiplexers, CheckerErrorInputsKeepTheirNamesAndNoGenericsMeansNoClause)
{
    const auto d = qz(false);
    const std::string a = velmorn::GenerateMuxWithErr(d, "_mx", "X").str();
    const std::string b = velmorn::GenerateMuxWithErrCMP(d, "_mx", "X").str();
    EXPECT_TRUE(contains(a, "\n\nentity CNT_mx is\n   port(\n      Err_prm1_in : IN std_logic;\n"
                            "      Err_prm2_in : IN std_logic;\n      Q_mx1_in : IN  std_logic;\n"));
    EXPECT_TRUE(contains(b, "\n\nentity CNT_mx is\n   port(\n      Err_prm1_in : IN std_logic;\n"
                            "      Q_mx1_in : IN  std_logic;\n"));
    for (const auto& text : {a, b}) {
        EXPECT_FALSE(contains(text, "generic"));
        EXPECT_FALSE(contains(text, "CLK"));
        EXPECT_FALSE(contains(text, "IO"));
        EXPECT_TRUE(contains(text, "      Err_mx : OUT std_logic\n   );\nend entity CNT_mx;\n"));
    }
}

}  // namespace
