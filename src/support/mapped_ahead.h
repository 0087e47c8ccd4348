// Memory that is about to be written, mapped in one call instead of page by
// page on first touch. A fault on a fresh page costs about ten microseconds
// on the virtual machines measured, mapping it ahead about one: a run on
// 10,000 ports touches some 700 fresh pages.
#pragma once

#include <cstddef>
#include <vector>

namespace velmorn {

// Maps the pages of [from, from + bytes) for writing, where the system can;
// otherwise they are mapped on first touch as before. The range must lie in
// writable memory of this process (one allocation).
void mapForWriting(const void* from, size_t bytes);

// Maps the room of `v` beyond its elements (its reserved capacity).
template <class T>
void mapCapacity(const std::vector<T>& v)
{
    mapForWriting(v.data() + v.size(), (v.capacity() - v.size()) * sizeof(T));
}

// Keeps memory that is written from low addresses to high mapped a stretch
// ahead of where the writing has got to: the room of a vector that grows
// element by element, or the fresh memory from which the allocator hands out
// a run of small allocations at rising addresses. after() is called as the
// writing goes on. A point within the stretch already mapped changes
// nothing; mapping stops at the end of the memory (a vector's room, or where
// the allocator's memory ends).
class MappedAhead {
public:
    explicit MappedAhead(size_t stretch) : stretch_(stretch) {}

    // Writing has got to `at`, in the memory `memory` that ends at `end`
    // (null: where the system's mapping ends). Other memory than before (a
    // vector that outgrew its room and moved) is mapped from `at` on.
    void after(const void* at, const void* end = nullptr, const void* memory = nullptr)
    {
        const char* from = static_cast<const char*>(at);
        if (memory == memory_ && from <= mappedTo_) return;
        const char* limit = static_cast<const char*>(end);
        const char* to = limit && limit - from < static_cast<std::ptrdiff_t>(stretch_) ? limit : from + stretch_;
        mapForWriting(from, static_cast<size_t>(to - from));
        memory_ = memory;
        mappedTo_ = to;
    }
    // After an element is added to `v`.
    template <class T, class Allocator>
    void after(const std::vector<T, Allocator>& v)
    {
        after(v.data() + v.size(), v.data() + v.capacity(), v.data());
    }

private:
    size_t stretch_;
    const void* memory_ = nullptr;
    const char* mappedTo_ = nullptr;
};

}  // namespace velmorn
