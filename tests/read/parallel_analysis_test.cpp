// A long port list is read in two parts at once, split at a ";" nearly
// halfway into it: the design and the console must be exactly those of reading it in
// one, wherever the split falls (inside a comment, a string, a character
// literal, parentheses, a declaration of several names, a refusal).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <filesystem>
#include <chrono>
#include <thread>

#include "support/analyse.h"
#include "support/helper_thread.h"
#include "support/testing.h"
#include "support/two_workers.h"

namespace {

const velmorn::AnalysisOptions kInOne{0}, kInTwo{1};

// The first offset of `keyword` in `text` in any case, or npos.
size_t findCaseless(const std::string& text, const std::string& keyword, size_t from = 0)
{
    std::string lower = text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find(keyword, from);
}

// The source with comments of `before` characters at the start of its port
// list and of `after` characters before its architecture: the split nearly
// halfway into the guessed list moves back through it, or on through it.
std::string padded(const std::string& source, size_t before, size_t after)
{
    std::string text = source;
    const size_t architecture = findCaseless(text, "architecture");
    if (architecture != std::string::npos)
        text.insert(architecture, std::string("-- ").append(after, 'x').append("\n"));
    const size_t port = findCaseless(text, "port");
    const size_t open = port == std::string::npos ? port : text.find('(', port);
    if (open != std::string::npos && architecture != std::string::npos && open < architecture)
        text.insert(open + 1, std::string("\n-- ").append(before, 'y').append("\n"));
    return text;
}

std::string readingInOne(const std::string& text) { return vtest::reading(vtest::analyseText(text, "src.vhd", "src", kInOne)); }
std::string readingInTwo(const std::string& text) { return vtest::reading(vtest::analyseText(text, "src.vhd", "src", kInTwo)); }

// Reads `source` in one part and in two with every split that a padding up
// to twice its length gives; reports the first padding that reads otherwise.
void expectSameReadingEverywhere(const std::string& source, const std::string& what)
{
    for (size_t pad = 0; pad <= 2 * source.size(); ++pad)
        for (const auto& [before, after] : {std::pair{pad, size_t{0}}, std::pair{size_t{0}, pad}}) {
            const std::string text = padded(source, before, after);
            ASSERT_EQ(readingInOne(text), readingInTwo(text)) << what << ", padded by " << before << " and " << after;
        }
}

const std::string kArch = "architecture rtl of e is\nbegin\nend rtl;\n";

TEST(ParallelPortList, ReadsAsInOneWhereverTheSplitFalls)
{
    const std::pair<const char*, std::string> sources[] = {
        {"one declaration a line",
         "entity e is\nport(\n  a : in bit;\n  b : in bit_vector(3 downto 0);\n  c : out bit;\n  d : inout "
         "std_logic;\n  e2 : out integer range 0 to 7\n);\nend e;\n" + kArch},
        {"comments holding semicolons and keywords",
         "entity e is\nport( -- a; b; end;\n  a : in bit; -- x : out bit;\n  -- c : in bit;\n  b : out bit; --;\n "
         " c : in bit --; end\n);\nend e;\n" + kArch},
        {"strings, characters and parentheses",
         "entity e is\nport(\n  a : in string(1 to 3) := \"a;b\";\n  b : in character := ';';\n  c : in "
         "bit_vector(f(1; 2) downto 0);\n  d : out bit;\n  e2 : in character := '(';\n  f : out bit\n);\nend e;\n" +
             kArch},
        {"several names, no mode, buffer, one line",
         "entity e is port(a, b, c : in bit; d : bit; e2, f : buffer bit; g : out bit); end e;\n" + kArch},
        {"declarations ended on the next line",
         "entity e is\nport(\n  a : in bit\n  ;\n  b : out bit\n  ;c : in bit\n);\nend e;\n" + kArch},
        {"a refusal in the second part",
         "entity e is\nport(\n  a : in bit;\n  b : in bit;\n  c : linkage bit;\n  d : out bit\n);\nend e;\n" + kArch},
        {"an extended identifier",
         "entity e is\nport(\n  a : in bit;\n  b : in bit;\n  \\c;d\\ : in bit;\n  d : out bit\n);\nend e;\n" + kArch},
        {"a list that never closes",
         "entity e is\nport(\n  a : in bit;\n  b : in bit;\n  c : out bit;\n  d : out bit;\n"},
        {"generics, then ports, then declarations",
         "library ieee;\nuse ieee.std_logic_1164.all;\nentity e is\ngeneric(n : integer := 4; m : natural);\nport(\n  "
         "clk : in std_logic;\n  q : out std_logic_vector(n - 1 downto 0);\n  r : out bit\n);\nconstant k : "
         "integer := 2;\nend entity e;\n" + kArch},
    };
    for (const auto& [what, source] : sources) expectSameReadingEverywhere(source, what);
}

TEST(ParallelPortList, CorpusReadsAsInOne)
{
    const velmorn::HelperThread::Scope helper;  // as a run reads: the second part on the helper
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(VELMORN_TESTS_DIR) / "corpus")) {
        const std::string source = vtest::readFile(entry.path());
        for (size_t pad = 0; pad <= 2 * source.size(); pad += 37)
            for (const auto& [before, after] : {std::pair{pad, size_t{0}}, std::pair{size_t{0}, pad}}) {
                const std::string text = padded(source, before, after);
                ASSERT_EQ(readingInOne(text), readingInTwo(text))
                    << entry.path().filename() << ", padded by " << before << " and " << after;
            }
    }
}

TEST(ParallelPortList, LongListIsSplitByDefault)
{
    // 5,000 ports: the default threshold splits it; the reading is the same.
    std::string ports;
    for (int i = 0; i < 5000; ++i)
        ports += "  p" + std::to_string(i) + (i % 3 ? " : in bit;" : " : out std_logic_vector(7 downto 0);") + "\n";
    const std::string source = "entity e is\nport(\n" + ports + "  z : out bit\n);\nend e;\n" + kArch;
    const velmorn::HelperThread::Scope helper;
    const vtest::Analysed two = vtest::analyseText(source);
    ASSERT_TRUE(two.ok);
    EXPECT_EQ(two.d.inputs.size() + two.d.outputs.size(), 5001u);
    EXPECT_EQ(vtest::reading(vtest::analyseText(source, "src.vhd", "src", kInOne)), vtest::reading(two));
}

TEST(HelperThread, RunsEachTaskAndWaitsForIt)
{
    const velmorn::HelperThread::Scope helper;
    if (std::thread::hardware_concurrency() < 2) GTEST_SKIP() << "one processor: no helper";
    std::atomic<int> runs{0};
    std::thread::id ranOn;
    ASSERT_TRUE(velmorn::HelperThread::start([&] {
        ranOn = std::this_thread::get_id();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ++runs;
    }));
    EXPECT_FALSE(velmorn::HelperThread::start([&] { runs += 100; })) << "a second task while the first runs";
    velmorn::HelperThread::wait();
    EXPECT_EQ(runs.load(), 1);
    EXPECT_NE(ranOn, std::this_thread::get_id());
    // Asleep after a long wait, and woken by the next task.
    std::this_thread::sleep_for(velmorn::HelperThread::kAwake * 2);
    ASSERT_TRUE(velmorn::HelperThread::start([&] { ++runs; }));
    velmorn::HelperThread::wait();
    EXPECT_EQ(runs.load(), 2);
}

TEST(HelperThread, TwoWorkersShareTheTasksWithIt)
{
    const velmorn::HelperThread::Scope helper;
    std::vector<int> done(50, 0);
    std::atomic<int> second{0};
    velmorn::runOnTwoWorkers(done.size(), true, [&](size_t i, int worker) {
        ++done[i];
        if (worker == 1) ++second;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    });
    EXPECT_EQ(std::count(done.begin(), done.end(), 1), 50);
    if (std::thread::hardware_concurrency() >= 2) {
        EXPECT_GT(second.load(), 0);
    }
    // and again: the helper is free once the first run has ended
    velmorn::runOnTwoWorkers(done.size(), true, [&](size_t i, int) { ++done[i]; });
    EXPECT_EQ(std::count(done.begin(), done.end(), 2), 50);
}

}  // namespace
