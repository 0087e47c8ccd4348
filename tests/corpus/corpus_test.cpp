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

// A checker of the assumed interface: entity <ENTITY>_ch with the unit's
// generics, its IN and INOUT ports, its OUT ports as IN, and ERR.
std::string checkerStub(const velmorn::Design& d)
{
    const std::string name = d.entityName + "_ch";
    std::string s = d.contextClause + "\n\nentity " + name + " is\n";
    if (!d.generics.empty()) {
        s += "   generic(\n";
        for (size_t i = 0; i < d.generics.size(); ++i)
            s += "      " + d.generics[i].name + " :" + d.generics[i].type +
                 (i + 1 < d.generics.size() ? ";\n" : "\n");
        s += "   );\n";
    }
    s += "   port(\n";
    for (const auto& p : d.inputs) s += "      " + p.name + " : in" + p.type + ";\n";
    for (const auto& p : d.inouts) s += "      " + p.name + " : inout" + p.type + ";\n";
    for (const auto& p : d.outputs) s += "      " + p.name + " : in" + p.type + ";\n";
    s += "      ERR : out std_logic\n   );\nend entity " + name + ";\n\n";
    s += "architecture stub of " + name + " is\nbegin\n   ERR <= '0';\nend architecture stub;\n";
    return s;
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
    const std::string top = d.entityName;

    TempDir tmp;
    const fs::path checker = tmp / "checker_stub.vhd";
    writeFile(checker, checkerStub(d));

    for (const velmorn::Architecture& sw : velmorn::architectures()) {
        const std::string flag(sw.flag);
        SCOPED_TRACE(file + " " + flag);
        const fs::path dir = tmp / flag.substr(1);
        fs::create_directories(dir);
        fs::copy_file(kCorpus / file, dir / file);
        std::vector<std::string> args = options;
        args.insert(args.end(), {flag, file});
        if (sw.takesChecker) args.push_back("checker.vhd");
        const RunResult gen = runVelmorn(args, dir);
        ASSERT_EQ(gen.status, 0) << gen.output;

        std::string files;
        auto add = [&](const fs::path& f) { files.append(" ").append(shellQuote(f.string())); };
        if (sw.takesChecker) add(checker);
        for (const auto& f : listFiles(dir / d.outputName))
            if (fs::path(f).extension() == ".vhd") add(dir / d.outputName / f);
        const std::string w = " --std=08 -fsynopsys --workdir=work";
        const RunResult ghdl = runCommand("mkdir -p work && ghdl -i" + w + files + " && ghdl -m" + w + " " + top +
                                              " && ghdl -r" + w + " " + top + " --no-run",
                                          dir);
        EXPECT_EQ(ghdl.status, 0) << gen.output << "\n" << ghdl.output;
    }
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
