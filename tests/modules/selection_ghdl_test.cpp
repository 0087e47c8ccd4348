// Short simulations of the voting modules of the three-unit architectures and
// of the duplex multiplexers, each on its own: for given copies of the outputs
// Q (std_logic) and R (4-bit vector), which copy reaches each output and which
// error flags rise.
#include <gtest/gtest.h>

#include "support/render.h"
#include "support/testing.h"

namespace {

using vtest::DesignBuilder;

velmorn::Design qr() { return DesignBuilder("CNT").in("CLK").out("Q").out("R", "  std_logic_vector(3 downto 0)").build(); }

// One stimulus: input values by signal name, expected outputs by signal name.
struct Step {
    std::string name;
    std::vector<std::pair<std::string, std::string>> drive;
    std::vector<std::pair<std::string, std::string>> expect;
};

std::string literal(const std::string& v) { return v.size() == 1 ? "'" + v + "'" : "\"" + v + "\""; }

// A testbench that drives the module's ports directly and checks each step.
std::string testbench(const std::string& entity, const std::vector<std::pair<std::string, std::string>>& ports,
                      const std::vector<Step>& steps)
{
    std::string s = "library ieee;\nuse ieee.std_logic_1164.all;\nentity tb is\nend tb;\narchitecture sim of tb is\n";
    for (const auto& [port, type] : ports) s += "   signal s_" + port + " : " + type + ";\n";
    s += "begin\n   dut : entity work." + entity + " port map(\n";
    for (size_t i = 0; i < ports.size(); ++i)
        s += "      " + ports[i].first + " => s_" + ports[i].first + (i + 1 < ports.size() ? ",\n" : "\n");
    s += "   );\n   process\n   begin\n";
    for (const auto& st : steps) {
        for (const auto& [port, v] : st.drive) s += "      s_" + port + " <= " + literal(v) + ";\n";
        s += "      wait for 1 ns;\n";
        for (const auto& [port, v] : st.expect)
            s += "      assert s_" + port + " = " + literal(v) + " report \"" + st.name + ": " + port +
                 " is \" & to_string(s_" + port + ") severity error;\n";
    }
    s += "      report \"TB_DONE\";\n      wait;\n   end process;\nend sim;\n";
    return s;
}

void simulate(const vtest::Generated& module, const std::string& tb)
{
    if (!vtest::ghdlAvailable()) GTEST_SKIP() << "ghdl not installed";
    vtest::TempDir dir;
    vtest::writeFile(dir / "module.vhd", module.str());
    vtest::writeFile(dir / "tb.vhd", tb);
    const auto r = vtest::ghdlRun({dir / "module.vhd", dir / "tb.vhd"}, "tb", dir / "work");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("TB_DONE"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("error"), std::string::npos) << r.output;
}

const std::vector<std::pair<std::string, std::string>> kVotingPorts = {
    {"Q_d_prm1_in", "std_logic"}, {"Q_d_prm2_in", "std_logic"}, {"Q_d_prm3_in", "std_logic"},
    {"R_d_prm1_in", "std_logic_vector(3 downto 0)"}, {"R_d_prm2_in", "std_logic_vector(3 downto 0)"},
    {"R_d_prm3_in", "std_logic_vector(3 downto 0)"}, {"Q_d_prm_out", "std_logic"},
    {"R_d_prm_out", "std_logic_vector(3 downto 0)"}, {"Err_d_prm1", "std_logic"}, {"Err_d_prm2", "std_logic"},
    {"Err_d_prm3", "std_logic"}, {"Err_d_prm", "std_logic"}};

// Copies of Q and R from units 1, 2, 3; expected Q, R, flags 1, 2, 3 and alarm.
Step votingStep(const std::string& name, const std::string& q, const std::string& r1, const std::string& r2,
                const std::string& r3, const std::string& qo, const std::string& ro, const std::string& flags)
{
    return {name,
            {{"Q_d_prm1_in", q.substr(0, 1)}, {"Q_d_prm2_in", q.substr(1, 1)}, {"Q_d_prm3_in", q.substr(2, 1)},
             {"R_d_prm1_in", r1}, {"R_d_prm2_in", r2}, {"R_d_prm3_in", r3}},
            {{"Q_d_prm_out", qo}, {"R_d_prm_out", ro}, {"Err_d_prm1", flags.substr(0, 1)},
             {"Err_d_prm2", flags.substr(1, 1)}, {"Err_d_prm3", flags.substr(2, 1)}, {"Err_d_prm", flags.substr(3, 1)}}};
}

// The unit flags follow the decoder table (unit 3 as the reference); `alarm`
// is the module's alarm whenever a unit is judged faulty.
std::vector<Step> votingSteps(bool majority, const std::string& alarm)
{
    const std::string a = alarm;
    return {
        votingStep("all equal", "111", "1010", "1010", "1010", "1", "1010", "0000"),
        votingStep("all equal, zeros", "000", "0110", "0110", "0110", "0", "0110", "0000"),
        // Unit 1 differs on R only: every output from unit 2 (equal to unit 3).
        votingStep("unit 1 differs", "111", "0101", "1010", "1010", "1", "1010", "100" + a),
        votingStep("unit 1 differs on both", "011", "0101", "1010", "1010", "1", "1010", "100" + a),
        votingStep("unit 2 differs", "101", "1010", "1010", "1010", "1", "1010", "010" + a),
        votingStep("unit 3 differs", "110", "1010", "1010", "0101", "1", "1010", "001" + a),
        // Units 1 and 2 both differ from unit 3: unit 3 is judged faulty; the
        // voters form the bitwise majority, the selectors pass unit 1.
        votingStep("units 1 and 2 differ from unit 3", "111", "1100", "1010", "0110", "1", majority ? "1110" : "1100",
                   "001" + a),
    };
}

TEST(GhdlVotingModules, TwoVotersAndComparison)
{
    simulate(vtest::module(velmorn::emitTwoVoterModule, qr(), "_d_prm", "TMR-2V-CMP"),
             testbench("CNT_d_prm", kVotingPorts, votingSteps(true, "1")));
}

TEST(GhdlVotingModules, TwoSelectorsWithTwoChannels)
{
    simulate(vtest::module(velmorn::emitCheckedTwoSelectorModule, qr(), "_d_prm", "3FU-2MUX-CMP"),
             testbench("CNT_d_prm", kVotingPorts, votingSteps(false, "1")));
}

TEST(GhdlVotingModules, TwoSelectorsWithOneChannel)
{
    // The alarm reports only a disagreement of the two selectors.
    simulate(vtest::module(velmorn::emitTwoSelectorModule, qr(), "_d_prm", "3FU-2MUX"),
             testbench("CNT_d_prm", kVotingPorts, votingSteps(false, "0")));
}

TEST(GhdlVotingModules, OneSelector)
{
    simulate(vtest::module(velmorn::emitOneSelectorModule, qr(), "_d_prm", "3FU-1MUX"),
             testbench("CNT_d_prm", kVotingPorts, votingSteps(false, "1")));
}

std::vector<std::pair<std::string, std::string>> muxPorts(bool twoCheckers)
{
    std::vector<std::pair<std::string, std::string>> p = {{"Err_prm1_in", "std_logic"}};
    if (twoCheckers) p.push_back({"Err_prm2_in", "std_logic"});
    for (auto x : {std::pair<std::string, std::string>{"Q_m_prm1_in", "std_logic"},
                   {"Q_m_prm2_in", "std_logic"},
                   {"R_m_prm1_in", "std_logic_vector(3 downto 0)"},
                   {"R_m_prm2_in", "std_logic_vector(3 downto 0)"},
                   {"Q_m_prm_out", "std_logic"},
                   {"R_m_prm_out", "std_logic_vector(3 downto 0)"},
                   {"Err_m_prm1", "std_logic"},
                   {"Err_m_prm2", "std_logic"},
                   {"Err_m_prm", "std_logic"}})
        p.push_back(x);
    return p;
}

// Every combination of checker errors with equal and with differing copies.
// Copy 1 passes unless its checker reports an error; copy 2 is blamed by its
// own checker or, without one, when the copies differ while copy 1 is sound.
std::vector<Step> muxSteps(bool twoCheckers)
{
    std::vector<Step> steps;
    for (int e1 = 0; e1 <= 1; ++e1)
        for (int e2 = 0; e2 <= (twoCheckers ? 1 : 0); ++e2)
            for (bool differ : {false, true}) {
                const std::string c1 = std::to_string(e1), c2 = std::to_string(e2);
                const std::string q2 = differ ? "0" : "1", r2 = differ ? "0011" : "1100";
                const bool blame2 = twoCheckers ? e2 == 1 : differ && e1 == 0;
                Step s{"errors " + c1 + (twoCheckers ? c2 : "") + (differ ? ", copies differ" : ", copies equal"),
                       {{"Err_prm1_in", c1}, {"Q_m_prm1_in", "1"}, {"Q_m_prm2_in", q2}, {"R_m_prm1_in", "1100"},
                        {"R_m_prm2_in", r2}},
                       {{"Q_m_prm_out", e1 ? q2 : "1"}, {"R_m_prm_out", e1 ? r2 : "1100"}, {"Err_m_prm1", c1},
                        {"Err_m_prm2", blame2 ? "1" : "0"}, {"Err_m_prm", "0"}}};
                if (twoCheckers) s.drive.push_back({"Err_prm2_in", c2});
                steps.push_back(s);
            }
    return steps;
}

TEST(GhdlDuplexMultiplexers, TwoCheckerErrors)
{
    simulate(vtest::module(velmorn::emitTwoCheckerMux, qr(), "_m_prm", "DUPLEX+2CH"),
             testbench("CNT_m_prm", muxPorts(true), muxSteps(true)));
}

TEST(GhdlDuplexMultiplexers, OneCheckerErrorAndComparator)
{
    simulate(vtest::module(velmorn::emitOneCheckerMux, qr(), "_m_prm", "DUPLEX+1CH"),
             testbench("CNT_m_prm", muxPorts(false), muxSteps(false)));
}

}  // namespace
