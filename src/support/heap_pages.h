// The allocator's memory in large (2 MiB) pages. On the virtual machines
// measured, the first use of each small (4 KiB) page costs microseconds even
// once it is mapped, and a run on 10,000 ports uses some 1,500 of them for its
// heap: in large pages the same run took a quarter less time. The memory
// counts in the peak RSS in whole large pages, a few MiB more.
#pragma once

#include <cstddef>

namespace velmorn {

// How much the heap grows at once, all of it marked for large pages.
inline constexpr size_t kHeapGrowth = size_t{8} << 20;

// Called once at the start of a run, before its work: the main heap grows by
// kHeapGrowth now, in memory marked for large pages (a later growth, as
// large, lies in small pages). Threads that the run starts afterwards call
// threadHeapInLargePages(). False, with nothing changed, where the allocator
// is not the GNU C library's (a sanitizer's, for one) or its heap did not grow
// as expected.
bool heapInLargePages();

// Called by a thread at its start: the memory that the allocator keeps for
// this thread (its arena) in large pages, where heapInLargePages() was called.
void threadHeapInLargePages();

}  // namespace velmorn
