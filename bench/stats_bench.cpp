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

// Of a record of recordEvents() / `divisor` events, 30 players on 20 x 20 fields.
void figuresOrQuiet(benchmark::State& bench, int64_t divisor, bool figures) {
    const int64_t events = bench::recordEvents() / divisor;
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

BENCHMARK_CAPTURE(figuresOrQuiet, quiet_10k, 100, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(figuresOrQuiet, figures_10k, 100, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(figuresOrQuiet, quiet_100k, 10, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(figuresOrQuiet, figures_100k, 10, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(figuresOrQuiet, quiet_1M, 1, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(figuresOrQuiet, figures_1M, 1, true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
