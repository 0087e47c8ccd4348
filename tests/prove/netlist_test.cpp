// The repairs and readings of GHDL's Verilog netlists and of Yosys' logs, on
// texts in the forms that GHDL 2.0 and Yosys 0.23 write.
#include <gtest/gtest.h>

#include "prove/netlist.h"
#include "prove/yosys.h"

namespace {

// A selected assignment with "others" as GHDL 2.0 writes it: the Verilog case
// without its default branch, the VHDL netlist with it.
const std::string kVerilog = R"(module alu_prm1
  (input  [3:0] a_prm1,
   output [3:0] y_prm1);
  reg [3:0] n115_o;
  always @*
    case (n114_o)
      3'b100: n115_o <= n110_o;
      3'b010: n115_o <= n107_o;
    endcase
endmodule

module ALU_prove
  (input  [3:0] A,
   output [3:0] Y);
  reg [3:0] n52_o;
  always @*
    case (n51_o)
      3'b100: n52_o <= n47_o;
    endcase
endmodule
)";

const std::string kVhdlNetlist = R"(architecture rtl of alu_prm1 is
begin
  with n114_o select n115_o <=
    n110_o when "100",
    n107_o when "010",
    n113_o (3 downto 0) when others;
end rtl;
architecture rtl of alu_prove is
  signal wrap_A: typwrap_A;
begin
  with n51_o select n52_o <=
    n47_o when "100",
    wrap_A when others;
end rtl;
)";

TEST(ProveNetlist, CaseDefaultsComeBackFromTheVhdlNetlist)
{
    std::string v = kVerilog, problem;
    ASSERT_TRUE(velmorn::hasCaseStatement(v));
    ASSERT_TRUE(velmorn::restoreCaseDefaults(v, kVhdlNetlist, "ALU_prove", problem)) << problem;
    EXPECT_NE(v.find("      3'b010: n115_o <= n107_o;\n      default: n115_o <= n113_o[3:0];\n    endcase"),
              std::string::npos)
        << v;
    // In the synthesised top a port is wrap_<port> in the VHDL netlist only.
    EXPECT_NE(v.find("      3'b100: n52_o <= n47_o;\n      default: n52_o <= A;\n    endcase"), std::string::npos) << v;
}

TEST(ProveNetlist, CaseWithoutAKnownDefaultIsRefused)
{
    std::string v = kVerilog, problem;
    const std::string other = "architecture rtl of alu_prm1 is\nbegin\n  with n9_o select n115_o <=\n"
                              "    n110_o when \"100\",\n    '0' when others;\nend rtl;\n";
    EXPECT_FALSE(velmorn::restoreCaseDefaults(v, other, "ALU_prove", problem));
    EXPECT_EQ(problem, "no default branch for case (n114_o) in module alu_prm1");
    EXPECT_EQ(v, kVerilog);
}

TEST(ProveNetlist, PortsAndKeywordNames)
{
    const std::string v = "module COUNTER_voter\n  (input  [4:0] R_voter1_in_a,\n   input  R_voter1_in_b,\n"
                          "   output TC_voter_out);\n  wire [7:0] reg;\n  wire n1_o;\n  sub wire (\nendmodule\n";
    EXPECT_EQ(velmorn::verilogPorts(v, "COUNTER_voter"),
              (std::vector<std::string>{"R_voter1_in_a", "R_voter1_in_b", "TC_voter_out"}));
    EXPECT_TRUE(velmorn::verilogPorts(v, "COUNTER").empty());
    EXPECT_EQ(velmorn::keywordNames(v), (std::vector<std::string>{"reg", "wire"}));
}

TEST(ProveLog, EachCheckProvedFailedOrNotRun)
{
    const std::string log = "PROPERTY 1\nSAT proof finished - no model found: SUCCESS!\nPROPERTY 2\n"
                            "SAT temporal induction proof finished - model found for base case: FAIL!\n"
                            "  Time Signal Name              Dec       Hex           Bin\n"
                            "  ---- ---------------- ----------- --------- -------------\n"
                            "  init \\gold.n31_q                0         0          0000\n"
                            "  ---- ---------------- ----------- --------- -------------\n"
                            "     1 \\CLK                       0         0             0\n"
                            "     1 \\Q_free                    1         1          0001\n"
                            "     2 \\CLK                       0         0             0\n"
                            "\nPROPERTY 3\nprove.v:31: ERROR: syntax error\n";
    const auto o = velmorn::readLog(log, 4);
    using S = velmorn::CheckOutcome::State;
    ASSERT_EQ(o.checks.size(), 4u);
    EXPECT_EQ(o.checks[0].state, S::Proved);
    EXPECT_EQ(o.checks[1].state, S::Failed);
    EXPECT_EQ(o.checks[1].counterexample, "      cycle 1: CLK = 0, Q_free = 0001\n      cycle 2: CLK = 0\n");
    EXPECT_EQ(o.checks[2].state, S::NotRun);
    EXPECT_EQ(o.checks[3].state, S::NotRun);
    EXPECT_EQ(o.error, "prove.v:31: ERROR: syntax error");
}

}  // namespace
