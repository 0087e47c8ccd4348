// The writer writes the files of a tree two at a time: every file gets its
// own text whichever thread wrote it, and what fails is reported in the
// tree's order, as when the files are written one after another.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <atomic>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "arch/architectures.h"
#include "arch/checks.h"
#include "arch/generate.h"
#include "support/render.h"
#include "support/testing.h"
#include "support/two_workers.h"
#include "vhdl/writer.h"

namespace {

using vtest::readFile;
using vtest::TempDir;

// A text of its own per file, long enough to pass through several blocks of
// the writer's buffer, so that text written into the other thread's buffer
// would show.
std::string fileText(size_t file, size_t lines)
{
    std::string t;
    for (size_t i = 0; i < lines; ++i) t += "-- file " + std::to_string(file) + " line " + std::to_string(i) + "\n";
    return t;
}

std::vector<velmorn::FileJob> jobs(const std::vector<std::string>& paths, size_t lines)
{
    std::vector<velmorn::FileJob> list;
    for (size_t i = 0; i < paths.size(); ++i)
        list.push_back({paths[i], [i, lines](velmorn::VhdlOut& out) {
                            const std::string text = fileText(i, lines);
                            for (size_t at = 0; at < text.size(); at += 1000) out << text.substr(at, 1000);
                        }});
    return list;
}

struct Written {
    bool ok;
    std::string console, warnings;
};

Written writeAll(const TempDir& dir, const std::vector<velmorn::FileJob>& files, bool parallel, bool verbose = false)
{
    std::ostringstream console, warnings;
    velmorn::Diagnostics diag(console, warnings);
    velmorn::TreeWriter writer(diag, dir.path().string() + "/", verbose);
    const bool ok = writer.writeAll(files, parallel);
    return {ok, console.str(), warnings.str()};
}

TEST(TreeWriter, FilesWrittenTwoAtATimeHoldTheirOwnText)
{
    const std::vector<std::string> paths = {"a.vhd", "b.vhd", "c.vhd", "d.vhd", "e.vhd"};
    TempDir dir;
    const Written w = writeAll(dir, jobs(paths, 40000), true, true);
    EXPECT_TRUE(w.ok);
    EXPECT_EQ(w.console, "");
    std::string named;
    for (size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(readFile(dir / paths[i]), fileText(i, 40000)) << paths[i];
        named += "wrote " + (dir / paths[i]).string() + "\n";
    }
    EXPECT_EQ(w.warnings, named);  // -v names them in the tree's order
}

TEST(TreeWriter, FailuresAreReportedInTheTreesOrderWhicheverThreadMetThem)
{
    // Files 1 and 3 cannot be opened (no such directory); the others are written.
    const std::vector<std::string> paths = {"a.vhd", "missing/b.vhd", "c.vhd", "missing/d.vhd", "e.vhd"};
    for (const bool parallel : {false, true}) {
        TempDir dir;
        auto files = jobs(paths, 100);
        for (size_t i = 0; i < files.size(); ++i) files[i].cost = i;  // started from the last
        const Written w = writeAll(dir, files, parallel);
        EXPECT_FALSE(w.ok);
        const std::string root = dir.path().string() + "/";
        EXPECT_EQ(w.console, "Can't open output file - " + root + "missing/b.vhd !Can't open output file - " + root +
                                 "missing/d.vhd !")
            << (parallel ? "two at a time" : "one after another");
        for (const size_t i : {0, 2, 4}) EXPECT_EQ(readFile(dir / paths[i]), fileText(i, 100));
    }
}

TEST(TreeWriter, ALongFileBesideShortOnesKeepsItsTextWhoeverWritesItsBlocks)
{
    // The thread done with the short files writes blocks of the long one
    // that the other hands over: every block at its place.
    for (int round = 0; round < 5; ++round) {
        const std::vector<std::string> paths = {"long.vhd", "a.vhd", "b.vhd"};
        TempDir dir;
        auto files = jobs(paths, 10);
        files[0] = jobs({"long.vhd"}, 200000)[0];
        files[0].cost = 2;
        files[1].cost = files[2].cost = 1;
        const Written w = writeAll(dir, files, true);
        EXPECT_TRUE(w.ok);
        EXPECT_TRUE(readFile(dir / "long.vhd") == fileText(0, 200000)) << "long.vhd differs, round " << round;
        for (const size_t i : {1, 2}) EXPECT_EQ(readFile(dir / paths[i]), fileText(i, 10));
    }
}

TEST(BlockRelay, BlocksHandedOverLandAtTheirOffsetsAndFailuresAreTold)
{
    TempDir dir;
    const std::string path = (dir / "relayed").string();
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    velmorn::BlockRelay relay;
    std::string block(4096, ' ');
    EXPECT_FALSE(relay.handOver(fd, 0, "no one serves"));  // nothing taken
    relay.starts(0);
    relay.starts(1);
    std::thread server([&] { relay.serve(1, block); });
    // Hands `text` over once the server is free (it may not have begun yet,
    // or still write the block before); false after five seconds.
    auto handOver = [&](int to, uint64_t at, std::string_view text) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!relay.handOver(to, at, text))
            if (std::chrono::steady_clock::now() > until) return false;
            else std::this_thread::yield();
        return true;
    };
    // Blocks of 1,000 bytes, every other one handed over, the rest written
    // here, each at its offset: the file comes out whole either way.
    std::string expected;
    for (int k = 0; k < 400; ++k) {
        const std::string text(1000, static_cast<char>('a' + k % 26));
        const uint64_t at = expected.size();
        expected += text;
        if (k % 2 == 0) ASSERT_TRUE(handOver(fd, at, text)) << k;
        else ASSERT_TRUE(velmorn::writeAt(fd, at, text));
    }
    EXPECT_FALSE(relay.handOver(fd, expected.size(), std::string(5000, 'x')));  // larger than the server's buffer
    EXPECT_TRUE(relay.drain());
    // A block that cannot be written (the descriptor reads only) is told at the next drain.
    const int readOnly = ::open(path.c_str(), O_RDONLY);
    EXPECT_TRUE(handOver(readOnly, 0, "lost"));
    EXPECT_FALSE(relay.drain());
    EXPECT_TRUE(relay.drain());  // told once
    relay.serve(0, block);       // this worker is done too: the server stops
    server.join();
    ::close(readOnly);
    ::close(fd);
    EXPECT_TRUE(readFile(dir / "relayed") == expected) << "the blocks did not land at their offsets";
}

TEST(BlockRelay, ASinkThatIsNotAPlainFileWritesInOrder)
{
    // A pipe has no offsets: the sink writes one block after the other,
    // never through the relay, which a serving thread offers.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    velmorn::BlockRelay relay;
    std::string block(65536, ' ');
    relay.starts(0);
    relay.starts(1);
    std::thread server([&] { relay.serve(1, block); });
    std::string expected;
    {
        velmorn::FileSink sink(ends[1], &relay, false);
        for (int k = 0; k < 50; ++k) {
            const std::string text = "line " + std::to_string(k) + "\n";
            expected += text;
            sink.write(text);
        }
        sink.finish();
        EXPECT_FALSE(sink.failed);
    }
    relay.serve(0, block);
    server.join();
    ::close(ends[1]);
    std::string got;
    char chunk[256];
    for (ssize_t n; (n = ::read(ends[0], chunk, sizeof chunk)) > 0;) got.append(chunk, static_cast<size_t>(n));
    ::close(ends[0]);
    EXPECT_EQ(got, expected);
}

// A unit large enough to be written two files at a time, with every kind of
// port the emitters treat apart: bit and vector outputs voted bitwise, an
// integer output voted by equality, INOUT ports.
velmorn::Design largeUnit()
{
    vtest::DesignBuilder b("WIDE", "wide");
    b.generic("W", "  integer := 4");
    for (int i = 0; i < 600; ++i) {
        const std::string n = std::to_string(i);
        b.in("I" + n).out("Q" + n, "  std_logic_vector(W-1 downto 0)").out("N" + n, "  integer range 0 to 9");
        if (i % 20 == 0) b.inout("B" + n);
    }
    b.body("begin\nend architecture;\n");
    return b.build();
}

TEST(TreeWriter, TwoFilesAtATimeWriteWhatOneAtATimeWrites)
{
    const velmorn::Design d = largeUnit();
    for (const velmorn::Architecture& a : velmorn::architectures()) {
        const vtest::PlanOutput inMemory = vtest::runPlan(d, a);  // one file after another
        ASSERT_TRUE(inMemory.ok) << a.flag;
        TempDir dir;
        std::ostringstream console, warnings;
        velmorn::Diagnostics diag(console, warnings);
        // The files started in the order of their costs, as the checks'
        // dry run found them: every file of the tree has one.
        velmorn::FileCosts costs;
        ASSERT_TRUE(velmorn::checkDesign(d, a, diag, &costs)) << a.flag;
        EXPECT_EQ(costs.size(), inMemory.writer.files.size()) << a.flag;
        for (const auto& [path, text] : inMemory.writer.files) EXPECT_GT(costs[path], 0u) << a.flag << " " << path;
        velmorn::TreeWriter writer(diag, dir.path().string() + "/");
        ASSERT_TRUE(velmorn::generate(d, a, writer, diag, {}, &costs).ok) << a.flag;
        EXPECT_EQ(console.str(), inMemory.console) << a.flag;
        for (const auto& [path, text] : inMemory.writer.files) EXPECT_EQ(readFile(dir / path), text) << a.flag << " " << path;
        EXPECT_EQ(vtest::listFiles(dir.path()).size(), inMemory.writer.files.size()) << a.flag;
    }
}

TEST(TreeWriter, TheDryRunWeighsEachFileNearItsSize)
{
    // The writer starts the costliest files first, so that its two threads
    // end together: a file's cost is about its size, whether its text is
    // port lines, port maps, votes, selections or signals.
    const velmorn::Design d = largeUnit();
    for (const velmorn::Architecture& a : velmorn::architectures()) {
        const vtest::PlanOutput inMemory = vtest::runPlan(d, a);
        std::ostringstream console, warnings;
        velmorn::Diagnostics diag(console, warnings);
        velmorn::FileCosts costs;
        ASSERT_TRUE(velmorn::checkDesign(d, a, diag, &costs)) << a.flag;
        for (const auto& [path, text] : inMemory.writer.files) {
            const double ratio = static_cast<double>(costs[path]) / static_cast<double>(text.size());
            EXPECT_GT(ratio, 0.67) << a.flag << " " << path << ": cost " << costs[path] << ", " << text.size() << " bytes";
            EXPECT_LT(ratio, 1.5) << a.flag << " " << path << ": cost " << costs[path] << ", " << text.size() << " bytes";
        }
    }
}

TEST(TwoWorkers, EveryTaskRunsOnceAndBothThreadsTakeSome)
{
    if (!velmorn::twoCores()) GTEST_SKIP() << "one core";
    std::vector<std::atomic<int>> runs(64);
    std::set<std::thread::id> threads;
    std::mutex lock;
    velmorn::runOnTwoWorkers(runs.size(), true, [&](size_t i, int) {
        ++runs[i];
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        std::lock_guard<std::mutex> hold(lock);
        threads.insert(std::this_thread::get_id());
    });
    for (const auto& n : runs) EXPECT_EQ(n.load(), 1);
    EXPECT_EQ(threads.size(), 2u);
}

TEST(TwoWorkers, TheSecondThreadTakesTasksFromTheBack)
{
    // The top-level file is the last of a tree: the second thread starts
    // with it, while this one goes through the modules from the first.
    for (int round = 0; round < 20; ++round) {
        std::vector<int> workerOf(12, -1);
        velmorn::runOnTwoWorkers(workerOf.size(), true, [&](size_t i, int worker) {
            workerOf[i] = worker;
            std::this_thread::sleep_for(std::chrono::microseconds(100 * (i % 3)));
        });
        // This thread ran a run from the front, the second one the rest.
        size_t firstOfSecond = 0;
        while (firstOfSecond < workerOf.size() && workerOf[firstOfSecond] == 0) ++firstOfSecond;
        for (size_t i = firstOfSecond; i < workerOf.size(); ++i) EXPECT_EQ(workerOf[i], 1) << i;
        EXPECT_GE(firstOfSecond, 1u);
    }
}

TEST(TwoWorkers, TasksStartInTheOrderGivenEachOnce)
{
    // Each thread takes the next task left in the order: the tasks of either
    // thread come in the order's sequence, and together they are all of them.
    const std::vector<size_t> order = {4, 0, 6, 2, 7, 1, 5, 3};
    std::vector<size_t> positionOf(order.size());
    for (size_t k = 0; k < order.size(); ++k) positionOf[order[k]] = k;
    for (int round = 0; round < 20; ++round) {
        std::vector<size_t> positions[2];
        std::vector<std::atomic<int>> runs(order.size());
        velmorn::runOnTwoWorkers(order.size(), true, order, [&](size_t i, int worker) {
            positions[worker].push_back(positionOf[i]);
            ++runs[i];
            std::this_thread::sleep_for(std::chrono::microseconds(50 * (i % 3)));
        });
        for (const auto& taken : positions) EXPECT_TRUE(std::is_sorted(taken.begin(), taken.end()));
        EXPECT_EQ(positions[0].size() + positions[1].size(), order.size());
        for (const auto& n : runs) EXPECT_EQ(n.load(), 1);
    }
}

TEST(TwoWorkers, TheCostliestFilesComeFirstTheRestInTheTreesOrder)
{
    std::vector<velmorn::FileJob> files(4);
    EXPECT_TRUE(velmorn::costliestFirst(files).empty());  // no cost known: from both ends
    for (size_t i = 0; i < files.size(); ++i) files[i].cost = std::vector<size_t>{5, 0, 9, 5}[i];
    EXPECT_EQ(velmorn::costliestFirst(files), (std::vector<size_t>{2, 0, 3, 1}));
}

TEST(TwoWorkers, WithoutCostsTheCopiesComeLastTheOtherFilesFromTheTop)
{
    std::vector<velmorn::FileJob> files(6);
    for (const size_t copy : {0, 1, 3}) files[copy].unitCopy = true;
    EXPECT_EQ(velmorn::copiesLast(files), (std::vector<size_t>{5, 4, 2, 0, 1, 3}));
}

// Writes each file in memory and notes which the plan marked as copies of the unit.
struct CopyMarks : vtest::MemoryWriter {
    std::map<std::string, bool> unitCopy;
    bool writeAll(const std::vector<velmorn::FileJob>& jobs, bool) override
    {
        for (const velmorn::FileJob& job : jobs) {
            unitCopy[job.path] = job.unitCopy;
            write(job.path, job.emit);
        }
        return true;
    }
};

TEST(TwoWorkers, EveryPlanMarksItsCopiesOfTheUnitAndNothingElse)
{
    // The copies are the files that declare the unit's own ports as signals.
    const velmorn::Design d = largeUnit();
    for (const velmorn::Architecture& a : velmorn::architectures()) {
        CopyMarks marks;
        std::ostringstream console, warnings;
        velmorn::Diagnostics diag(console, warnings);
        ASSERT_TRUE(velmorn::generate(d, a, marks, diag).ok) << a.flag;
        size_t copies = 0;
        for (const auto& [path, text] : marks.files) {
            const bool declaresUnitsPorts = text.find("\n   signal I0 :") != std::string::npos;
            EXPECT_EQ(marks.unitCopy[path], declaresUnitsPorts) << a.flag << " " << path;
            copies += declaresUnitsPorts;
        }
        EXPECT_GE(copies, 1u) << a.flag;
    }
}

TEST(TwoWorkers, AnExceptionOfEitherThreadReachesTheCaller)
{
    for (const size_t failing : {size_t{0}, size_t{7}}) {
        std::atomic<int> ran{0};
        EXPECT_THROW(velmorn::runOnTwoWorkers(8, true,
                                              [&](size_t i, int) {
                                                  ++ran;
                                                  if (i == failing) throw std::runtime_error("task failed");
                                              }),
                     std::runtime_error);
        EXPECT_GE(ran.load(), 1);
    }
    std::vector<size_t> order;
    velmorn::runOnTwoWorkers(4, false, [&](size_t i, int worker) {
        EXPECT_EQ(worker, 0);
        order.push_back(i);
    });
    EXPECT_EQ(order, (std::vector<size_t>{0, 1, 2, 3}));
}

}  // namespace
