// Designs of every kind of port and name the generated VHDL has to carry:
// OUT ports of integer, enumeration, record and array types from a package,
// an err port of either mode, a body instantiating <entity>_cmp, an INOUT bus
// driver, a design of bit types only without IEEE, an unconstrained port, an
// attribute on the architecture. Under every switch the tree elaborates with
// GHDL, or the switch refuses the design with a message and writes nothing.
#include <gtest/gtest.h>

#include <set>

#include "support/analyse.h"
#include "support/every_switch.h"

namespace {

using namespace vtest;

const fs::path kFiles = fs::path(VELMORN_TESTS_DIR) / "e2e" / "kinds";

struct Kind {
    const char* name;
    std::string source;
    std::vector<std::string> extraFiles = {};  // analysed with the tree, under tests/e2e/kinds
    std::set<std::string> refusedBy = {};      // the switches that refuse the design
    std::string refusal = {};                  // a piece of their message
    std::string warning = {};                  // a piece of the warning every switch writes
};

void PrintTo(const Kind& k, std::ostream* os) { *os << k.name; }

const std::set<std::string> kAll = {"-tmr0", "-tmr1", "-tmr2", "-dpl4", "-dpl5", "-dpl6",
                                    "-dpl0", "-fuch", "-tmr3", "-dpl1", "-dpl2"};
const std::set<std::string> kCheckerSwitches = {"-fuch", "-tmr3", "-dpl1", "-dpl2"};

std::set<std::string> with(std::set<std::string> a, const std::set<std::string>& b)
{
    a.insert(b.begin(), b.end());
    return a;
}

const std::string kIeee = "library ieee;\nuse ieee.std_logic_1164.all;\n";

const std::vector<Kind>& kinds()
{
    static const std::vector<Kind> list = {
        {"TypesFromAPackage",
         kIeee + "use ieee.numeric_std.all;\nuse work.kinds_pkg.all;\n\nentity sequencer is\n   port(\n"
                 "      clk, rst : in std_logic;\n      count : out integer range 0 to 15;\n"
                 "      total : out natural;\n      state : out state_t;\n      pair : out pair_t;\n"
                 "      bytes : out bytes_t\n   );\nend sequencer;\n\narchitecture rtl of sequencer is\n"
                 "   signal n : integer range 0 to 15 := 0;\nbegin\n   process(clk) begin\n"
                 "      if rising_edge(clk) then\n         if rst = '1' then n <= 0; else n <= (n + 1) mod 16; end if;\n"
                 "      end if;\n   end process;\n   count <= n;\n   total <= n * 2;\n"
                 "   state <= IDLE when n = 0 else DONE when n = 15 else RUN;\n"
                 "   pair <= (flag => '1', level => n mod 8);\n"
                 "   bytes <= (others => std_logic_vector(to_unsigned(n, 8)));\nend rtl;\n",
         {"kinds_pkg.vhd"}},
        {"ErrOutputPort",
         kIeee + "\nentity uart_rx is\n   port(\n      rx : in std_logic;\n      data : out std_logic;\n"
                 "      err : out std_logic\n   );\nend uart_rx;\n\narchitecture rtl of uart_rx is\nbegin\n"
                 "   data <= rx;\n   err <= not rx;\nend rtl;\n",
         {},
         with(kCheckerSwitches, {"-tmr1", "-dpl0"}),
         "ERR"},
        {"ErrInputPort",
         kIeee + "\nentity bus_mon is\n   port(\n      err : in std_logic;\n      busy : out std_logic\n   );\n"
                 "end bus_mon;\n\narchitecture rtl of bus_mon is\nbegin\n   busy <= err;\nend rtl;\n",
         {},
         with(kCheckerSwitches, {"-dpl0"}),
         "ERR"},
        {"BodyInstantiatesEntityCmp",
         kIeee + "use ieee.numeric_std.all;\n\nentity timer is\n   port(\n      a, b : in unsigned(3 downto 0);\n"
                 "      hit : out std_logic\n   );\nend timer;\n\narchitecture rtl of timer is\nbegin\n"
                 "   u_cmp : entity work.timer_cmp port map(a => a, b => b, eq => hit);\nend rtl;\n",
         {"timer_cmp.vhd"},
         {"-dpl0"},
         "Entity TIMER_CMP that the architecture of TIMER uses clashes with the entity TIMER_cmp that -dpl0 writes"},
        {"InoutBusDriver",
         kIeee + "\nentity bus_drv is\n   port(\n      oe : in std_logic;\n      d : in std_logic_vector(3 downto 0);\n"
                 "      bus_io : inout std_logic_vector(3 downto 0);\n      busy : out std_logic\n   );\n"
                 "end bus_drv;\n\narchitecture rtl of bus_drv is\nbegin\n"
                 "   bus_io <= d when oe = '1' else (others => 'Z');\n   busy <= oe;\nend rtl;\n",
         {},
         {},
         "",
         "warning: INOUT ports BUS_IO of entity BUS_DRV: each copy reads its own drive"},
        {"BitTypesWithoutIeee",
         "entity parity is\n   port(\n      d : in bit_vector(7 downto 0);\n      odd : out bit;\n"
         "      ok : out boolean\n   );\nend parity;\n\narchitecture rtl of parity is\nbegin\n"
         "   odd <= d(0) xor d(1) xor d(2) xor d(3) xor d(4) xor d(5) xor d(6) xor d(7);\n"
         "   ok <= d /= \"00000000\";\nend rtl;\n"},
        {"UnconstrainedPortIsRefused",
         kIeee + "\nentity widen is\n   port(\n      a : in std_logic_vector;\n      y : out std_logic\n   );\n"
                 "end widen;\n\narchitecture rtl of widen is\nbegin\n   y <= a(a'left);\nend rtl;\n",
         {},
         kAll,
         "Port A of entity WIDEN has the unconstrained type std_logic_vector - constrain it, or give its width as a "
         "generic !\n"},
        {"AttributeOnTheArchitecture",
         kIeee + "\nentity keeper is\n   port(\n      a, b : in std_logic;\n      y : out std_logic\n   );\n"
                 "end keeper;\n\narchitecture rtl of keeper is\n   attribute keep_hierarchy : string;\n"
                 "   attribute keep_hierarchy of rtl : architecture is \"yes\";\nbegin\n   y <= a and b;\nend rtl;\n"},
    };
    return list;
}

class GhdlPortKinds : public ::testing::TestWithParam<Kind> {};

TEST_P(GhdlPortKinds, EverySwitchElaboratesOrRefuses)
{
    if (!ghdlAvailable()) GTEST_SKIP() << "ghdl is not installed";
    const Kind& k = GetParam();
    const Analysed a = analyseText(k.source, "unit.vhd", "unit");
    ASSERT_TRUE(a.ok) << a.console;
    std::vector<fs::path> extra;
    for (const auto& f : k.extraFiles) extra.push_back(kFiles / f);

    TempDir tmp;
    const fs::path checker = tmp / "checker_stub.vhd";
    writeFile(checker, checkerStub(a.d));
    for (const velmorn::Architecture& arch : velmorn::architectures()) {
        const std::string flag(arch.flag);
        SCOPED_TRACE(std::string(k.name) + " " + flag);
        const fs::path dir = tmp / flag.substr(1);
        writeFile(dir / "unit.vhd", k.source);
        std::vector<std::string> args{flag, "unit.vhd"};
        if (arch.takesChecker) args.push_back("checker.vhd");
        const RunResult gen = runVelmorn(args, dir);
        if (k.refusedBy.count(flag)) {
            EXPECT_EQ(gen.status, 1) << gen.output;
            EXPECT_NE(gen.output.find(k.refusal), std::string::npos) << gen.output;
            EXPECT_FALSE(fs::exists(dir / "unit")) << "a refused design writes nothing";
            continue;
        }
        ASSERT_EQ(gen.status, 0) << gen.output;
        if (!k.warning.empty()) {
            EXPECT_NE(gen.errors.find(k.warning), std::string::npos) << gen.errors;
        }
        std::string files;
        auto add = [&](const fs::path& f) { files.append(" ").append(shellQuote(f.string())); };
        for (const auto& f : extra) add(f);
        if (arch.takesChecker) add(checker);
        for (const auto& f : listFiles(dir / "unit")) add(dir / "unit" / f);
        const std::string w = " --std=08 -fsynopsys --workdir=work";
        const RunResult ghdl = runCommand("mkdir -p work && ghdl -i" + w + files + " && ghdl -m" + w + " " +
                                              a.d.entityName + " && ghdl -r" + w + " " + a.d.entityName +
                                              " --no-run",
                                          dir);
        EXPECT_EQ(ghdl.status, 0) << ghdl.output;
        EXPECT_EQ(ghdl.output.find("not bound"), std::string::npos) << ghdl.output;
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, GhdlPortKinds, ::testing::ValuesIn(kinds()),
                         [](const ::testing::TestParamInfo<Kind>& info) { return std::string(info.param.name); });

}  // namespace
