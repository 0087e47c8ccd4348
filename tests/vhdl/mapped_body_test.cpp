// The body of a unit copy goes to its file straight from the source's memory
// (mapped, or for a large source read into large pages): the same bytes as
// from a source held in a string, on another file system, into a pipe, and
// after the scanner is gone.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>
#include <thread>

#include "read/analysis.h"
#include "read/scanner.h"
#include "support/render.h"
#include "support/testing.h"

namespace {

using velmorn::FileSink;
using vtest::readFile;
using vtest::TempDir;

// Lines of every length, so that no two stretches of the text look alike and
// one written from the wrong place shows.
std::string commentLines(size_t bytes)
{
    std::string t;
    for (int i = 0; t.size() < bytes; ++i) t += "   -- line_" + std::to_string(i) + std::string(i % 37, '.') + ";\n";
    return t;
}

// cnt.vhd with `bodyLines` after the BEGIN of its architecture and `tail`
// after its end.
std::string counterSource(const std::string& bodyLines, const std::string& tail)
{
    std::string s = readFile(vtest::fs::path(VELMORN_TESTS_DIR) / "designs" / "cnt.vhd");
    s.insert(s.find("begin\n") + 6, bodyLines);
    return s + tail;
}

// A source file mapped by the scanner, and what follows its first three words.
struct MappedSource {
    TempDir dir;
    std::string text;
    velmorn::Scanner scanner;
    velmorn::SourceSpan rest;

    explicit MappedSource(size_t bytes) : text("architecture head is" + commentLines(bytes))
    {
        vtest::writeFile(dir / "src.vhd", text);
        EXPECT_TRUE(scanner.load((dir / "src.vhd").string()));
        for (int i = 0; i < 3; ++i) scanner.word();
        rest = scanner.restOfFile();
    }
    std::string restText() const { return text.substr(text.find(" is") + 3); }
};

// Generated text, a text passed through and more generated text.
void writeAround(velmorn::OutputSink& sink, std::string_view text)
{
    velmorn::VhdlOut out(sink);
    out << "before\n";
    out.passThrough(text);
    out.blanks(5000);
    out << "after\n";
}

TEST(MappedBody, ReachesTheFileBetweenTheGeneratedTexts)
{
    const MappedSource src(300000);
    const auto path = src.dir / "out.vhd";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    ASSERT_GE(fd, 0);
    FileSink sink(fd);
    writeAround(sink, src.rest.text);
    ::close(fd);
    EXPECT_FALSE(sink.failed);
    EXPECT_TRUE(readFile(path) == "before\n" + src.restText() + std::string(5000, ' ') + "after\n");
}

// A pipe of one page, read in small pieces while the body goes in.
TEST(MappedBody, IntoAPipeReadInSmallPieces)
{
    const MappedSource src(300000);
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    fcntl(ends[1], F_SETPIPE_SZ, 4096);
    std::string got;
    std::thread reader([&] {
        char block[1000];
        for (ssize_t n; (n = ::read(ends[0], block, sizeof block)) > 0;) got.append(block, static_cast<size_t>(n));
    });
    FileSink sink(ends[1]);
    writeAround(sink, src.rest.text);
    ::close(ends[1]);
    reader.join();
    ::close(ends[0]);
    EXPECT_FALSE(sink.failed);
    EXPECT_TRUE(got == "before\n" + src.restText() + std::string(5000, ' ') + "after\n");
}

TEST(MappedBody, AFullDeviceIsAFailedWrite)
{
    const int fd = ::open("/dev/full", O_WRONLY);
    if (fd < 0) GTEST_SKIP() << "no /dev/full";
    FileSink sink(fd);
    writeAround(sink, "body");
    ::close(fd);
    EXPECT_TRUE(sink.failed);
}

// Every file of every plan: from a mapped source written to disk, and from
// the same source held in memory.
void analyse(velmorn::Scanner& scanner, velmorn::Design& d)
{
    std::ostringstream out, err;
    velmorn::Diagnostics diag(out, err);
    d.outputName = "cnt";
    ASSERT_TRUE(velmorn::analyse(scanner, diag, d)) << out.str();
}

std::map<std::string, std::string> treeWritten(const velmorn::Design& d, const velmorn::Architecture& arch,
                                               const std::string& under)
{
    TempDir dir;
    const std::string root = under.empty() ? dir.path().string() : under;
    std::ostringstream out, err;
    velmorn::Diagnostics diag(out, err);
    velmorn::TreeWriter writer(diag, root + "/");
    EXPECT_TRUE(velmorn::generate(d, arch, writer, diag).ok) << out.str();
    std::map<std::string, std::string> files;
    for (const auto& f : vtest::listFiles(root)) files[f] = readFile(vtest::fs::path(root) / f);
    if (!under.empty()) vtest::fs::remove_all(vtest::fs::path(under) / "cnt");
    return files;
}

// The paths of the files that differ, or are in one tree only.
std::vector<std::string> differences(const std::map<std::string, std::string>& a,
                                     const std::map<std::string, std::string>& b)
{
    std::vector<std::string> paths;
    for (const auto& [path, text] : a)
        if (!b.count(path) || b.at(path) != text) paths.push_back(path);
    for (const auto& [path, text] : b)
        if (!a.count(path)) paths.push_back(path);
    return paths;
}

// The files of every plan from a mapped source, whose scanner is gone by the
// time they are written, written under `under` (a temporary directory when
// empty), against the files of the same source held in memory.
void expectTheFilesOfTheSourceInMemory(const std::string& under, size_t bodyBytes = 300000)
{
    TempDir dir;
    // A closing clause followed by comment lines: all of it blanked.
    const std::string source = counterSource(commentLines(bodyBytes), "\n" + commentLines(200000));
    vtest::writeFile(dir / "cnt.vhd", source);
    velmorn::Design mapped, inMemory;
    {
        velmorn::Scanner scanner;
        ASSERT_TRUE(scanner.load((dir / "cnt.vhd").string()));
        analyse(scanner, mapped);
    }
    velmorn::Scanner textScanner;
    textScanner.loadText(source);
    analyse(textScanner, inMemory);
    EXPECT_TRUE(mapped.body.str() == inMemory.body.str());
    EXPECT_GT(mapped.body.blanks, 200000u);
    for (const velmorn::Architecture& arch : velmorn::architectures()) {
        const vtest::PlanOutput expected = vtest::runPlan(inMemory, arch);
        std::map<std::string, std::string> expectedFiles(expected.writer.files.begin(), expected.writer.files.end());
        ASSERT_FALSE(expectedFiles.empty());
        EXPECT_EQ(differences(treeWritten(mapped, arch, under), expectedFiles), std::vector<std::string>{})
            << arch.flag;
    }
}

TEST(MappedBody, GivesTheFilesOfTheSourceInMemory) { expectTheFilesOfTheSourceInMemory(""); }

// A source of more than one large page (2 MiB) is read, not mapped.
TEST(MappedBody, ASourceReadIntoLargePagesGivesTheSameFiles)
{
    expectTheFilesOfTheSourceInMemory("", 3 * 1024 * 1024 + 12345);
}

TEST(MappedBody, ALargeSourceIsReadWhole)
{
    // From 16 MiB on, a chunk at a time on two threads.
    for (const size_t bytes : {size_t{2} << 20, (size_t{2} << 20) - 1, (size_t{5} << 20) + 4097, (size_t{17} << 20) + 4097,
                               size_t{32} << 20}) {
        TempDir dir;
        std::string text = commentLines(bytes);
        text.resize(bytes);
        vtest::writeFile(dir / "src.vhd", text);
        velmorn::Scanner scanner;
        ASSERT_TRUE(scanner.load((dir / "src.vhd").string()));
        EXPECT_EQ(scanner.text().size(), bytes);
        EXPECT_TRUE(scanner.text() == text) << bytes << " bytes";
    }
}

// Two threads read a large source a chunk at a time, each as many chunks as
// it gets to; the prescan gives each the share of the scan that it read (a
// thread on a slower processor reads, and scans, less).
TEST(MappedBody, ALargeSourceIsPrescannedInTheSharesItWasRead)
{
    TempDir dir;
    const size_t bytes = (size_t{17} << 20) + 4097;  // chunks of 8, 8 and 1 MiB: never shared evenly
    std::string text = commentLines(bytes);
    text.resize(bytes);
    vtest::writeFile(dir / "src.vhd", text);
    for (int run = 0; run < 3; ++run) {
        velmorn::Scanner scanner;
        ASSERT_TRUE(scanner.load((dir / "src.vhd").string()));
        const double share = scanner.readShare();
        EXPECT_NE(share, velmorn::kEvenShare);
        EXPECT_EQ(scanner.findControlByte(), std::string::npos);
        const size_t joined = scanner.prescanned().joinedAt;
        if (share == 1.0 && joined == std::string::npos) continue;  // no second thread to be had: one part
        const auto split = static_cast<size_t>(static_cast<double>(bytes) * std::clamp(share, 0.25, 0.75));
        ASSERT_NE(joined, std::string::npos) << "share " << share;
        EXPECT_GE(joined + 64, split) << "share " << share;
        EXPECT_LT(joined, split + 128 * 1024) << "share " << share;
    }
}

// The same with the tree on tmpfs, another file system than the source's.
TEST(MappedBody, OnAnotherFileSystemGivesTheSameFiles)
{
    struct statfs shm {};
    if (statfs("/dev/shm", &shm) != 0 || shm.f_type != 0x01021994 /* TMPFS_MAGIC */)
        GTEST_SKIP() << "no tmpfs at /dev/shm";
    const std::string under = "/dev/shm/velmorn-mapped-body-" + std::to_string(getpid());
    vtest::fs::create_directories(under);
    struct Removed {
        std::string path;
        ~Removed() { vtest::fs::remove_all(path); }
    } removed{under};
    expectTheFilesOfTheSourceInMemory(under);
}

}  // namespace
