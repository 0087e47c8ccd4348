// Hostile inputs and hostile surroundings, with the real executable in a
// temporary directory: every run ends in bounded time with a clear message and
// exit status 1 (never a signal), and writes nothing outside its output tree.
// Very large valid inputs generate correctly, in time linear in their size.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/mount.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <set>

#include "support/testing.h"

namespace {

using namespace vtest;

constexpr int kTimeLimit = 120;  // seconds: far above any sound run, even under sanitizers

// Every path below `root` (directories and links too), relative to it.
std::set<std::string> entries(const fs::path& root)
{
    std::set<std::string> all;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it)
        all.insert(fs::relative(it->path(), root).generic_string());
    return all;
}

// Runs velmorn in `cwd` under a time limit; `prefix` goes before the command
// (a privilege drop or a resource limit).
RunResult run(const std::vector<std::string>& args, const fs::path& cwd, const std::string& prefix = "")
{
    std::string cmd = prefix + "timeout -k 5 " + std::to_string(kTimeLimit) + " " + shellQuote(VELMORN_EXE);
    for (const auto& a : args) cmd.append(" ").append(shellQuote(a));
    return runCommand(cmd, cwd);
}

// What a run may leave behind: its output tree, nothing else.
void expectOnlyTreeAdded(const std::set<std::string>& before, const fs::path& root, const std::string& tree)
{
    for (const auto& e : entries(root)) {
        if (!before.count(e)) {
            EXPECT_TRUE(e == tree || e.rfind(tree + "/", 0) == 0) << "written outside the tree: " << e;
        }
    }
}

const std::string kLib = "library ieee;\nuse ieee.std_logic_1164.all;\n";
const std::string kDesign = kLib +
                            "entity e is\n   port(\n      clk : in std_logic;\n      q : out std_logic\n   );\nend e;\n"
                            "architecture rtl of e is\nbegin\n   q <= clk;\nend rtl;\n";

// A failing run: status 1 (not a signal, not the time limit), the message on
// the console, and nothing new in the directory.
void expectRefused(const fs::path& dir, const std::string& file, const std::string& content, const std::string& message)
{
    writeFile(dir / file, content);
    const auto before = entries(dir);
    const RunResult r = run({"-tmr0", file}, dir);
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find(message), std::string::npos) << "expected: " << message << "\ngot: " << r.output;
    EXPECT_EQ(entries(dir), before) << r.output;
}

TEST(HostileSource, EmptyBinaryAndControlBytes)
{
    TempDir tmp;
    expectRefused(tmp.path(), "empty.vhd", "", "No entity found in input file - empty.vhd !\n");
    std::mt19937 gen(20261207);
    std::string bytes(1 << 16, '\0');
    for (char& c : bytes) c = static_cast<char>(gen() & 0xff);
    expectRefused(tmp.path(), "random.vhd", bytes, "Invalid character at line ");
    std::string nul = kDesign;
    nul.replace(nul.find("clk : in"), 3, std::string("cl\0k", 4));
    expectRefused(tmp.path(), "nul.vhd", nul, "Invalid character at line 5 in input file - nul.vhd !\n");
}

TEST(HostileSource, EndsInsideACommentOrAString)
{
    TempDir tmp;
    expectRefused(tmp.path(), "comment.vhd", kLib + "entity e is\n   port(\n      q : out std_logic; -- and then",
                  "No architecture found in input file - comment.vhd !\n");
    expectRefused(tmp.path(), "string.vhd", kDesign + "   report \"the file ends here",
                  "Unterminated string literal in the architecture of input file - string.vhd !\n");
    expectRefused(tmp.path(), "block.vhd", kDesign + "/* the file ends here",
                  "Unterminated comment in the architecture of input file - block.vhd !\n");
    // A "--" comment ends at the end of the file as at a line end: that is valid.
    writeFile(tmp / "valid.vhd", kDesign + "-- no line end after this comment");
    const RunResult r = run({"-tmr0", "valid.vhd"}, tmp.path());
    EXPECT_EQ(r.status, 0) << r.output;
}

TEST(HostileSource, EndsInsideTheEntityAPortOrTheArchitectureHead)
{
    TempDir tmp;
    expectRefused(tmp.path(), "entity.vhd", kLib + "entity e is\n   port(\n      clk : in std_logic;\n",
                  "No architecture found in input file - entity.vhd !\n");
    expectRefused(tmp.path(), "port.vhd", kLib + "entity e is\n   port(\n      q : out std_logic_vector(3 downto",
                  "No architecture found in input file - port.vhd !\n");
    expectRefused(tmp.path(), "name.vhd", kLib + "entity e is\n   port(\n      clk, q",
                  "No architecture found in input file - name.vhd !\n");
    const std::string entity = kDesign.substr(0, kDesign.find("architecture"));
    expectRefused(tmp.path(), "head.vhd", entity + "architecture rtl of",
                  "No architecture found in input file - head.vhd !\n");
    expectRefused(tmp.path(), "head2.vhd", entity + "architecture rtl of e is",
                  "Can't find the end of architecture in input file - head2.vhd !\n");
    expectRefused(tmp.path(), "noend.vhd", entity + "architecture rtl of e is\nbegin\n   q <= clk;\n",
                  "Can't find the end of architecture in input file - noend.vhd !\n");
}

TEST(HostileSource, DesignUnitsAroundTheArchitectureAreRefused)
{
    TempDir tmp;
    expectRefused(tmp.path(), "two.vhd", kDesign + "architecture other of e is\nbegin\n   q <= '0';\nend other;\n",
                  "Unsupported second architecture in input file - two.vhd !\n");
    expectRefused(tmp.path(), "pkg.vhd", kLib + "package p is\nend p;\n" + kDesign.substr(kLib.size()),
                  "Unsupported package before the entity in input file - pkg.vhd !\n");
}

// File permissions bind root only after a drop to an unprivileged user: the
// command prefix that makes them apply, false when that cannot be done here.
bool permissionsApply(std::string& prefix)
{
    prefix.clear();
    if (geteuid() != 0) return true;
    prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups -- ";
    return std::system((prefix + "test -x " + shellQuote(VELMORN_EXE) + " 2>/dev/null").c_str()) == 0;
}

TEST(HostileSource, DirectoryOrUnreadableFile)
{
    TempDir tmp;
    fs::create_directory(tmp / "srcdir.vhd");
    auto before = entries(tmp.path());
    RunResult r = run({"-tmr0", "srcdir.vhd"}, tmp.path());
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_EQ(r.output, "Can't open input file - srcdir.vhd !");
    EXPECT_EQ(entries(tmp.path()), before);

    std::string drop;
    if (!permissionsApply(drop)) GTEST_SKIP() << "cannot drop privileges to test permissions";
    writeFile(tmp / "secret.vhd", kDesign);
    fs::permissions(tmp / "secret.vhd", fs::perms::none);
    before = entries(tmp.path());
    r = run({"-tmr0", "secret.vhd"}, tmp.path(), drop);
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_EQ(r.output, "Can't open input file - secret.vhd !");
    EXPECT_EQ(entries(tmp.path()), before);
}

TEST(HostileSource, FifoIsRefusedWithoutWaitingForAWriter)
{
    TempDir tmp;
    ASSERT_EQ(mkfifo((tmp / "pipe.vhd").c_str(), 0600), 0);
    const auto before = entries(tmp.path());
    const RunResult r = run({"-tmr0", "pipe.vhd"}, tmp.path());
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_EQ(r.output, "Can't open input file - pipe.vhd !");
    EXPECT_EQ(entries(tmp.path()), before);
}

TEST(HostileOutput, WorkingDirectoryNotWritable)
{
    std::string drop;
    if (!permissionsApply(drop)) GTEST_SKIP() << "cannot drop privileges to test permissions";
    TempDir tmp;
    writeFile(tmp / "ro" / "e.vhd", kDesign);
    fs::permissions(tmp / "ro", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    const RunResult r = run({"-tmr0", "e.vhd"}, tmp / "ro", drop);
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("Can't create output directory - e !\n"), std::string::npos) << r.output;
    EXPECT_EQ(entries(tmp / "ro"), std::set<std::string>{"e.vhd"});
}

TEST(HostileOutput, OutputDirectoryTakenByAFileOrALink)
{
    TempDir tmp;
    writeFile(tmp / "e.vhd", kDesign);
    writeFile(tmp / "e", "a plain file");
    RunResult r = run({"-tmr0", "e.vhd"}, tmp.path());
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("Can't create output directory - e !\n"), std::string::npos) << r.output;
    EXPECT_EQ(readFile(tmp / "e"), "a plain file");

    // A link to a directory outside is not followed, for the tree or its modules.
    fs::remove(tmp / "e");
    fs::create_directory(tmp / "outside");
    fs::create_directory_symlink("outside", tmp / "e");
    r = run({"-tmr0", "e.vhd"}, tmp.path());
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("Can't create output directory - e !\n"), std::string::npos) << r.output;
    EXPECT_TRUE(fs::is_empty(tmp / "outside"));

    fs::remove(tmp / "e");
    fs::create_directory(tmp / "e");
    fs::create_directory_symlink("../outside", tmp / "e" / "modules");
    r = run({"-tmr0", "e.vhd"}, tmp.path());
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("Can't create output directory - e/modules !\n"), std::string::npos) << r.output;
    EXPECT_TRUE(fs::is_empty(tmp / "outside"));
}

TEST(HostileOutput, OutputFileTakenByADirectory)
{
    TempDir tmp;
    writeFile(tmp / "e.vhd", kDesign);
    fs::create_directories(tmp / "e" / "modules" / "e_prm2.vhd");
    const auto before = entries(tmp.path());
    const RunResult r = run({"-tmr0", "e.vhd"}, tmp.path());
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("Can't open output file - e/modules/e_prm2.vhd !"), std::string::npos) << r.output;
    EXPECT_TRUE(fs::is_directory(tmp / "e" / "modules" / "e_prm2.vhd"));
    // The plan goes on: the other files are written.
    EXPECT_TRUE(fs::is_regular_file(tmp / "e" / "modules" / "e_prm3.vhd"));
    EXPECT_TRUE(fs::is_regular_file(tmp / "e" / "e_tmr.vhd"));
    expectOnlyTreeAdded(before, tmp.path(), "e");
}

TEST(HostileOutput, LinkInTheTreeIsReplacedNotFollowed)
{
    TempDir tmp;
    writeFile(tmp / "e.vhd", kDesign);
    writeFile(tmp / "victim.txt", "keep me");
    fs::create_directories(tmp / "e" / "modules");
    fs::create_symlink("../../victim.txt", tmp / "e" / "modules" / "e_prm1.vhd");
    fs::create_symlink("../victim.txt", tmp / "e" / "e_tmr.vhd");
    const RunResult r = run({"-tmr0", "e.vhd"}, tmp.path());
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(readFile(tmp / "victim.txt"), "keep me");
    for (const fs::path& p : {tmp / "e" / "modules" / "e_prm1.vhd", tmp / "e" / "e_tmr.vhd"}) {
        EXPECT_FALSE(fs::is_symlink(p)) << p;
        EXPECT_EQ(readFile(p).rfind(banner(fs::relative(p, tmp.path()).generic_string(), "TMR"), 0), 0u) << p;
    }
}

// A design whose copies are larger than `bytes`.
std::string designOfSize(size_t bytes)
{
    std::string s = kLib + "entity e is\n   port(\n      clk : in std_logic;\n      q : out std_logic\n   );\nend e;\n"
                           "architecture rtl of e is\nbegin\n";
    while (s.size() < bytes) s += "   q <= clk; -- padding the body of the architecture\n";
    return s + "end rtl;\n";
}

TEST(HostileOutput, FileSizeLimitReachedWhileWriting)
{
    TempDir tmp;
    writeFile(tmp / "e.vhd", designOfSize(64 * 1024));
    // 16 blocks (8 or 16 KiB, by shell) per file: the copies exceed it, the
    // voter does not. SIGXFSZ is
    // ignored, so the write fails with an error instead of ending the process.
    const RunResult r = run({"-tmr0", "e.vhd"}, tmp.path(), "ulimit -f 16; trap '' XFSZ; ");
    EXPECT_EQ(r.status, 1) << r.output;
    for (int k = 1; k <= 3; ++k) {
        const std::string path = "e/modules/e_prm" + std::to_string(k) + ".vhd";
        EXPECT_NE(r.output.find("Can't write output file - " + path + " !"), std::string::npos) << r.output;
    }
    EXPECT_EQ(r.output.find("Can't write output file - e/modules/e_voter.vhd !"), std::string::npos) << r.output;
    EXPECT_TRUE(fs::is_regular_file(tmp / "e" / "modules" / "e_voter.vhd"));
}

TEST(HostileOutput, FullDisk)
{
    TempDir tmp;
    fs::create_directory(tmp / "disk");
    const std::string disk = (tmp / "disk").string();
    if (geteuid() != 0 || mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here";
    struct Unmount {
        std::string d;
        ~Unmount() { umount2(d.c_str(), MNT_DETACH); }
    } unmount{disk};
    writeFile(tmp / "e.vhd", designOfSize(40 * 1024));
    const RunResult r = run({"-tmr0", "../e.vhd"}, tmp / "disk");
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("Can't write output file - e/modules/e_prm2.vhd !"), std::string::npos) << r.output;
    expectOnlyTreeAdded({}, tmp / "disk", "e");
}

// Generates `design` with -tmr0 and returns the wall time in seconds.
double timedRun(const fs::path& dir, const std::string& file, const std::string& design)
{
    writeFile(dir / file, design);
    const auto start = std::chrono::steady_clock::now();
    const RunResult r = run({"-tmr0", file}, dir);
    const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(r.status, 0) << r.output.substr(0, 2000);
    return t;
}

std::string designWithPorts(size_t ports)
{
    std::string s = kLib + "entity wide is\n   port(\n";
    for (size_t i = 0; i < ports / 2; ++i) s += "      i" + std::to_string(i) + " : in std_logic;\n";
    for (size_t i = 0; i < ports / 2; ++i)
        s += "      q" + std::to_string(i) + " : out std_logic" + (i + 1 < ports / 2 ? ";\n" : "\n");
    return s + "   );\nend wide;\narchitecture rtl of wide is\nbegin\n   q0 <= i0;\nend rtl;\n";
}

TEST(LargeInput, HundredThousandPortsInLinearTime)
{
    TempDir tmp;
    const double small = timedRun(tmp.path(), "small.vhd", designWithPorts(10000));
    const double large = timedRun(tmp.path(), "wide.vhd", designWithPorts(100000));
    EXPECT_LT(large, 20 * std::max(small, 0.05)) << "10,000 ports: " << small << " s, 100,000 ports: " << large << " s";

    const std::string copy = readFile(tmp / "wide" / "modules" / "wide_prm1.vhd");
    EXPECT_NE(copy.find("entity WIDE_prm1 is\n   port(\n      I0_prm1 : in  std_logic;\n      I1_prm1 : in"),
              std::string::npos);
    EXPECT_NE(copy.find("      I49999_prm1 : in  std_logic;\n      Q0_prm1 : out  std_logic;\n"), std::string::npos);
    EXPECT_NE(copy.find("      Q49999_prm1 : out  std_logic\n   );\nend entity WIDE_prm1;\n"), std::string::npos);
    EXPECT_NE(copy.find("   signal Q49999 :  std_logic;\n"), std::string::npos);
    EXPECT_NE(copy.find("   I49999 <= I49999_prm1;\n   Q0_prm1 <= Q0;\n"), std::string::npos);
    const std::string voter = readFile(tmp / "wide" / "modules" / "wide_voter.vhd");
    EXPECT_NE(voter.find("      Q49999_voter3_in : IN  std_logic;\n      Q0_voter_out : OUT  std_logic;\n"),
              std::string::npos);
    EXPECT_NE(voter.find("      Q49999_voter_out <= (Q49999_voter1_in and Q49999_voter2_in) or (Q49999_voter2_in "
                         "and Q49999_voter3_in) or (Q49999_voter1_in and Q49999_voter3_in);\n   end process;\n"),
              std::string::npos);
    EXPECT_TRUE(fs::is_regular_file(tmp / "wide" / "wide_tmr.vhd"));
}

std::string designWithIdentifier(const std::string& id)
{
    return kLib + "entity e is\n   port(\n      a : in std_logic;\n      " + id +
           " : out std_logic\n   );\nend e;\narchitecture rtl of e is\nbegin\n   " + id + " <= a;\nend rtl;\n";
}

TEST(LargeInput, OneMegabyteIdentifierInLinearTime)
{
    TempDir tmp;
    const std::string shortId = "x" + std::string(100 * 1024 - 1, 'y');
    const std::string id = "x" + std::string(1024 * 1024 - 1, 'y');
    const double small = timedRun(tmp.path(), "s.vhd", designWithIdentifier(shortId));
    const double large = timedRun(tmp.path(), "e.vhd", designWithIdentifier(id));
    EXPECT_LT(large, 20 * std::max(small, 0.05)) << "100 KB: " << small << " s, 1 MB: " << large << " s";

    std::string upper = id;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string copy = readFile(tmp / "e" / "modules" / "e_prm1.vhd");
    EXPECT_NE(copy.find("      " + upper + "_prm1 : out  std_logic\n   );\n"), std::string::npos);
    EXPECT_NE(copy.find("   signal " + upper + " :  std_logic;\n"), std::string::npos);
    EXPECT_NE(copy.find("\n   " + id + " <= a;\n"), std::string::npos);  // the body keeps its case
    EXPECT_NE(copy.find("   " + upper + "_prm1 <= " + upper + ";\n"), std::string::npos);
    const std::string voter = readFile(tmp / "e" / "modules" / "e_voter.vhd");
    EXPECT_NE(voter.find("      " + upper + "_voter_out : OUT  std_logic\n   );\n"), std::string::npos);
}

}  // namespace
