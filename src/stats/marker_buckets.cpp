#include "marker_buckets.h"

#include <algorithm>

namespace kx {

int markerColumn(int32_t event, int32_t first, int32_t last, int columns) {
    if (columns <= 0 || last <= first)
        return 0;
    const int64_t at = int64_t{event - first} * (columns - 1) / (last - first);
    return static_cast<int>(std::clamp<int64_t>(at, 0, columns - 1));
}

int32_t eventOfColumn(int column, int32_t first, int32_t last, int columns) {
    if (columns <= 1 || last <= first)
        return first;
    const int64_t at =
        first + (int64_t{column} * (last - first) + (columns - 1) / 2) / (columns - 1);
    return static_cast<int32_t>(std::clamp<int64_t>(at, first, last));
}

std::vector<uint8_t> markerBuckets(const std::vector<TimelineMarker>& markers,
                                   const MarkerFilter& filter,
                                   const std::vector<int32_t>& bookmarks, int32_t first,
                                   int32_t last, int columns) {
    std::vector<uint8_t> buckets(static_cast<size_t>(std::max(0, columns)), 0);
    if (columns <= 0)
        return buckets;
    for (const TimelineMarker& m : markers)
        if (m.event >= first && m.event <= last && filter.accepts(m))
            buckets[static_cast<size_t>(markerColumn(m.event, first, last, columns))] |=
                static_cast<uint8_t>(1u << static_cast<int>(m.kind));
    for (const int32_t event : bookmarks)
        if (event >= first && event <= last)
            buckets[static_cast<size_t>(markerColumn(event, first, last, columns))] |= kBookmarkBit;
    return buckets;
}

} // namespace kx
