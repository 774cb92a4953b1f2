// The timeline's markers: a million events and a hundred thousand markers spread over the
// strip's pixel columns and painted, as one repaint of the strip does.
#include "replay/ui/marker_strip.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <random>

using namespace kx;

namespace {

void paintTimelineMarkers(benchmark::State& state) {
    constexpr int32_t kEvents = 1'000'000;
    constexpr int kMarkers = 100'000;
    std::mt19937 random(20261208u);
    std::vector<TimelineMarker> markers;
    for (int i = 0; i < kMarkers; ++i)
        markers.push_back({static_cast<int32_t>(int64_t{i} * kEvents / kMarkers),
                           static_cast<MarkerKind>(random() % kMarkerKindCount),
                           static_cast<int16_t>(random() % 30), -1});
    std::vector<int32_t> bookmarks{1000, 500'000, 999'000};
    QImage strip(1200, 12, QImage::Format_ARGB32_Premultiplied);
    const MarkerFilter filter;
    for (auto _ : state) {
        const std::vector<uint8_t> buckets =
            markerBuckets(markers, filter, bookmarks, 0, kEvents - 1, strip.width());
        QPainter painter(&strip);
        paintMarkerBuckets(painter, strip.rect(), buckets);
    }
    state.counters["markers"] = kMarkers;
}

} // namespace

BENCHMARK(paintTimelineMarkers)->Unit(benchmark::kMicrosecond)->UseRealTime();
