// The record library's searches over a large index, on SQLite and on a PostgreSQL server of
// the benchmark's own. The index is filled with generated entries (KX_BENCH_LIBRARY_RECORDS,
// default 100,000 records of eight players from a pool of 200 names).

#include "postgres_server.h"

#include "library/library.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <cstdlib>
#include <map>
#include <random>

using namespace kx;

namespace {

int recordCount() {
    if (const char* text = std::getenv("KX_BENCH_LIBRARY_RECORDS"))
        return std::atoi(text);
    return 100'000;
}

std::vector<RecordEntry> generatedEntries(int first, int count) {
    std::mt19937 random(20261208u + static_cast<unsigned>(first));
    std::vector<RecordEntry> entries;
    for (int i = first; i < first + count; ++i) {
        RecordEntry e;
        e.path = QStringLiteral("/archiv/%1/Mapa%2_2026-%3-%4.kxr")
                     .arg(i / 1000)
                     .arg(i % 37)
                     .arg(1 + i % 12, 2, 10, QChar(u'0'))
                     .arg(1 + i % 28, 2, 10, QChar(u'0'));
        e.size = 60000 + i;
        e.modified = 1'790'000'000'000 + i;
        e.hash = QString::number(i, 16).rightJustified(40, u'0');
        e.format = QStringLiteral("kxr");
        e.map = QStringLiteral("Mapa%1").arg(i % 37);
        e.date = QStringLiteral("2026-%1-%2")
                     .arg(1 + i % 12, 2, 10, QChar(u'0'))
                     .arg(1 + i % 28, 2, 10, QChar(u'0'));
        e.world = e.map;
        e.width = e.height = 20;
        e.speed = 4;
        e.limit = 8;
        e.events = 2000;
        e.firstTime = e.date + QStringLiteral(" 09:00:00");
        e.lastTime = e.date + QStringLiteral(" 21:00:00");
        e.ended = random() % 2 == 0;
        e.winner = random() % 2 ? QStringLiteral("les") : QStringLiteral("louka");
        for (int p = 0; p < 8; ++p) {
            EntryPlayer player;
            player.name = QStringLiteral("Hráč%1").arg(random() % 200);
            player.team = p % 2 ? QStringLiteral("les") : QStringLiteral("louka");
            player.hq = QStringLiteral("A%1").arg(p);
            player.survivor = random() % 3 != 0;
            player.experience = player.survivor ? static_cast<int>(random() % 12000) : 0;
            player.kills = static_cast<int>(random() % 3);
            player.wins = static_cast<int>(random() % 20);
            player.nectar = static_cast<int>(random() % 5000);
            player.production = static_cast<int>(random() % 200);
            player.fields = static_cast<int>(random() % 40);
            e.players.push_back(std::move(player));
        }
        entries.push_back(std::move(e));
    }
    return entries;
}

// One filled library per engine, made on first use, closed before the program ends (Qt's
// database registry does not outlive main()).
std::map<bool, std::unique_ptr<Library>>& libraries() {
    static std::map<bool, std::unique_ptr<Library>> open;
    return open;
}

Library* filledLibrary(bool postgres) {
    static QTemporaryDir dir;
    auto& library = libraries()[postgres];
    if (library)
        return library.get();
    QString url = dir.path() + QStringLiteral("/bench.sqlite");
    if (postgres) {
        QString why;
        PostgresServer* server = PostgresServer::shared(&why);
        if (!server) {
            std::fprintf(stderr, "PostgreSQL: %s\n", qPrintable(why));
            return nullptr;
        }
        url = server->createDatabase(QStringLiteral("bench"));
    }
    QString error;
    library = Library::open(*parseLibraryLocation(url, &error), &error);
    if (!library) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return nullptr;
    }
    const int count = recordCount();
    for (int first = 0; first < count; first += 1000)
        if (!library->store(generatedEntries(first, std::min(1000, count - first)))) {
            std::fprintf(stderr, "%s\n", qPrintable(library->lastError()));
            library.reset();
            return nullptr;
        }
    library->analyze(); // as an indexing run ends
    library->refreshCareerTotals();
    return library.get();
}

void queryByPlayer(benchmark::State& state, bool postgres) {
    Library* library = filledLibrary(postgres);
    if (!library) {
        state.SkipWithError("no library");
        return;
    }
    RecordQuery query;
    query.player = QStringLiteral("hráč17");
    size_t found = 0;
    for (auto _ : state)
        found = library->query(query, false).size(); // as the window lists them
    state.counters["records"] = static_cast<double>(found);
}

void careers(benchmark::State& state, bool postgres) {
    Library* library = filledLibrary(postgres);
    if (!library) {
        state.SkipWithError("no library");
        return;
    }
    size_t players = 0;
    for (auto _ : state)
        players = library->careers().size();
    state.counters["players"] = static_cast<double>(players);
}

BENCHMARK_CAPTURE(queryByPlayer, SQLite, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(queryByPlayer, PostgreSQL, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(careers, SQLite, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(careers, PostgreSQL, true)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    libraries().clear();
    return 0;
}
