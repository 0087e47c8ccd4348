// End to end: the real executable on four designs under every switch, with and
// without --keep; the tree must hold exactly the plan's files (and with --keep
// the Yosys script), and GHDL must analyse all of them (with the design's
// checker where the architecture uses one) and elaborate the top entity, which
// keeps the design's entity name.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>

#include "arch/architectures.h"
#include "support/testing.h"

namespace {

namespace fs = std::filesystem;

struct SwitchPlan {
    const char* sw;
    bool checker;
    std::vector<std::string> files;  // relative to the tree, "N" the base name
};

const std::vector<SwitchPlan>& plans()
{
    static const std::vector<SwitchPlan> p = {
        {"-tmr0", false,
         {"N_tmr.vhd", "modules/N_prm1.vhd", "modules/N_prm2.vhd", "modules/N_prm3.vhd", "modules/N_voter.vhd"}},
        {"-tmr1", false,
         {"N_3fu_3v.vhd", "modules/N_prm1.vhd", "modules/N_prm2.vhd", "modules/N_prm3.vhd",
          "modules/N_vot_prm1.vhd", "modules/N_vot_prm2.vhd", "modules/N_vot_prm3.vhd", "modules/N_fdec_prm.vhd"}},
        {"-tmr2", false,
         {"N_tmr_2v_cmp.vhd", "modules/N_prm1.vhd", "modules/N_prm2.vhd", "modules/N_prm3.vhd",
          "modules/N_d_prm.vhd"}},
        {"-dpl4", false,
         {"N_3fu_2mux.vhd", "modules/N_prm1.vhd", "modules/N_prm2.vhd", "modules/N_prm3.vhd", "modules/N_d_prm.vhd"}},
        {"-dpl5", false,
         {"N_3fu_1mux.vhd", "modules/N_prm1.vhd", "modules/N_prm2.vhd", "modules/N_prm3.vhd", "modules/N_d_prm.vhd"}},
        {"-dpl6", false,
         {"N_3fu_2mux_cmp.vhd", "modules/N_prm1.vhd", "modules/N_prm2.vhd", "modules/N_prm3.vhd",
          "modules/N_d_prm.vhd"}},
        {"-dpl0", false, {"N_dupl_prm.vhd", "modules/N_fu1.vhd", "modules/N_fu2.vhd", "modules/N_cmp.vhd"}},
        {"-fuch", true, {"modules/N_fu.vhd", "modules/N.vhd"}},
        {"-tmr3", true,
         {"N_tmr3ch.vhd", "modules/N_fu1.vhd", "modules/N_fu2.vhd", "modules/N_fu3.vhd", "modules/N_prm1.vhd",
          "modules/N_prm2.vhd", "modules/N_prm3.vhd", "modules/N_v_prm.vhd"}},
        {"-dpl1", true,
         {"N_dupl1ch.vhd", "modules/N_fu1.vhd", "modules/N_prm1.vhd", "modules/N_prm2.vhd", "modules/N_m_prm.vhd"}},
        {"-dpl2", true,
         {"N_dupl2ch.vhd", "modules/N_fu1.vhd", "modules/N_fu2.vhd", "modules/N_prm1.vhd", "modules/N_prm2.vhd",
          "modules/N_m_prm.vhd"}},
    };
    return p;
}

// The designs under tests/designs: a counter with a generic width and vector
// and one-bit outputs; a register on an INOUT bus with several outputs; a gate
// without generics; an adder. Each has a checker "<name>_ch.vhd".
const char* const kDesigns[] = {"cnt", "bidir", "andor", "adder"};

std::vector<std::string> expectedFiles(const SwitchPlan& plan, const std::string& name, bool keep)
{
    std::vector<std::string> files;
    std::vector<std::string> plain = plan.files;
    if (keep) plain.push_back("N_keep.ys");
    for (std::string f : plain) {
        for (size_t at; (at = f.find('N')) != std::string::npos;) f.replace(at, 1, name);
        files.push_back(f);
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The expected trees cover exactly the architectures of the table.
TEST(ArchitectureTable, EveryArchitectureHasAnExpectedTree)
{
    std::vector<std::string> table, expected;
    for (const auto& a : velmorn::architectures()) table.emplace_back(a.flag);
    for (const auto& p : plans()) expected.emplace_back(p.sw);
    std::sort(table.begin(), table.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(table, expected);
    for (const auto& p : plans()) EXPECT_EQ(velmorn::findArchitecture(p.sw)->takesChecker, p.checker) << p.sw;
}

class GhdlElaborate : public ::testing::TestWithParam<std::tuple<size_t, const char*, bool>> {};

TEST_P(GhdlElaborate, TreeHoldsThePlanAndElaborates)
{
    if (!vtest::ghdlAvailable()) GTEST_SKIP() << "ghdl not installed";
    const SwitchPlan& plan = plans()[std::get<0>(GetParam())];
    const std::string name = std::get<1>(GetParam());
    const bool keep = std::get<2>(GetParam());
    const fs::path designs = fs::path(VELMORN_TESTS_DIR) / "designs";

    vtest::TempDir dir;
    fs::copy_file(designs / (name + ".vhd"), dir / (name + ".vhd"));
    fs::copy_file(designs / (name + "_ch.vhd"), dir / (name + "_ch.vhd"));
    std::vector<std::string> args = {plan.sw, name + ".vhd"};
    if (keep) args.insert(args.begin(), "--keep");
    if (plan.checker) args.push_back(name + "_ch.vhd");

    const auto run = vtest::runVelmorn(args, dir.path());
    ASSERT_EQ(run.status, 0) << run.output;
    const fs::path tree = dir / name;
    ASSERT_EQ(vtest::listFiles(tree), expectedFiles(plan, name, keep)) << run.output;

    std::vector<fs::path> extra;
    if (plan.checker) extra.push_back(dir / (name + "_ch.vhd"));
    const auto ghdl = vtest::ghdlElaborate(tree, name, extra);
    EXPECT_EQ(ghdl.status, 0) << ghdl.output;
    // GHDL only warns about a component that no entity binds to.
    EXPECT_EQ(ghdl.output.find("not bound"), std::string::npos) << ghdl.output;
}

std::string caseName(const ::testing::TestParamInfo<GhdlElaborate::ParamType>& info)
{
    return std::string(plans()[std::get<0>(info.param)].sw + 1) + "_" + std::get<1>(info.param) +
           (std::get<2>(info.param) ? "_keep" : "");
}

INSTANTIATE_TEST_SUITE_P(AllSwitches, GhdlElaborate,
                         ::testing::Combine(::testing::Range<size_t>(0, 11), ::testing::ValuesIn(kDesigns),
                                            ::testing::Bool()),
                         caseName);

}  // namespace
