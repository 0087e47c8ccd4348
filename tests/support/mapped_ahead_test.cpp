// Memory mapped ahead of its first write: the pages asked for are resident
// afterwards with their content unchanged, mapping stops where the memory
// ends, and the helpers that map a stretch ahead follow what they watch.
#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <vector>

#include "model/design.h"
#include "support/mapped_ahead.h"

namespace {

using velmorn::mapForWriting;
using velmorn::MappedAhead;
using velmorn::Port;

const size_t kPage = static_cast<size_t>(sysconf(_SC_PAGESIZE));

// Whether the page that holds `at` is resident.
bool resident(const void* at)
{
    const auto address = reinterpret_cast<uintptr_t>(at) & ~(uintptr_t{kPage} - 1);
    unsigned char in = 0;
    return mincore(reinterpret_cast<void*>(address), kPage, &in) == 0 && (in & 1);
}

size_t residentPages(const char* from, const char* to)
{
    size_t count = 0;
    for (const char* p = from; p < to; p += kPage) count += resident(p);
    return count;
}

// Fresh anonymous memory of `pages` writable pages, followed by `guard`
// pages that may not be touched at all.
struct FreshMemory {
    explicit FreshMemory(size_t pages, size_t guard = 0) : size((pages + guard) * kPage)
    {
        void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) throw std::runtime_error("mmap failed");
        base = static_cast<char*>(p);
        if (guard) mprotect(base + pages * kPage, guard * kPage, PROT_NONE);
    }
    ~FreshMemory() { munmap(base, size); }
    FreshMemory(const FreshMemory&) = delete;
    FreshMemory& operator=(const FreshMemory&) = delete;
    char* base;
    size_t size;
};

// Gives every vector memory of its own, fresh from the system, whatever
// the allocator of the process has freed before.
template <class T>
struct FreshAllocator {
    using value_type = T;
    FreshAllocator() = default;
    template <class U>
    FreshAllocator(const FreshAllocator<U>&)
    {
    }
    T* allocate(size_t n)
    {
        void* p = mmap(nullptr, n * sizeof(T), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, size_t n) { munmap(p, n * sizeof(T)); }
    bool operator==(const FreshAllocator&) const { return true; }
};

// Where the kernel cannot map memory ahead (before 5.14), every page is
// mapped on first touch as before, and there is nothing to see.
bool kernelMapsAhead()
{
#ifdef MADV_POPULATE_WRITE
    FreshMemory probe(1);
    return madvise(probe.base, kPage, MADV_POPULATE_WRITE) == 0;
#else
    return false;
#endif
}

TEST(MappedAhead, TheRangeAskedForIsResidentAfterwardsWithItsContentAndNoMore)
{
    if (!kernelMapsAhead()) GTEST_SKIP() << "this kernel maps pages on first touch only";
    FreshMemory memory(32);
    std::strcpy(memory.base + 100, "kept");
    const size_t before = residentPages(memory.base, memory.base + memory.size);
    EXPECT_EQ(before, 1u);

    // From the middle of the first page to the middle of the eleventh.
    mapForWriting(memory.base + 100, 10 * kPage);
    EXPECT_EQ(residentPages(memory.base, memory.base + 11 * kPage), 11u);
    EXPECT_EQ(residentPages(memory.base + 11 * kPage, memory.base + memory.size), 0u);
    EXPECT_STREQ(memory.base + 100, "kept");
    for (size_t i = 104 + 1; i < 11 * kPage; ++i) ASSERT_EQ(memory.base[i], 0) << "at " << i;
    mapForWriting(memory.base + 20 * kPage, 0);
    EXPECT_FALSE(resident(memory.base + 20 * kPage));
}

TEST(MappedAhead, MappingStopsWhereTheMemoryEndsAndLooksBackNever)
{
    if (!kernelMapsAhead()) GTEST_SKIP() << "this kernel maps pages on first touch only";
    FreshMemory memory(8, 8);  // eight writable pages, then eight that may not be touched
    const size_t stretch = 16 * 1024;
    MappedAhead ahead(stretch);
    const char* nearEnd = memory.base + 7 * kPage + 16;
    ahead.after(nearEnd);  // its stretch runs into the guard pages
    EXPECT_TRUE(resident(nearEnd));
    // An allocation below the mapped stretch maps nothing more.
    ahead.after(memory.base + kPage);
    EXPECT_FALSE(resident(memory.base + kPage));

    MappedAhead fresh(stretch);
    fresh.after(memory.base + kPage);
    const size_t stretchPages = stretch / kPage;
    EXPECT_EQ(residentPages(memory.base + kPage, memory.base + (1 + stretchPages) * kPage), stretchPages);
}

TEST(MappedAhead, AGrowingVectorsRoomIsMappedAStretchAheadAndFollowedWhenItMoves)
{
    if (!kernelMapsAhead()) GTEST_SKIP() << "this kernel maps pages on first touch only";
    using Ports = std::vector<Port, FreshAllocator<Port>>;
    const size_t stretch = 64 * 1024;
    Ports ports;
    ports.reserve(8 * stretch / sizeof(Port));
    auto endOf = [](const Ports& v) { return reinterpret_cast<const char*>(v.data() + v.size()); };
    MappedAhead ahead(stretch);
    ports.push_back({"A", velmorn::PortMode::In, " bit"});
    ahead.after(ports);
    EXPECT_TRUE(resident(endOf(ports) + stretch - 1));
    const char* far = endOf(ports) + 4 * stretch;
    EXPECT_FALSE(resident(far));

    // Filled past the stretch: the next one is mapped once the end passes it.
    const char* firstStretchEnd = endOf(ports) + stretch;
    EXPECT_FALSE(resident(firstStretchEnd + 2 * kPage));
    while (endOf(ports) <= firstStretchEnd) {
        ports.push_back({"B", velmorn::PortMode::Out, " bit"});
        ahead.after(ports);
    }
    EXPECT_TRUE(resident(endOf(ports) + stretch - 1));
    EXPECT_FALSE(resident(endOf(ports) + stretch + 2 * kPage));
    EXPECT_FALSE(resident(far));

    // Moved: the new room is mapped from the new end.
    ports.reserve(ports.capacity() * 2);
    ports.push_back({"C", velmorn::PortMode::In, " bit"});
    ahead.after(ports);
    EXPECT_TRUE(resident(endOf(ports) + stretch - 1));
    EXPECT_EQ(ports.front().name, "A");
    EXPECT_EQ(ports.back().name, "C");
}

}  // namespace
