// The viewer's figures, offscreen: one live step forward with its sentences, labels and the
// repaint of the cells it touched, and repainting the visible part of a small and a large
// world, at 100 % and zoomed (repaintZoom<percent>_<side>).
#include "bench_records.h"

#include "app/ui/main_window.h"
#include "mapview/ui/map_grid.h"
#include "mapview/ui/map_overview.h"
#include "mapview/ui/session_map_source.h"
#include "replay/session.h"

#include <QApplication>
#include <QPushButton>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

using namespace kx;

namespace {

int64_t recordEvents(int64_t full) {
    if (const char* text = std::getenv("KX_BENCH_EVENTS"))
        return std::min<int64_t>(full, std::atoll(text));
    return full;
}

// Clicks "-->" in a shown main window and lets the window paint what the step marked.
void liveStepForward(benchmark::State& bench) {
    TFMain window;
    window.resize(1100, 800);
    window.show();
    if (!window.openRecord(bench::generatedLog(recordEvents(100'000), 20, 20))) {
        bench.SkipWithError("the record did not load");
        return;
    }
    QApplication::processEvents();
    auto* forward = window.findChild<QPushButton*>(QStringLiteral("Button1"));
    ReplaySession& session = window.session();
    const qsizetype n = session.state().lvData.size();
    for (auto _ : bench) {
        if (session.state().world.eventIndex >= n - 1) {
            bench.PauseTiming();
            session.stepBack(int(n / 2));
            QApplication::processEvents();
            bench.ResumeTiming();
        }
        forward->click();
        QApplication::processEvents();
    }
}
BENCHMARK(liveStepForward)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Repaints the whole viewport of a map grid of a fixed size showing a world of side x side,
// scrolled to its middle, at a zoom; with `scroll`, each repaint follows a scroll by one cell
// (zoomed out, the whole view is then drawn afresh).
void repaintVisible(benchmark::State& bench, int side, int zoom = 100, bool scroll = false) {
    RecordedMessages messages;
    ReplaySession session(messages);
    if (!session.loadRecord(bench::generatedLog(recordEvents(10'000), side, side),
                            RecordFormat::EventLog)) {
        bench.SkipWithError("the record did not load");
        return;
    }
    {
        MapGrid grid;
        grid.setSource(std::make_unique<SessionMapSource>(session));
        grid.resize(460, 460);
        grid.show();
        grid.setZoom(zoom);
        grid.centreOn(QPointF(side / 2.0, side / 2.0));
        QApplication::processEvents();
        bench.counters["scrollBars"] =
            grid.horizontalScrollBar()->isVisible() && grid.verticalScrollBar()->isVisible();
        QScrollBar* bar = grid.verticalScrollBar();
        int step = bar->singleStep();
        for (auto _ : bench) {
            if (scroll) {
                step = -step;
                bar->setValue(bar->value() + step);
            }
            grid.viewport()->repaint();
        }
        grid.setSource(nullptr);
    }
}
void repaintVisible20(benchmark::State& bench) {
    repaintVisible(bench, 20);
}
void repaintVisible200(benchmark::State& bench) {
    repaintVisible(bench, 200);
}
BENCHMARK(repaintVisible20)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(repaintVisible200)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Colours the overview of a 1000 x 1000 world afresh and paints it, as after a load or a jump
// (a step recolours only the cells it changed).
void overviewAfresh1000(benchmark::State& bench) {
    RecordedMessages messages;
    ReplaySession session(messages);
    if (!session.loadRecord(bench::generatedLog(recordEvents(10'000), 1000, 1000),
                            RecordFormat::EventLog)) {
        bench.SkipWithError("the record did not load");
        return;
    }
    {
        MapGrid grid;
        grid.setSource(std::make_unique<SessionMapSource>(session));
        MapOverview overview(grid);
        overview.resize(200, 200);
        overview.show();
        QApplication::processEvents();
        for (auto _ : bench) {
            grid.redrawMap();
            overview.repaint();
        }
        grid.setSource(nullptr);
    }
}
BENCHMARK(overviewAfresh1000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (int side : {20, 1000})
        for (int zoom : {25, 100, 400}) {
            const std::string name =
                "repaintZoom" + std::to_string(zoom) + "_" + std::to_string(side);
            benchmark::RegisterBenchmark(
                name.c_str(),
                [side, zoom](benchmark::State& bench) { repaintVisible(bench, side, zoom); })
                ->Unit(benchmark::kMicrosecond)
                ->UseRealTime();
        }
    benchmark::RegisterBenchmark(
        "scrollZoom25_1000", [](benchmark::State& bench) { repaintVisible(bench, 1000, 25, true); })
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
