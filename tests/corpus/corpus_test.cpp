// The corpus: VHDL designs written the way real projects write them. Every file,
// with every switch, with and without --keep, must give a tree that GHDL
// analyses and elaborates; the
// checker switches get a stub checker of the interface the generated modules
// instantiate, built from the design that the real analysis reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "arch/architectures.h"
#include "main/driver.h"
#include "support/analyse.h"
#include "support/every_switch.h"
#include "support/testing.h"

namespace {

using namespace vtest;

const fs::path kCorpus = fs::path(VELMORN_TESTS_DIR) / "corpus";

std::vector<std::string> corpusFiles()
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(kCorpus))
        if (e.path().extension() == ".vhd") names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The design as the analysis reads it from the file.
velmorn::Design analyse(const std::string& file, std::string& console)
{
    vtest::Analysed a = vtest::analyseText(readFile(kCorpus / file), file, velmorn::outputNameOf(file));
    console = a.console;
    if (!a.ok) a.d.outputs.clear();
    return a.d;
}

class GhdlCorpus : public ::testing::TestWithParam<std::string> {};

TEST(CorpusFiles, EveryDesignIsAcceptedByTheAnalysis)
{
    const auto files = corpusFiles();
    EXPECT_GE(files.size(), 25u);
    for (const auto& file : files) {
        std::string console;
        const velmorn::Design d = analyse(file, console);
        EXPECT_FALSE(d.outputs.empty()) << file << ":\n" << console;
        EXPECT_EQ(console.find("Unsupported"), std::string::npos) << file << ":\n" << console;
        for (const auto* list : {&d.inputs, &d.outputs, &d.inouts})
            for (const auto& p : *list) {
                // Type texts never carry the list's ")", a comment or a CR.
                long depth = 0;
                for (char c : p.type) depth += (c == '(') - (c == ')');
                EXPECT_EQ(depth, 0) << file << " " << p.name << ":" << p.type;
                EXPECT_EQ(p.type.find("--"), std::string::npos) << file << " " << p.name;
                EXPECT_EQ(p.type.find('\r'), std::string::npos) << file << " " << p.name;
            }
    }
}

// Every switch on the corpus file, with the options `options` before the switch.
void everySwitchElaborates(const std::string& file, const std::vector<std::string>& options)
{
    if (!ghdlAvailable()) GTEST_SKIP() << "ghdl is not installed";
    std::string console;
    const velmorn::Design d = analyse(file, console);
    ASSERT_FALSE(d.outputs.empty()) << file << ":\n" << console;
    expectEverySwitchElaborates(file, readFile(kCorpus / file), d, options);
}

TEST_P(GhdlCorpus, EverySwitchGivesATreeThatElaborates) { everySwitchElaborates(GetParam(), {}); }

// The keep attributes name every instance label of the tops and checked units.
TEST_P(GhdlCorpus, EverySwitchGivesAKeepTreeThatElaborates) { everySwitchElaborates(GetParam(), {"--keep"}); }

INSTANTIATE_TEST_SUITE_P(Files, GhdlCorpus, ::testing::ValuesIn(corpusFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string n = fs::path(info.param).stem().string();
                             for (char& c : n)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return n;
                         });

}  // namespace
