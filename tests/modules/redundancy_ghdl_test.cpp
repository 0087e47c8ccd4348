// Simulations of the generated redundancy blocks on their own: the majority
// voter, the voter with error output, the fault decoder and the comparator,
// each driven by a hand-written testbench.
#include <gtest/gtest.h>

#include "support/render.h"
#include "support/testing.h"

namespace {

namespace fs = std::filesystem;

// A unit with a generic width, a one-bit output Y and a vector output V.
velmorn::Design unit()
{
    return vtest::DesignBuilder("CNT")
        .generic("W", " integer := 4")
        .in("CLK")
        .out("Y")
        .out("V", " std_logic_vector(W-1 downto 0)")
        .build();
}

// Writes the generated block and the testbench, runs the testbench; the run
// must pass every assertion and reach its final report.
void simulate(const vtest::Generated& block, const std::string& tbName, const std::string& tb)
{
    if (!vtest::ghdlAvailable()) GTEST_SKIP() << "ghdl not installed";
    vtest::TempDir dir;
    const fs::path blockFile = dir / "block.vhd";
    const fs::path tbFile = dir / "tb.vhd";
    vtest::writeFile(blockFile, block.str());
    vtest::writeFile(tbFile, tb);
    const auto r = vtest::ghdlRun({blockFile, tbFile}, tbName, dir / "work", "1us");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("checks done"), std::string::npos) << r.output;
}

const std::string kTbHead = "library ieee;\nuse ieee.std_logic_1164.all;\nuse ieee.numeric_std.all;\n\n";

TEST(GhdlRedundancy, MajorityVoter)
{
    const std::string tb = kTbHead + R"(entity tb_voter is
end tb_voter;

architecture sim of tb_voter is
   signal y1, y2, y3, yo : std_logic;
   signal v1, v2, v3, vo : std_logic_vector(3 downto 0);
   -- Two out of three, for the inputs (y3 y2 y1) = 0 .. 7.
   constant MAJ : std_logic_vector(0 to 7) := "00010111";
begin
   dut : entity work.CNT_voter
      generic map(W => 4)
      port map(Y_voter1_in => y1, Y_voter2_in => y2, Y_voter3_in => y3,
               V_voter1_in => v1, V_voter2_in => v2, V_voter3_in => v3,
               Y_voter_out => yo, V_voter_out => vo);
   process
      variable bits : std_logic_vector(2 downto 0);
   begin
      v1 <= "0000"; v2 <= "0000"; v3 <= "0000";
      for i in 0 to 7 loop
         bits := std_logic_vector(to_unsigned(i, 3));
         y1 <= bits(0); y2 <= bits(1); y3 <= bits(2);
         wait for 1 ns;
         assert yo = MAJ(i) report "majority of one-bit port, case " & integer'image(i) severity error;
      end loop;
      v1 <= "1100"; v2 <= "1010"; v3 <= "0110";
      wait for 1 ns;
      assert vo = "1110" report "bitwise majority 1" severity error;
      v1 <= "0001"; v2 <= "0000"; v3 <= "1111";
      wait for 1 ns;
      assert vo = "0001" report "bitwise majority 2" severity error;
      report "voter checks done";
      wait;
   end process;
end sim;
)";
    simulate(vtest::module(velmorn::emitVoter, unit(), "_voter", "TMR"), "tb_voter", tb);
}

TEST(GhdlRedundancy, VoterWithErrorOutput)
{
    const std::string tb = kTbHead + R"(entity tb_voter_err is
end tb_voter_err;

architecture sim of tb_voter_err is
   signal y1, y2, y3, yo, err : std_logic;
   signal v1, v2, v3, vo : std_logic_vector(3 downto 0);
   constant MAJ : std_logic_vector(0 to 7) := "00010111";
begin
   dut : entity work.CNT_vot_prm2
      generic map(W => 4)
      port map(Y_vot_prm21_in => y1, Y_vot_prm22_in => y2, Y_vot_prm23_in => y3,
               V_vot_prm21_in => v1, V_vot_prm22_in => v2, V_vot_prm23_in => v3,
               Y_vot_prm2_out => yo, V_vot_prm2_out => vo, Err_vot_prm2_out => err);
   process
      variable bits : std_logic_vector(2 downto 0);
   begin
      v1 <= "0000"; v2 <= "0000"; v3 <= "0000";
      for i in 0 to 7 loop
         bits := std_logic_vector(to_unsigned(i, 3));
         y1 <= bits(0); y2 <= bits(1); y3 <= bits(2);
         wait for 1 ns;
         assert yo = MAJ(i) report "voted one-bit output, case " & integer'image(i) severity error;
         assert err = '0' report "error raised while the votes agree, case " & integer'image(i) severity error;
      end loop;
      v1 <= "1100"; v2 <= "1010"; v3 <= "0110";
      wait for 1 ns;
      assert vo = "1110" report "voted vector output" severity error;
      assert err = '0' report "error raised on the vector vote" severity error;
      report "voter with error checks done";
      wait;
   end process;
end sim;
)";
    simulate(vtest::module(velmorn::emitVoterWithError, unit(), "_vot_prm2", "3FU-3V"), "tb_voter_err", tb);
}

TEST(GhdlRedundancy, FaultDecoderTable)
{
    const std::string tb = kTbHead + R"(entity tb_fdec is
end tb_fdec;

architecture sim of tb_fdec is
   signal y1, y2, y3 : std_logic;
   signal v1, v2, v3 : std_logic_vector(3 downto 0);
   signal e1, e2, e3, e : std_logic;
   procedure expect(a, b, c, d : std_logic; signal x1, x2, x3, x : std_logic; what : string) is
   begin
      assert x1 = a and x2 = b and x3 = c and x = d report "decoder: " & what severity error;
   end procedure;
begin
   dut : entity work.CNT_fdec_prm
      generic map(W => 4)
      port map(Y_fdec_prm1_in => y1, Y_fdec_prm2_in => y2, Y_fdec_prm3_in => y3,
               V_fdec_prm1_in => v1, V_fdec_prm2_in => v2, V_fdec_prm3_in => v3,
               Err_fdec_prm1 => e1, Err_fdec_prm2 => e2, Err_fdec_prm3 => e3, Err_fdec_prm => e);
   process
   begin
      y1 <= '1'; y2 <= '1'; y3 <= '1'; v1 <= "1010"; v2 <= "1010"; v3 <= "1010";
      wait for 1 ns;
      expect('0', '0', '0', '0', e1, e2, e3, e, "all copies agree");
      v1 <= "1011";
      wait for 1 ns;
      expect('1', '0', '0', '1', e1, e2, e3, e, "copy 1 differs");
      v1 <= "1010"; y2 <= '0';
      wait for 1 ns;
      expect('0', '1', '0', '1', e1, e2, e3, e, "copy 2 differs");
      y1 <= '0'; y2 <= '1'; v2 <= "0010";
      wait for 1 ns;
      expect('0', '0', '1', '1', e1, e2, e3, e, "copies 1 and 2 differ on different ports");
      y1 <= '1'; v1 <= "0000"; v2 <= "0000";
      wait for 1 ns;
      expect('0', '0', '1', '1', e1, e2, e3, e, "copy 3 alone differs");
      report "decoder checks done";
      wait;
   end process;
end sim;
)";
    simulate(vtest::module(velmorn::emitFaultDecoder, unit(), "_fdec_prm", "3FU-3V"), "tb_fdec", tb);
}

TEST(GhdlRedundancy, ComparatorRaisesOnAnyDifference)
{
    const std::string tb = kTbHead + R"(entity tb_cmp is
end tb_cmp;

architecture sim of tb_cmp is
   signal y1, y2 : std_logic;
   signal v1, v2 : std_logic_vector(3 downto 0);
   signal err : std_logic;
begin
   dut : entity work.CNT_cmp
      generic map(W => 4)
      port map(Y_cmp1_in => y1, Y_cmp2_in => y2, V_cmp1_in => v1, V_cmp2_in => v2, ERR_cmp => err);
   process
   begin
      y1 <= '0'; y2 <= '0'; v1 <= "0110"; v2 <= "0110";
      wait for 1 ns;
      assert err = '0' report "equal copies flagged" severity error;
      y2 <= '1';
      wait for 1 ns;
      assert err = '1' report "one-bit port difference missed" severity error;
      y2 <= '0'; v2 <= "0111";
      wait for 1 ns;
      assert err = '1' report "vector port difference missed" severity error;
      y1 <= '1';
      wait for 1 ns;
      assert err = '1' report "difference on both ports missed" severity error;
      y1 <= '0'; v2 <= "0110";
      wait for 1 ns;
      assert err = '0' report "equal copies flagged again" severity error;
      report "comparator checks done";
      wait;
   end process;
end sim;
)";
    simulate(vtest::module(velmorn::emitComparator, unit(), "_cmp", "DUPLEX-CMP"), "tb_cmp", tb);
}

}  // namespace
