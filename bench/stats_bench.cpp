// The figures of a record (kxrtool stats --csv, the charts) against a quiet replay of the same
// record: the pass replays quietly too, and adds the hourly rows and the markers.
#include "bench_records.h"

#include "replay/replayer.h"
#include "replay/session.h"
#include "stats/figures_csv.h"
#include "stats/world_figures.h"

#include <benchmark/benchmark.h>

using namespace kx;

namespace {

void figuresOrQuiet(benchmark::State& bench, int64_t events, bool figures) {
    RecordedMessages messages;
    ReplaySession session{messages};
    session.loadRecord(bench::generatedRecord(events, 20, 20, 30, false), RecordFormat::EventLog);
    const EventList& list = session.state().lvData;
    for (auto _ : bench) {
        if (figures) {
            benchmark::DoNotOptimize(figuresCsv(computeWorldFigures(list)));
            continue;
        }
        World world = session.initialWorld();
        world.liveDisplay = 0;
        Replayer replayer(world, list, session.state().cbPlayers);
        QStringList silent;
        while (!replayer.atEnd())
            replayer.step(silent);
        benchmark::DoNotOptimize(world.eventIndex);
    }
    bench.SetItemsProcessed(bench.iterations() * events);
}

} // namespace

BENCHMARK_CAPTURE(figuresOrQuiet, quiet_10k, 10'000, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(figuresOrQuiet, figures_10k, 10'000, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(figuresOrQuiet, quiet_100k, 100'000, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(figuresOrQuiet, figures_100k, 100'000, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(figuresOrQuiet, quiet_1M, 1'000'000, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(figuresOrQuiet, figures_1M, 1'000'000, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
