// The command line beyond its eleven plain forms, through the real executable:
// why a command line is wrong (one line on standard error, the usage text on
// standard output as before), the version, the output directory and the
// verbose summary.
#include <gtest/gtest.h>

#include "support/testing.h"

namespace {

using vtest::listFiles;
using vtest::readFile;
using vtest::runVelmorn;
using vtest::TempDir;
using vtest::writeFile;

const std::string kSource = "library ieee;\nuse ieee.std_logic_1164.all;\nentity counter is\n   port(\n"
                            "      clk : in std_logic;\n      q : out std_logic\n   );\nend counter;\n"
                            "architecture rtl of counter is\nbegin\n   q <= clk;\nend rtl;\n";

// The usage text as -h prints it.
std::string usageText(const TempDir& dir) { return runVelmorn({"-h"}, dir.path()).output; }

TEST(CommandLineDiagnostics, EachWrongCommandLineSaysWhyOnStandardError)
{
    TempDir dir;
    writeFile(dir / "counter.vhd", kSource);
    const std::string usage = usageText(dir);
    ASSERT_NE(usage.find("Syntax for FT architectures WITH checkers"), std::string::npos);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "velmorn: no switch and no source file given\n"},
        {{"-TMR0", "counter.vhd"}, "velmorn: unknown switch -TMR0 (did you mean -tmr0?)\n"},
        {{"tmr0", "counter.vhd"}, "velmorn: unknown switch tmr0 (did you mean -tmr0?)\n"},
        {{"--dpl1", "counter.vhd", "ch.vhd"}, "velmorn: unknown switch --dpl1 (did you mean -dpl1?)\n"},
        {{"-tmr9", "counter.vhd"}, "velmorn: unknown switch or option -tmr9 (see " + std::string(VELMORN_EXE) +
                                       " --help)\n"},
        {{"counter.vhd", "-tmr0"}, "velmorn: the switch comes before the files: -tmr0 counter.vhd\n"},
        {{"-fuch", "counter.vhd"}, "velmorn: -fuch needs a checker file after the source file\n"},
        {{"-dpl2"}, "velmorn: -dpl2 needs a source file and a checker file\n"},
        {{"-tmr0"}, "velmorn: -tmr0 needs a source file\n"},
        {{"-tmr0", "counter.vhd", "ch.vhd"},
         "velmorn: -tmr0 takes one source file and no checker file (the switches with a checker are -fuch, -tmr3, "
         "-dpl2, -dpl1)\n"},
        {{"-tmr0", "counter.vhd", "a", "b"}, "velmorn: -tmr0 takes one source file, but 3 files were given\n"},
        {{"-o"}, "velmorn: -o needs a directory\n"},
    };
    for (const auto& [args, why] : cases) {
        const auto r = runVelmorn(args, dir.path());
        const std::string shown = args.empty() ? "(none)" : args[0];
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_EQ(r.errors, why) << shown;
        EXPECT_EQ(r.output, usage) << shown;
    }
    EXPECT_EQ(listFiles(dir.path()), std::vector<std::string>{"counter.vhd"});
}

TEST(CommandLineDiagnostics, HelpListsTheOptionsOnStandardErrorOnly)
{
    TempDir dir;
    const auto r = runVelmorn({"--help"}, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output.find("--output-dir"), std::string::npos);
    for (const char* option : {"-o DIR, --output-dir DIR", "-v, --verbose", "--keep ", "_keep.ys", "--version", "README"})
        EXPECT_NE(r.errors.find(option), std::string::npos) << option;
}

TEST(CommandLineOptions, VersionComesFromTheBuild)
{
    TempDir dir;
    const auto r = runVelmorn({"--version"}, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "velmorn " VELMORN_VERSION_TEXT "\n");
    EXPECT_EQ(r.errors, "");
}

TEST(CommandLineOptions, OutputDirectoryHoldsTheSameTree)
{
    TempDir dir;
    writeFile(dir / "counter.vhd", kSource);
    const auto plain = runVelmorn({"-dpl2", "counter.vhd", "ch.vhd"}, dir.path());
    ASSERT_EQ(plain.status, 0) << plain.output;
    for (const std::string out : {"build/ft", "build/ft/", "build"}) {
        const auto r = runVelmorn({"-o", out, "-dpl2", "counter.vhd", "ch.vhd"}, dir.path());
        ASSERT_EQ(r.status, 0) << out << "\n" << r.output << r.errors;
        EXPECT_EQ(r.output, plain.output) << out;
        const auto files = listFiles(dir / "counter");
        ASSERT_EQ(listFiles(dir / out / "counter"), files) << out;
        for (const auto& f : files) EXPECT_EQ(readFile(dir / out / "counter" / f), readFile(dir / "counter" / f)) << f;
    }
    const auto longForm = runVelmorn({"--output-dir", "elsewhere", "-tmr0", "counter.vhd"}, dir.path());
    EXPECT_EQ(longForm.status, 0);
    EXPECT_EQ(listFiles(dir / "elsewhere").size(), 5u);
}

TEST(CommandLineOptions, OutputDirectoryThatIsAFileIsRefused)
{
    TempDir dir;
    writeFile(dir / "counter.vhd", kSource);
    writeFile(dir / "taken", "a file");
    const auto r = runVelmorn({"-o", "taken/sub", "-tmr0", "counter.vhd"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("Can't create output directory - taken/sub !\n"), std::string::npos) << r.output;
    EXPECT_EQ(readFile(dir / "taken"), "a file");
}

TEST(CommandLineOptions, VerboseNamesEveryFileAndTheTopLevel)
{
    TempDir dir;
    writeFile(dir / "counter.vhd", kSource);
    const auto quiet = runVelmorn({"-fuch", "counter.vhd", "ch.vhd"}, dir.path());
    const auto r = runVelmorn({"-v", "-o", "out", "-fuch", "counter.vhd", "ch.vhd"}, dir.path());
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.output, quiet.output);
    EXPECT_EQ(r.errors,
              "wrote out/counter/modules/counter_fu.vhd\n"
              "wrote out/counter/modules/counter.vhd\n"
              "velmorn: warning: checker ch.vhd does not exist: the tree instantiates entity COUNTER_ch "
              "(--checker-template writes a template of it)\n"
              "top level: out/counter/modules/counter.vhd (entity COUNTER)\n");
    const auto tmr = runVelmorn({"--verbose", "-tmr0", "counter.vhd"}, dir.path());
    EXPECT_NE(tmr.errors.find("\ntop level: counter/counter_tmr.vhd (entity COUNTER)\n"), std::string::npos);
    EXPECT_EQ(std::count(tmr.errors.begin(), tmr.errors.end(), '\n'), 6);
}

// --keep with the other options: the same console, the files it adds named
// by -v, the script written last; a design whose port would clash with the
// attributes' declarations is refused before anything is written.
TEST(CommandLineOptions, KeepAddsTheScriptAndRefusesAClashingPort)
{
    TempDir dir;
    writeFile(dir / "counter.vhd", kSource);
    const auto quiet = runVelmorn({"-dpl0", "counter.vhd"}, dir.path());
    const auto r = runVelmorn({"-v", "--keep", "-o", "out", "-dpl0", "counter.vhd"}, dir.path());
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(r.output, quiet.output);
    EXPECT_NE(r.errors.find("wrote out/counter/modules/counter_cmp.vhd\nwrote out/counter/counter_dupl_prm.vhd\n"
                            "wrote out/counter/counter_keep.ys\ntop level: out/counter/counter_dupl_prm.vhd"),
              std::string::npos)
        << r.errors;

    TempDir clash;
    std::string source = kSource;
    source.replace(source.find("q : out"), 1, "dont_touch");
    source.replace(source.find("q <= clk"), 1, "dont_touch");
    writeFile(clash / "counter.vhd", source);
    const auto refused = runVelmorn({"--keep", "-tmr0", "counter.vhd"}, clash.path());
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.errors, "velmorn: --keep declares the attributes keep_hierarchy and DONT_TOUCH, of type string, in the "
                              "generated files, and the unit's port DONT_TOUCH would clash with them: rename it, or "
                              "leave out --keep\n");
    EXPECT_EQ(listFiles(clash.path()), std::vector<std::string>{"counter.vhd"});
    EXPECT_EQ(runVelmorn({"-tmr0", "counter.vhd"}, clash.path()).status, 0);
}

}  // namespace
