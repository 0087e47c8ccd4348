// The command line, exit statuses, console transcript and output paths of the
// real executable, run in a temporary directory.
#include <gtest/gtest.h>

#include "support/render.h"
#include "support/testing.h"

namespace {

using vtest::readFile;
using vtest::runVelmorn;
using vtest::TempDir;
using vtest::writeFile;

std::string usage(const std::string& program)
{
    return "\nThis program generate different types of FT architectures\n"
           "based on TMR or duplex from input VHDL file. The modules\n"
           "of architectures are generated as PRMs...\n\n"
           "Syntax for FT architectures WITHOUT checkers:\n"
           "---------------------------------------------\n"
           "> " + program + " [parameter] <source.vhd>\n\n"
           "   Parameters:\n"
           "      -tmr0   ... for simple TMR architecture\n"
           "      -tmr1   ... for 3FU-3V architecture\n"
           "      -tmr2   ... for TMR-2V-CMP architecture\n"
           "      -dpl0   ... for simple Duplex architecture\n"
           "      -dpl4   ... for 3FU-2MUX architecture\n"
           "      -dpl5   ... for 3FU-1MUX architecture\n"
           "      -dpl6   ... for 3FU-2MUX-CMP architecture\n"
           "\n"
           "Syntax for FT architectures WITH checkers:\n"
           "------------------------------------------\n"
           "> " + program + " [parameter] <source.vhd> <checker.vhd>\n\n"
           "   Parameters:\n"
           "      -fuch   ... for FU with checker only\n"
           "      -tmr3   ... for TMR+3CH architecture\n"
           "      -dpl2   ... for DUPLEX+2CH architecture\n"
           "      -dpl1   ... for DUPLEX+1CH architecture\n";
}

const std::string kCounter =
    "library ieee;\n"
    "use ieee.std_logic_1164.all;\n"
    "\n"
    "entity counter is\n"
    "   port(\n"
    "      clk : in std_logic;\n"
    "      q : out std_logic\n"
    "   );\n"
    "end counter;\n"
    "\n"
    "architecture rtl of counter is\n"
    "   signal t : std_logic := '0';\n"
    "begin\n"
    "   process(clk) begin if rising_edge(clk) then t <= not t; end if; end process;\n"
    "   q <= t;\n"
    "end rtl;\n";

TEST(CommandLine, WrongCommandLinesPrintUsageWithStatusTwo)
{
    TempDir dir;
    writeFile(dir / "counter.vhd", kCounter);
    const std::string exe = VELMORN_EXE;
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"-TMR0", "counter.vhd"}, {"-tmr0", "counter.vhd", "ch.vhd"}, {"-fuch", "counter.vhd"},
             {"-tmr0"}, {"-tmr0", "counter.vhd", "a", "b"}}) {
        auto r = runVelmorn(args, dir.path());
        EXPECT_EQ(r.status, 2) << args.size();
        EXPECT_EQ(r.output, usage(exe));
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "counter"));
}

TEST(CommandLine, HelpPrintsUsageWithStatusZero)
{
    TempDir dir;
    for (const char* flag : {"-h", "--help"}) {
        auto r = runVelmorn({flag}, dir.path());
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.output, usage(VELMORN_EXE));
    }
}

TEST(CommandLine, MissingSourceIsReportedWithoutLineBreak)
{
    TempDir dir;
    auto r = runVelmorn({"-tmr0", "nosuch.vhd"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.output, "Can't open input file - nosuch.vhd !");
    EXPECT_TRUE(vtest::listFiles(dir.path()).empty());
}

TEST(CommandLine, ConsoleTranscriptOfASuccessfulRun)
{
    TempDir dir;
    writeFile(dir / "counter.vhd", kCounter);
    auto r = runVelmorn({"-tmr0", "counter.vhd"}, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output,
              "File counter.vhd was opened for reading...\n"
              "Analysis of entity - COUNTER ... Done\n"
              "Analysis of architecture COUNTER ... Done\n"
              "Generating TMR architecture ... Done\n"
              "File counter.vhd was closed...");
}

TEST(CommandLine, EachPlanPrintsItsOwnLine)
{
    TempDir dir;
    writeFile(dir / "counter.vhd", kCounter);
    const std::vector<std::pair<std::vector<std::string>, std::string>> plans = {
        {{"-tmr1", "counter.vhd"}, "Generating of 3FU-3V architecture ..."},
        {{"-tmr2", "counter.vhd"}, "Generating of TMR-2V-CMP architecture ..."},
        {{"-dpl4", "counter.vhd"}, "Generating of 3FU-2MUX architecture ..."},
        {{"-dpl5", "counter.vhd"}, "Generating of 3FU-1MUX architecture ..."},
        {{"-dpl6", "counter.vhd"}, "Generating of 3FU-2MUX-CMP architecture ..."},
        {{"-dpl0", "counter.vhd"}, "Generating of DUPLEX-CMP modules ..."},
        {{"-fuch", "counter.vhd", "ch.vhd"}, "Generating of FU+CH modules ..."},
        {{"-tmr3", "counter.vhd", "ch.vhd"}, "Generating of TMR+3CH modules ..."},
        {{"-dpl1", "counter.vhd", "ch.vhd"}, "Generating of DUPLEX+1CH modules ..."},
        {{"-dpl2", "counter.vhd", "ch.vhd"}, "Generating of DUPLEX+2CH modules ..."},
    };
    for (const auto& [args, line] : plans) {
        auto r = runVelmorn(args, dir.path());
        EXPECT_EQ(r.status, 0) << args[0] << "\n" << r.output;
        EXPECT_NE(r.output.find("Analysis of architecture COUNTER ... Done\n" + line + " Done\n"), std::string::npos)
            << args[0] << "\n" << r.output;
    }
}

TEST(OutputTree, SourceInAnotherDirectoryGivesTheTreeInTheWorkingDirectory)
{
    TempDir dir;
    writeFile(dir / "src" / "counter.vhd", kCounter);
    std::filesystem::create_directory(dir / "work");
    auto r = runVelmorn({"-tmr0", "../src/counter.vhd"}, dir / "work");
    EXPECT_EQ(r.status, 0) << r.output;
    const std::string prm1 = readFile(dir / "work" / "counter" / "modules" / "counter_prm1.vhd");
    EXPECT_NE(prm1.find("-- ** VHDL file: counter/modules/counter_prm1.vhd\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "src" / "counter"));
}

TEST(OutputTree, BackslashDirectoryPartIsRemovedToo)
{
    TempDir dir;
    writeFile(dir / "dir\\counter.vhd", kCounter);
    auto r = runVelmorn({"-tmr0", "dir\\counter.vhd"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(std::filesystem::exists(dir / "counter" / "modules" / "counter_prm1.vhd"));
}

TEST(OutputTree, SourceWithoutBaseNameIsRefused)
{
    TempDir dir;
    writeFile(dir / ".vhd", kCounter);
    writeFile(dir / "...vhd", kCounter);
    for (const char* name : {".vhd", "...vhd", "sub/"}) {
        auto r = runVelmorn({"-tmr0", name}, dir.path());
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_EQ(r.output, std::string("Can't derive output name from input file - ") + name + " !");
    }
    EXPECT_EQ(vtest::listFiles(dir.path()), (std::vector<std::string>{"...vhd", ".vhd"}));
}

TEST(OutputTree, CopyOfTheUnitIsByteExactForACleanSource)
{
    TempDir dir;
    writeFile(dir / "counter.vhd", kCounter);
    ASSERT_EQ(runVelmorn({"-tmr0", "counter.vhd"}, dir.path()).status, 0);
    EXPECT_GOLDEN(readFile(dir / "counter" / "modules" / "counter_prm2.vhd"), "modules/unit_copy_clean_counter_copy2.vhd");
}

TEST(OutputTree, RunningTwiceReplacesTheFiles)
{
    TempDir dir;
    writeFile(dir / "counter.vhd", kCounter);
    ASSERT_EQ(runVelmorn({"-tmr0", "counter.vhd"}, dir.path()).status, 0);
    const auto path = dir / "counter" / "modules" / "counter_prm1.vhd";
    const std::string first = readFile(path);
    writeFile(path, first + "junk that must go");
    ASSERT_EQ(runVelmorn({"-tmr0", "counter.vhd"}, dir.path()).status, 0);
    EXPECT_EQ(readFile(path), first);
}

TEST(Refusals, EntityWithoutOutPortGeneratesNothing)
{
    TempDir dir;
    writeFile(dir / "sink.vhd",
              "entity sink is\n port(a : in bit);\nend sink;\narchitecture r of sink is\nbegin\nend r;\n");
    auto r = runVelmorn({"-tmr0", "sink.vhd"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.output,
              "File sink.vhd was opened for reading...\n"
              "Analysis of entity - SINK ... Done\n"
              "Analysis of architecture SINK ... Done\n"
              "Entity SINK has no OUT port - nothing to generate !\n"
              "File sink.vhd was closed...");
    EXPECT_FALSE(std::filesystem::exists(dir / "sink"));
}

TEST(Refusals, AnalysisFailuresGiveStatusOneAndNoTree)
{
    TempDir dir;
    writeFile(dir / "a.vhd", "use ieee.std_logic_1164.all;\n");
    auto r = runVelmorn({"-dpl0", "a.vhd"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.output,
              "File a.vhd was opened for reading...\n"
              "No entity found in input file - a.vhd !\n"
              "File a.vhd was closed...");
    EXPECT_FALSE(std::filesystem::exists(dir / "a"));
}

TEST(Refusals, UnopenableOutputFileIsReportedAndCounted)
{
    TempDir dir;
    writeFile(dir / "counter.vhd", kCounter);
    std::filesystem::create_directories(dir / "counter" / "modules" / "counter_prm2.vhd");
    auto r = runVelmorn({"-tmr0", "counter.vhd"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("Generating TMR architecture ...Can't open output file - "
                            "counter/modules/counter_prm2.vhd !"),
              std::string::npos)
        << r.output;
    EXPECT_TRUE(std::filesystem::exists(dir / "counter" / "modules" / "counter_prm3.vhd"));
}

}  // namespace
