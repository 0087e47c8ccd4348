// The checker file of the checker switches, through the real executable: the
// template that --checker-template writes elaborates with every checker
// architecture's tree and is never written over; an existing checker is
// compared with the entity the tree instantiates, one warning per difference
// on standard error, nothing else changed.
#include <gtest/gtest.h>

#include "arch/architectures.h"
#include "support/testing.h"

namespace {

using namespace vtest;

// Generics, and ports of all three modes.
const std::string kUnit = R"(library ieee;
use ieee.std_logic_1164.all;

entity link is
   generic(
      W : integer := 4;
      PARITY : boolean := true
   );
   port(
      clk : in std_logic;
      bus_io : inout std_logic_vector(W-1 downto 0);
      data : out std_logic_vector(W-1 downto 0);
      busy : out std_logic
   );
end link;

architecture rtl of link is
begin
   bus_io <= (others => 'Z');
   data <= (others => clk);
   busy <= clk;
end rtl;
)";

// A checker of exactly the interface the tree instantiates, written by hand.
const std::string kChecker = R"(library ieee;
use ieee.std_logic_1164.all;

entity link_ch is
   generic(
      w : integer;
      parity : BOOLEAN := false
   );
   port(
      CLK : in std_logic;
      Bus_Io : inout std_logic_vector( W-1 downto 0 );
      Data : in std_logic_vector(W-1 downto 0);
      busy : in std_logic;
      err : out std_logic
   );
end link_ch;

architecture rtl of link_ch is
begin
   err <= '0';
end rtl;
)";

std::vector<std::string> checkerSwitches()
{
    std::vector<std::string> s;
    for (const auto& a : velmorn::architectures())
        if (a.takesChecker) s.emplace_back(a.flag);
    return s;
}

TEST(GhdlCheckerTemplate, ElaboratesWithEveryCheckerArchitecture)
{
    if (!ghdlAvailable()) GTEST_SKIP() << "ghdl is not installed";
    for (const std::string& flag : checkerSwitches()) {
        SCOPED_TRACE(flag);
        TempDir dir;
        writeFile(dir / "link.vhd", kUnit);
        const auto plain = runVelmorn({flag, "link.vhd", "link_ch.vhd"}, dir.path());
        const auto r = runVelmorn({"--checker-template", flag, "link.vhd", "link_ch.vhd"}, dir.path());
        ASSERT_EQ(r.status, 0) << r.output << r.errors;
        EXPECT_EQ(r.output, plain.output);
        const std::string tmpl = readFile(dir / "link_ch.vhd");
        EXPECT_NE(tmpl.find("ERR <= '0';"), std::string::npos) << tmpl;
        const auto ghdl = ghdlElaborate(dir / "link", "LINK", {dir / "link_ch.vhd"});
        EXPECT_EQ(ghdl.status, 0) << ghdl.output;
        EXPECT_EQ(ghdl.output.find("not bound"), std::string::npos) << ghdl.output;
        // The template matches what the tree instantiates: no warning about it.
        const auto again = runVelmorn({flag, "link.vhd", "link_ch.vhd"}, dir.path());
        EXPECT_EQ(again.errors.find("checker"), std::string::npos) << again.errors;
    }
}

TEST(CheckerTemplate, AnExistingFileIsNeverWrittenOver)
{
    TempDir dir;
    writeFile(dir / "link.vhd", kUnit);
    writeFile(dir / "mine.vhd", "-- my own checker, not finished\n");
    const auto r = runVelmorn({"--checker-template", "-dpl1", "link.vhd", "mine.vhd"}, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(readFile(dir / "mine.vhd"), "-- my own checker, not finished\n");
    EXPECT_NE(r.errors.find("checker mine.vhd cannot be read"), std::string::npos) << r.errors;
}

TEST(CheckerCheck, AMatchingCheckerGetsNoWarning)
{
    TempDir dir;
    writeFile(dir / "link.vhd", kUnit);
    writeFile(dir / "link_ch.vhd", kChecker);
    const auto r = runVelmorn({"-tmr3", "link.vhd", "link_ch.vhd"}, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.errors.find("checker"), std::string::npos) << r.errors;
}

TEST(CheckerCheck, OneWarningPerDifference)
{
    TempDir dir;
    writeFile(dir / "link.vhd", kUnit);
    std::string bad = kChecker;
    auto edit = [&](const std::string& from, const std::string& to) {
        const auto at = bad.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        bad.replace(at, from.size(), to);
    };
    edit("entity link_ch is", "entity link_chk is");
    edit("architecture rtl of link_ch is", "architecture rtl of link_chk is");
    edit("      Data : in std_logic_vector(W-1 downto 0);\n", "");
    edit("busy : in std_logic", "busy : out std_logic");
    edit("CLK : in std_logic", "CLK : in bit");
    edit("parity : BOOLEAN := false", "parity : natural");
    writeFile(dir / "bad_ch.vhd", bad);
    const auto plain = runVelmorn({"-dpl2", "link.vhd", "other.vhd"}, dir.path());
    const auto r = runVelmorn({"-dpl2", "link.vhd", "bad_ch.vhd"}, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, plain.output);
    const std::string p = "velmorn: warning: checker bad_ch.vhd: ";
    for (const std::string& line : {p + "entity LINK_CHK, expected LINK_ch\n",
                                    p + "generic PARITY has type natural, expected boolean\n",
                                    p + "port CLK has type bit, expected std_logic\n",
                                    p + "port DATA is missing\n", p + "port BUSY has mode OUT, expected IN\n"})
        EXPECT_NE(r.errors.find(line), std::string::npos) << line << "\n" << r.errors;
    EXPECT_EQ(std::count(r.errors.begin(), r.errors.end(), '\n'), 6) << r.errors;  // and the INOUT warning
}

TEST(CheckerCheck, AMissingCheckerIsNamed)
{
    TempDir dir;
    writeFile(dir / "link.vhd", kUnit);
    const auto r = runVelmorn({"-fuch", "link.vhd", "no_such_ch.vhd"}, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.errors.find("velmorn: warning: checker no_such_ch.vhd does not exist: the tree instantiates entity "
                            "LINK_ch (--checker-template writes a template of it)\n"),
              std::string::npos)
        << r.errors;
    EXPECT_FALSE(std::filesystem::exists(dir / "no_such_ch.vhd"));
}

}  // namespace
