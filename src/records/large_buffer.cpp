#include "large_buffer.h"

#include <algorithm>
#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace kx {

void prepareLargeBuffer(QByteArray& buffer) {
    constexpr qsizetype kLarge = qsizetype{1} << 22;
    if (buffer.capacity() >= kLarge)
        prepareBufferRange(buffer, 0, buffer.capacity());
}

void prepareBufferRange(QByteArray& buffer, qsizetype from, qsizetype to) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    to = std::min(to, buffer.capacity());
    if (to <= from)
        return;
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    // Only whole pages inside the range; failure (an older kernel) is harmless.
    const auto begin = reinterpret_cast<uintptr_t>(buffer.data()) + uintptr_t(from);
    const uintptr_t end = begin + uintptr_t(to - from);
    const uintptr_t first = (begin + page - 1) & ~(page - 1);
    const uintptr_t last = end & ~(page - 1);
    if (last > first)
        // NOLINTNEXTLINE(performance-no-int-to-ptr): the page-aligned part of the buffer
        madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
#else
    (void)buffer;
    (void)from;
    (void)to;
#endif
}

} // namespace kx
