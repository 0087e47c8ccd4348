// Bytes of the source file in a generated file: copied by the kernel where it
// can, written from memory where the copy is refused or stops short. Every
// way gives the same bytes, and so does a source read from memory.
#include <gtest/gtest.h>
#include <sys/vfs.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <sstream>

#include "read/analysis.h"
#include "read/scanner.h"
#include "support/render.h"
#include "support/testing.h"

namespace {

using velmorn::CopyRange;
using velmorn::FileSink;
using velmorn::kernelCopy;
using vtest::readFile;
using vtest::TempDir;

// Lines of every length, so that no two blocks of the text look alike and a
// block copied from the wrong offset shows.
std::string numberedLines(size_t bytes)
{
    std::string t;
    for (int i = 0; t.size() < bytes; ++i) t += "   line_" + std::to_string(i) + std::string(i % 37, '.') + ";\n";
    return t;
}

// The same as comment lines.
std::string commentLines(size_t bytes)
{
    std::string t = numberedLines(bytes);
    for (size_t at = 0; at < t.size(); at = t.find('\n', at) + 1) t.replace(at, 2, "--");
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

// A source file and the span of it that follows its first line, as the
// scanner gives it.
struct MappedSource {
    TempDir dir;
    std::string text;
    velmorn::Scanner scanner;
    velmorn::SourceSpan rest;

    explicit MappedSource(size_t bytes) : text("architecture head is" + numberedLines(bytes))
    {
        vtest::writeFile(dir / "src.vhd", text);
        EXPECT_TRUE(scanner.load((dir / "src.vhd").string()));
        scanner.word();
        scanner.word();
        scanner.word();
        rest = scanner.restOfFile();
    }
    std::string restText() const { return text.substr(text.find(" is") + 3); }
};

// What `sink` writes of generated text, a span and more generated text.
void writeAround(velmorn::OutputSink& sink, const velmorn::SourceSpan& span)
{
    velmorn::VhdlOut out(sink);
    out << "before\n";
    out.passThrough(span);
    out.blanks(5000);
    out << "after\n";
}

std::string fileWrittenWith(CopyRange copy, const velmorn::SourceSpan& span, const TempDir& dir)
{
    const auto path = dir / "out.vhd";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    EXPECT_GE(fd, 0);
    FileSink sink(fd, copy);
    writeAround(sink, span);
    EXPECT_FALSE(sink.failed);
    ::close(fd);
    return readFile(path);
}

// Copies that the kernel refuses or cuts short, one way each.
size_t kernelBytes = 0;
int copyCalls = 0;
ssize_t countedKernelCopy(int from, int64_t* offset, int to, size_t length)
{
    ++copyCalls;
    const ssize_t n = kernelCopy(from, offset, to, length);
    if (n > 0) kernelBytes += static_cast<size_t>(n);
    return n;
}
ssize_t refusedAcrossFileSystems(int, int64_t*, int, size_t)
{
    ++copyCalls;
    errno = EXDEV;
    return -1;
}
ssize_t notSupported(int, int64_t*, int, size_t)
{
    ++copyCalls;
    errno = EOPNOTSUPP;
    return -1;
}
// Three short copies, then refused: the rest must continue where they ended.
ssize_t refusedAfterThreeBlocks(int from, int64_t* offset, int to, size_t length)
{
    if (copyCalls >= 3) {
        errno = EINVAL;
        return -1;
    }
    return countedKernelCopy(from, offset, to, std::min<size_t>(length, 4093));
}
ssize_t sourceEndsEarly(int, int64_t*, int, size_t)
{
    ++copyCalls;
    return 0;
}
ssize_t interruptedOnce(int from, int64_t* offset, int to, size_t length)
{
    if (copyCalls == 0) {
        ++copyCalls;
        errno = EINTR;
        return -1;
    }
    return countedKernelCopy(from, offset, to, length);
}

struct CopyCase {
    const char* name;
    CopyRange copy;
    bool kernelCopiesAll;  // every byte of the span went by the kernel
};

class SourceCopy : public ::testing::TestWithParam<CopyCase> {};

TEST_P(SourceCopy, GivesTheSpanBetweenTheGeneratedTexts)
{
    const MappedSource src(300000);
    ASSERT_GE(src.rest.file, 0);
    ASSERT_EQ(src.rest.fileOffset, src.text.size() - src.restText().size());
    kernelBytes = 0;
    copyCalls = 0;
    const std::string written = fileWrittenWith(GetParam().copy, src.rest, src.dir);
    EXPECT_TRUE(written == "before\n" + src.restText() + std::string(5000, ' ') + "after\n");
    EXPECT_GT(copyCalls, 0);  // the copy was tried
    if (GetParam().kernelCopiesAll) {
        EXPECT_EQ(kernelBytes, src.rest.text.size());
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, SourceCopy,
                         ::testing::Values(CopyCase{"kernel", countedKernelCopy, true},
                                           CopyCase{"refusedAcrossFileSystems", refusedAcrossFileSystems, false},
                                           CopyCase{"notSupported", notSupported, false},
                                           CopyCase{"refusedAfterThreeBlocks", refusedAfterThreeBlocks, false},
                                           CopyCase{"sourceEndsEarly", sourceEndsEarly, false},
                                           CopyCase{"interruptedOnce", interruptedOnce, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SourceCopy, TextInMemoryOnlyIsWrittenWithoutTryingTheKernel)
{
    TempDir dir;
    copyCalls = 0;
    const auto span = velmorn::SourceSpan::ofText(numberedLines(70000));
    EXPECT_EQ(fileWrittenWith(countedKernelCopy, span, dir),
              "before\n" + std::string(span.text) + std::string(5000, ' ') + "after\n");
    EXPECT_EQ(copyCalls, 0);
}

// The kernel refuses to copy into a pipe; the sink writes the bytes itself.
TEST(SourceCopy, IntoAPipeTheKernelsRefusalIsCoveredFromMemory)
{
    const MappedSource src(40000);  // fits into the pipe with the generated text
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    ASSERT_GE(fcntl(pipeEnds[1], F_SETPIPE_SZ, 1 << 20), 65536);
    FileSink sink(pipeEnds[1]);
    writeAround(sink, src.rest);
    ::close(pipeEnds[1]);
    EXPECT_FALSE(sink.failed);
    std::string got;
    char block[65536];
    for (ssize_t n; (n = ::read(pipeEnds[0], block, sizeof block)) > 0;) got.append(block, static_cast<size_t>(n));
    ::close(pipeEnds[0]);
    EXPECT_TRUE(got == "before\n" + src.restText() + std::string(5000, ' ') + "after\n");
}

// Every file of every plan: from a mapped source written by the kernel, by
// the fallback, and from the same source held in memory.
struct Analysed {
    velmorn::Scanner scanner;
    velmorn::Design d;
};
void analyse(Analysed& a, bool mapped, const vtest::fs::path& file)
{
    std::ostringstream out, err;
    velmorn::Diagnostics diag(out, err);
    if (mapped) {
        ASSERT_TRUE(a.scanner.load(file.string()));
    } else {
        a.scanner.loadText(readFile(file));
    }
    a.d.outputName = "cnt";
    ASSERT_TRUE(velmorn::analyse(a.scanner, diag, a.d)) << out.str();
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

std::map<std::string, std::string> treeWritten(const velmorn::Design& d, const velmorn::Architecture& arch,
                                               CopyRange copy)
{
    TempDir dir;
    std::ostringstream out, err;
    velmorn::Diagnostics diag(out, err);
    velmorn::TreeWriter writer(diag, dir.path().string() + "/", false, copy);
    EXPECT_TRUE(velmorn::generate(d, arch, writer, diag).ok) << out.str();
    std::map<std::string, std::string> files;
    for (const auto& f : vtest::listFiles(dir.path())) files[f] = readFile(dir / f);
    return files;
}

TEST(SourceCopy, MappedSourceAndBlankedClauseGiveTheFilesOfTheSourceInMemory)
{
    TempDir dir;
    // A closing clause followed by a comment and blank lines: all of it blanked.
    vtest::writeFile(dir / "cnt.vhd", counterSource(commentLines(300000), "\n" + commentLines(200000)));
    Analysed mapped, inMemory;
    analyse(mapped, true, dir / "cnt.vhd");
    analyse(inMemory, false, dir / "cnt.vhd");
    ASSERT_GE(mapped.d.body.kept.file, 0);
    EXPECT_EQ(inMemory.d.body.kept.file, -1);
    EXPECT_EQ(mapped.d.body.str(), inMemory.d.body.str());
    EXPECT_GT(mapped.d.body.blanks, 200000u);
    for (const velmorn::Architecture& arch : velmorn::architectures()) {
        const vtest::PlanOutput expected = vtest::runPlan(inMemory.d, arch);
        std::map<std::string, std::string> expectedFiles;
        for (const auto& [path, text] : expected.writer.files) expectedFiles[path] = text;
        ASSERT_FALSE(expectedFiles.empty());
        EXPECT_EQ(differences(treeWritten(mapped.d, arch, kernelCopy), expectedFiles), std::vector<std::string>{})
            << arch.flag;
        EXPECT_EQ(differences(treeWritten(mapped.d, arch, refusedAcrossFileSystems), expectedFiles),
                  std::vector<std::string>{})
            << arch.flag;
    }
}

// A tree on tmpfs, where the kernel cannot copy from the source's file system.
TEST(SourceCopy, TreeOnAnotherFileSystemEqualsTheTreeBesideTheSource)
{
    struct statfs shm {};
    if (statfs("/dev/shm", &shm) != 0 || shm.f_type != 0x01021994 /* TMPFS_MAGIC */)
        GTEST_SKIP() << "no tmpfs at /dev/shm";
    TempDir dir;
    vtest::writeFile(dir / "big.vhd", counterSource(commentLines(300000), ""));
    const vtest::fs::path elsewhere = "/dev/shm/velmorn-source-copy-" + std::to_string(getpid());
    struct Removed {
        vtest::fs::path path;
        ~Removed() { vtest::fs::remove_all(path); }
    } removed{elsewhere};
    ASSERT_EQ(vtest::runVelmorn({"-tmr1", "big.vhd"}, dir.path()).status, 0);
    ASSERT_EQ(vtest::runVelmorn({"-o", elsewhere.string(), "-tmr1", "big.vhd"}, dir.path()).status, 0);
    const auto files = vtest::listFiles(dir / "big");
    EXPECT_EQ(vtest::listFiles(elsewhere / "big"), files);
    for (const auto& f : files) EXPECT_TRUE(readFile(elsewhere / "big" / f) == readFile(dir / "big" / f)) << f;
}

}  // namespace
