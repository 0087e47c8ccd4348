// The heap in large pages: after heapInLargePages(), memory that the main
// heap hands out, and the arena of a helper thread, lie in large pages; a
// thread's arena stays as it was where the run did not choose large pages.
// Each case runs in a child process of its own, so that the allocator of the
// test process is left as it is.
#include <gtest/gtest.h>

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "support/heap_pages.h"
#include "support/helper_thread.h"

namespace {

using velmorn::heapInLargePages;
using velmorn::HelperThread;
using velmorn::threadHeapInLargePages;

constexpr size_t kLargePage = size_t{2} << 20;
constexpr size_t kBlock = 3 * (size_t{1} << 20);  // more than a large page, less than the growth

// The system's setting of transparent large pages: "always", "madvise",
// "never", or empty where it has none.
std::string largePageMode()
{
    std::ifstream in("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string modes;
    std::getline(in, modes);
    const size_t open = modes.find('['), close = modes.find(']');
    return open < close && close != std::string::npos ? modes.substr(open + 1, close - open - 1) : "";
}

// The system gives large pages to memory marked for them.
bool largePagesOffered() { return largePageMode() == "always" || largePageMode() == "madvise"; }

// Whether large pages are given only to memory marked for them: otherwise
// memory that is not marked lies in large pages too, and a contrast shows
// nothing.
bool onlyMarkedMemory() { return largePageMode() == "madvise"; }

// KiB of large pages in the mapping that holds `at` (smaps' AnonHugePages);
// -1 where no mapping holds it.
long largePageKiB(const void* at)
{
    const auto address = reinterpret_cast<uintptr_t>(at);
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    bool inside = false;
    while (std::getline(smaps, line)) {
        uintptr_t from = 0, to = 0;
        char dash = 0;
        std::istringstream head(line);
        if (head >> std::hex >> from >> dash >> to && dash == '-' && line.find(':') > line.find(' ')) {
            inside = from <= address && address < to;
            continue;
        }
        if (inside && line.rfind("AnonHugePages:", 0) == 0) return std::strtol(line.c_str() + 14, nullptr, 10);
    }
    return -1;
}

// A block of kBlock bytes, written through.
char* writtenBlock()
{
    char* block = static_cast<char*>(std::malloc(kBlock));
    if (block) std::memset(block, 0x5a, kBlock);
    return block;
}

// Whether MADV_COLLAPSE makes a touched stretch one large page here (Linux 6.1 on).
bool collapses()
{
    const size_t length = 2 * kLargePage;
    void* raw = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return false;
    char* aligned = reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(raw) + kLargePage - 1) & ~(kLargePage - 1));
    aligned[0] = 1;
    const bool ok = madvise(aligned, kLargePage, 25 /* MADV_COLLAPSE */) == 0;
    munmap(raw, length);
    return ok;
}

// The exit code of `body` run in a child process: 0 where its checks held,
// kNotHere where the allocator is not one whose heap can be set so.
constexpr int kNotHere = 2;
int inChild(const std::function<int()>& body)
{
    const pid_t child = fork();
    if (child == 0) std::_Exit(body());
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

#define EXPECT_IN_CHILD(body)                                                                     \
    do {                                                                                          \
        const int code = inChild(body);                                                           \
        if (code == kNotHere) GTEST_SKIP() << "the allocator's heap cannot be set to large pages"; \
        EXPECT_EQ(code, 0);                                                                       \
    } while (0)

#define REQUIRE_LARGE_PAGES()                                                                  \
    do {                                                                                       \
        if (!largePagesOffered()) GTEST_SKIP() << "the system offers no transparent large pages"; \
    } while (0)

TEST(HeapPages, MainHeapHandsOutLargePages)
{
    REQUIRE_LARGE_PAGES();
    EXPECT_IN_CHILD([] {
        if (!heapInLargePages()) return kNotHere;
        const uintptr_t heapEnd = reinterpret_cast<uintptr_t>(sbrk(0));
        char* block = writtenBlock();
        // Served from the grown heap (not a mapping of its own), in large
        // pages from its first page on: the small pages below them are skipped.
        const bool inHeap = block && reinterpret_cast<uintptr_t>(block) + kBlock <= heapEnd;
        return inHeap && largePageKiB(block + 4096) >= 2048 ? 0 : 1;
    });
}

TEST(HeapPages, HelperThreadsArenaInLargePages)
{
    REQUIRE_LARGE_PAGES();
    const bool collapsing = collapses();
    EXPECT_IN_CHILD([collapsing] {
        if (!heapInLargePages()) return kNotHere;
        const HelperThread::Scope helper;
        // The helper prepares its heap before its second task at the latest.
        if (!HelperThread::start([] {})) return 3;
        HelperThread::wait();
        char* block = nullptr;
        if (!HelperThread::start([&] { block = writtenBlock(); })) return 3;
        HelperThread::wait();
        // The arena's first large page (made one from small pages) and the
        // one after it, which the block reaches into.
        return largePageKiB(block) >= (collapsing ? 4096 : 2048) ? 0 : 1;
    });
}

TEST(HeapPages, ThreadArenaUnchangedWithoutTheChoice)
{
    REQUIRE_LARGE_PAGES();
    if (!onlyMarkedMemory()) GTEST_SKIP() << "every memory may lie in large pages here";
    EXPECT_IN_CHILD([] {
        char* block = nullptr;
        std::thread([&] {
            threadHeapInLargePages();  // the run did not choose large pages: nothing changes
            block = writtenBlock();
        }).join();
        return block && largePageKiB(block) == 0 ? 0 : 1;
    });
}

}  // namespace
