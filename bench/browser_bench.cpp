// The record browser's figures: listing a folder of 5,000 records and the summary of a
// long record.
#include "bench_records.h"

#include "browser/record_list.h"
#include "browser/record_summary.h"
#include "records/user_messages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace kx;

namespace {

// A folder of 5,000 small record files with names as the game writes them.
QString recordFolder() {
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        for (int i = 0; i < 5000; ++i) {
            const QString name = QStringLiteral("Mapa %1_%2-%3-2026.%4")
                                     .arg(i)
                                     .arg(1 + i % 28, 2, 10, QChar('0'))
                                     .arg(1 + i % 12, 2, 10, QChar('0'))
                                     .arg(i % 2 ? QStringLiteral("kxr") : QStringLiteral("kxr2"));
            QFile file(dir.filePath(name));
            if (file.open(QIODevice::WriteOnly))
                file.write("x\n");
        }
        made = true;
    }
    return dir.path();
}

void listFolderOf5000(benchmark::State& bench) {
    const QString folder = recordFolder();
    qsizetype rows = 0;
    for (auto _ : bench)
        rows = FillRecordList(folder).size();
    bench.counters["rows"] = double(rows);
}
BENCHMARK(listFolderOf5000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The summary of a record of bench::recordEvents() / `divisor` events: the same figure at three
// sizes shows how its cost grows.
void summaryOfRecord(benchmark::State& bench, bool xml, int64_t divisor) {
    const QString path = bench::generatedRecord(bench::recordEvents() / divisor, 20, 20, 8, xml);
    RecordedMessages messages;
    for (auto _ : bench) {
        const SummaryResult result = ShowRecordSummary(path, messages);
        if (result.status != SummaryStatus::Shown)
            bench.SkipWithError("no summary");
    }
}
BENCHMARK_CAPTURE(summaryOfRecord, kxr_10k, false, 100)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(summaryOfRecord, kxr_100k, false, 10)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(summaryOfRecord, kxr_1M, false, 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(summaryOfRecord, kxr2_10k, true, 100)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(summaryOfRecord, kxr2_100k, true, 10)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(summaryOfRecord, kxr2_1M, true, 1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
