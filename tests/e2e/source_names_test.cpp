// --source-names: the top level replaces the unit where a parent names it as
// the source spells it. A VHDL parent names the architecture (entity
// work.counter(rtl)); a Verilog parent instantiates the module that GHDL's
// synthesis writes (module counter, ports clk, ...). Without the option both
// fail, with it both succeed.
#include <gtest/gtest.h>

#include "arch/architectures.h"
#include "support/testing.h"

namespace {

using namespace vtest;

const std::string kCounter = R"(library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity counter is
   generic(width : integer := 4);
   port(
      clk, rst : in std_logic;
      q : out std_logic_vector(width-1 downto 0)
   );
end counter;

architecture rtl of counter is
   signal n : unsigned(width-1 downto 0) := (others => '0');
begin
   process(clk) begin
      if rising_edge(clk) then
         if rst = '1' then n <= (others => '0'); else n <= n + 1; end if;
      end if;
   end process;
   q <= std_logic_vector(n);
end rtl;
)";

const std::string kChecker = R"(library ieee;
use ieee.std_logic_1164.all;

entity COUNTER_ch is
   generic(width : integer := 4);
   port(clk, rst : in std_logic; q : in std_logic_vector(width-1 downto 0); ERR : out std_logic);
end COUNTER_ch;

architecture rtl of COUNTER_ch is
begin
   ERR <= '0';
end rtl;
)";

// The unit's own ports by name; the error outputs of the top stay open.
const std::string kVhdlParent = R"(library ieee;
use ieee.std_logic_1164.all;

entity parent is
   port(clk, rst : in std_logic; q : out std_logic_vector(3 downto 0));
end parent;

architecture structure of parent is
begin
   u : entity work.counter(rtl) generic map(width => 4) port map(clk => clk, rst => rst, q => q);
end structure;
)";

const std::string kVerilogParent = R"(module parent(input clk, input rst, output [3:0] q);
   counter u(.clk(clk), .rst(rst), .q(q));
endmodule
)";

// Generates the tree of `flag` in a fresh directory, with or without the option.
fs::path generate(const TempDir& dir, const std::string& flag, bool sourceNames)
{
    std::string name = flag.substr(1);
    name += sourceNames ? "_named" : "_plain";
    const fs::path at = dir / name;
    writeFile(at / "counter.vhd", kCounter);
    writeFile(at / "counter_ch.vhd", kChecker);
    std::vector<std::string> args;
    if (sourceNames) args.push_back("--source-names");
    args.insert(args.end(), {flag, "counter.vhd"});
    if (velmorn::findArchitecture(flag)->takesChecker) args.push_back("counter_ch.vhd");
    const auto r = runVelmorn(args, at);
    EXPECT_EQ(r.status, 0) << r.output << r.errors;
    return at;
}

std::string analyseTree(const fs::path& at)
{
    std::string files = " counter_ch.vhd";
    for (const auto& f : listFiles(at / "counter"))
        if (fs::path(f).extension() == ".vhd") files.append(" ").append(shellQuote((fs::path("counter") / f).string()));
    return "ghdl -i --std=08 -fsynopsys --workdir=work" + files;
}

TEST(GhdlSourceNames, AVhdlParentNamingTheArchitectureElaborates)
{
    if (!ghdlAvailable()) GTEST_SKIP() << "ghdl is not installed";
    TempDir dir;
    for (const auto& a : velmorn::architectures()) {
        const std::string flag(a.flag);
        if (flag == "-tmr1") continue;  // its top has every port three times: no drop-in replacement
        SCOPED_TRACE(flag);
        for (bool named : {false, true}) {
            const fs::path at = generate(dir, flag, named);
            writeFile(at / "parent.vhd", kVhdlParent);
            const auto r = runCommand("mkdir -p work && " + analyseTree(at) +
                                          " parent.vhd && ghdl -m --std=08 -fsynopsys --workdir=work parent",
                                      at);
            if (named) {
                EXPECT_EQ(r.status, 0) << r.output;
                EXPECT_EQ(r.output.find("not bound"), std::string::npos) << r.output;
            } else {
                EXPECT_NE(r.status, 0) << "the generated architecture is not named rtl without the option";
            }
        }
    }
}

TEST(GhdlSourceNames, AVerilogParentFindsTheModuleAndItsPorts)
{
    if (!ghdlAvailable() || std::system("yosys -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "ghdl or yosys missing";
    TempDir dir;
    for (const std::string flag : {"-tmr0", "-dpl2"}) {
        SCOPED_TRACE(flag);
        for (bool named : {false, true}) {
            const fs::path at = generate(dir, flag, named);
            writeFile(at / "parent.v", kVerilogParent);
            const auto r = runCommand("mkdir -p work && " + analyseTree(at) +
                                          " && ghdl -m --std=08 -fsynopsys --workdir=work counter"
                                          " && ghdl --synth --std=08 -fsynopsys --workdir=work --out=verilog counter"
                                          " > top.v && yosys -q -p 'read_verilog top.v parent.v; hierarchy -check "
                                          "-top parent'",
                                      at);
            if (named) {
                EXPECT_EQ(r.status, 0) << r.output;
            } else {
                EXPECT_NE(r.status, 0) << "GHDL writes COUNTER and CLK without the option";
            }
        }
    }
}

}  // namespace
