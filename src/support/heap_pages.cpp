#include "support/heap_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || __has_feature(thread_sanitizer)
#define VELMORN_SANITIZED_HEAP 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VELMORN_SANITIZED_HEAP 1
#endif

#if defined(__GLIBC__) && defined(MADV_HUGEPAGE) && !defined(VELMORN_SANITIZED_HEAP)
#define VELMORN_LARGE_HEAP 1
#endif

namespace velmorn {

#ifdef VELMORN_LARGE_HEAP

namespace {

constexpr uintptr_t kLargePage = uintptr_t{2} << 20;
#ifndef MADV_COLLAPSE
constexpr int MADV_COLLAPSE = 25;  // Linux 6.1
#endif

std::atomic<bool> tried{false}, chosen{false};
void* volatile skippedStretch = nullptr;  // kept to the end of the run (skipToLargePages)

uintptr_t roundUp(uintptr_t p) { return (p + kLargePage - 1) & ~(kLargePage - 1); }
uintptr_t programBreak() { return reinterpret_cast<uintptr_t>(sbrk(0)); }

// The heap hands out its free memory from its lowest address on, and that
// lies below the large pages, in small ones: a block that is never used or
// freed takes up the stretch up to `largePages`, so that what comes after it
// lies in large pages. Its memory is never touched but for its first bytes
// (the allocator's record, in a page in use already).
void skipToLargePages(uintptr_t largePages)
{
    constexpr size_t kRecord = 2 * sizeof(size_t);  // the allocator's record before a block
    void* probe = std::malloc(64 * 1024);           // too large for the allocator's caches: from the free end
    const uintptr_t at = reinterpret_cast<uintptr_t>(probe);
    std::free(probe);
    if (probe == nullptr || at >= largePages || largePages - at > 2 * kLargePage) return;  // elsewhere: left as is
    const size_t gap = largePages - at;
    if (gap > 4 * kRecord) skippedStretch = std::malloc(gap - 2 * kRecord);
}

}  // namespace

bool heapInLargePages()
{
    if (tried.exchange(true)) return chosen.load();
    mallopt(M_TOP_PAD, static_cast<int>(kHeapGrowth));
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(2 * kHeapGrowth));  // nothing given back before the end
    // Blocks of the heap until one makes it grow (by kHeapGrowth and the
    // block), then given back to it.
    constexpr int kMostBlocks = 8;
    void* blocks[kMostBlocks];
    int count = 0;
    const uintptr_t before = programBreak();
    while (count < kMostBlocks && programBreak() == before) blocks[count++] = std::malloc(64 * 1024);
    const uintptr_t after = programBreak();
    for (int i = 0; i < count; ++i) std::free(blocks[i]);
    // The large pages that lie whole in the new memory.
    const uintptr_t from = roundUp(before);
    chosen = after > from && madvise(reinterpret_cast<void*>(from), after - from, MADV_HUGEPAGE) == 0;
    if (chosen) skipToLargePages(from);
    return chosen.load();
}

void threadHeapInLargePages()
{
    if (!chosen.load()) return;
    // A thread's first allocation makes its arena: memory of its own that
    // begins at a large page, with the arena's records in its first bytes,
    // and kHeapGrowth of it writable. Where the block lies elsewhere (the
    // thread shares an arena), nothing changes.
    void* first = std::malloc(64);
    const uintptr_t at = reinterpret_cast<uintptr_t>(first);
    const uintptr_t start = at & ~(kLargePage - 1);
    std::free(first);
    if (first == nullptr || at - start > 64 * 1024) return;
    void* arena = reinterpret_cast<void*>(start);
    if (madvise(arena, kHeapGrowth, MADV_HUGEPAGE) != 0) return;
    // Its first large page holds the records, in small pages already: made
    // one large page now, where the system can (Linux 6.1 on).
    (void)madvise(arena, kLargePage, MADV_COLLAPSE);
}

#else

bool heapInLargePages() { return false; }
void threadHeapInLargePages() {}

#endif

}  // namespace velmorn
