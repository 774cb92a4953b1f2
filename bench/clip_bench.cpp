// Clips: frames of a 20 x 20 world at 100 % replayed and drawn into memory, one per event
// (as a clip draws them, only the cells that changed, and each drawn whole), and a whole
// 1,000-event clip encoded to MP4.
#include "bench_records.h"

#include "clips/clip_frames.h"
#include "clips/ui/clip_canvas.h"
#include "clips/ui/clip_job.h"
#include "replay/session.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace kx;

namespace {

std::optional<ClipRecord> loadClipRecord(int events) {
    RecordedMessages messages;
    ReplaySession session(messages);
    if (session.openRecord(bench::generatedLog(events, 20, 20), RecordFormat::EventLog) !=
        LoadStatus::Loaded)
        return std::nullopt;
    return clipRecordOf(session);
}

void clipFrames20(benchmark::State& bench, bool whole) {
    const auto record = loadClipRecord(10'000);
    if (!record) {
        bench.SkipWithError("the record did not load");
        return;
    }
    ClipSettings settings;
    auto frames = std::make_unique<ClipFrames>(*record, record->firstEvent,
                                               record->eventCount() - 1, FramePace::Event);
    frames->next();
    auto canvas =
        std::make_unique<ClipCanvas>(frames->world(), record->gridSize, record->players, settings,
                                     QApplication::palette(), QApplication::font());
    for (auto _ : bench) {
        if (whole)
            canvas->forgetDrawn();
        benchmark::DoNotOptimize(canvas->draw().constBits());
        if (!frames->next()) { // the record's end: start again
            bench.PauseTiming();
            frames = std::make_unique<ClipFrames>(*record, record->firstEvent,
                                                  record->eventCount() - 1, FramePace::Event);
            frames->next();
            canvas = std::make_unique<ClipCanvas>(frames->world(), record->gridSize,
                                                  record->players, settings,
                                                  QApplication::palette(), QApplication::font());
            bench.ResumeTiming();
        }
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK_CAPTURE(clipFrames20, changedCells, false)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(clipFrames20, whole, true)->Unit(benchmark::kMicrosecond)->UseRealTime();

void clipMp4_1000(benchmark::State& bench) {
    const auto record = loadClipRecord(1'000);
    QTemporaryDir dir;
    if (!record || !dir.isValid()) {
        bench.SkipWithError("the record did not load");
        return;
    }
    ClipSettings settings;
    settings.from = record->firstEvent;
    settings.to = record->firstEvent + 999;
    settings.caption = true;
    for (auto _ : bench) {
        ClipJob job(*record, settings, ClipFormat::Mp4, QApplication::palette(),
                    QApplication::font());
        const ClipOutcome outcome = job.write(dir.filePath(QStringLiteral("clip.mp4")));
        if (!outcome.error.isEmpty() || outcome.frames != 1000)
            bench.SkipWithError("the clip was not written");
    }
}
BENCHMARK(clipMp4_1000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
