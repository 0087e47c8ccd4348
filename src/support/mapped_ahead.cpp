#include "support/mapped_ahead.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace velmorn {

void mapForWriting(const void* from, size_t bytes)
{
#ifdef MADV_POPULATE_WRITE
    if (bytes == 0) return;
    static const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t start = reinterpret_cast<uintptr_t>(from) & ~(page - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(from) + bytes + page - 1) & ~(page - 1);
    // Fails on kernels before 5.14 (EINVAL): the pages are then mapped on first touch.
    (void)madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
#else
    (void)from;
    (void)bytes;
#endif
}

}  // namespace velmorn
