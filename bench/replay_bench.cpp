// Replay speed on generated records: quiet replay and backward jumps.
#include "bench_records.h"

#include "replay/session.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace kx;

namespace {

struct LoadedSession {
    RecordedMessages messages;
    ReplaySession session{messages};
    explicit LoadedSession(int64_t events, int side = 20) {
        session.loadRecord(bench::generatedLog(events, side, side), RecordFormat::EventLog);
    }
    void replayQuietlyToEnd() { session.jumpTo(session.eventCount() - 1); }
};

// The replay engine on its own, without display, from the initial world to the end, in a world
// of side x side fields.
void quietReplayIn(benchmark::State& bench, int side) {
    LoadedSession loaded(bench::recordEvents(), side);
    const ReplaySession& session = loaded.session;
    World world;
    Replayer replayer(world, session.state().lvData, session.state().cbPlayers);
    QStringList silent;
    int64_t events = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        world = session.initialWorld();
        world.liveDisplay = 0;
        bench.ResumeTiming();
        while (!replayer.atEnd())
            replayer.step(silent);
        events += session.eventCount() - session.firstEventIndex();
    }
    bench.SetItemsProcessed(events);
}
void quietReplay(benchmark::State& bench) {
    quietReplayIn(bench, 20);
}
// The same in the largest world a header allows: a step must not cost more for its area.
void quietReplay1000(benchmark::State& bench) {
    quietReplayIn(bench, 1000);
}
BENCHMARK(quietReplay)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(quietReplay1000)->Unit(benchmark::kMillisecond)->UseRealTime();

void stepBackAtEnd(benchmark::State& bench, bool snapshots, int side = 20,
                   int64_t events = bench::recordEvents()) {
    LoadedSession loaded(events, side);
    loaded.session.setSnapshotsEnabled(snapshots);
    loaded.replayQuietlyToEnd();
    for (auto _ : bench) {
        loaded.session.stepBack(1);
        bench.PauseTiming();
        loaded.session.replayStep(); // back to the end for the next round
        bench.ResumeTiming();
    }
}
void stepBackWithSnapshots(benchmark::State& bench) {
    stepBackAtEnd(bench, true);
}
void stepBackRebuildAndReplay(benchmark::State& bench) {
    stepBackAtEnd(bench, false);
}
// In the largest world, where one copy of the world takes 8 MB: a short record (whose event
// list leaves room for one copy at most) and a long one.
void stepBack1000Short(benchmark::State& bench) {
    stepBackAtEnd(bench, true, 1000, bench::recordEvents() / 50);
}
void stepBack1000(benchmark::State& bench) {
    stepBackAtEnd(bench, true, 1000);
}
BENCHMARK(stepBackWithSnapshots)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(stepBack1000Short)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(stepBack1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(stepBackRebuildAndReplay)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace
