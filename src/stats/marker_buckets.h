#pragma once

#include "timeline_markers.h"

#include <cstdint>
#include <vector>

namespace kx {

// Bit of a bucket that holds a bookmark, above the markers' kinds.
inline constexpr uint8_t kBookmarkBit = 1u << kMarkerKindCount;

// The markers (and bookmarks) of events first..last spread over `columns` columns of pixels:
// per column the kinds found there, one bit per kind, kBookmarkBit for a bookmark. Drawing
// then costs the same for a thousand markers as for a million.
std::vector<uint8_t> markerBuckets(const std::vector<TimelineMarker>& markers,
                                   const MarkerFilter& filter,
                                   const std::vector<int32_t>& bookmarks, int32_t first,
                                   int32_t last, int columns);

// The column of an event and the event of a column, on the same scale.
int markerColumn(int32_t event, int32_t first, int32_t last, int columns);
int32_t eventOfColumn(int column, int32_t first, int32_t last, int columns);

} // namespace kx
