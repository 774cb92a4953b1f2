#include "record_files.h"

#include "fields_owned.h"
#include "generated_log.h"
#include "records/time_stamp.h"
#include "replay/production.h"
#include "replay/session.h"
#include "stats/figure_cache.h"
#include "stats/world_figures.h"

#include <gtest/gtest.h>

using namespace kx;

namespace {

// Two players; a buy at 15:10 and 15:20, nothing at 16:00, one at 17:30 (N = 7).
QStringList smallRecord() {
    return {
        QString::fromUtf8("2005-07-03-14-00-00; Louka; 2; 4; 3; 4;"),
        QString::fromUtf8("2005-07-03-14-00-00; create_world; NNNNNBNNNNSN;"),
        QString::fromUtf8("2005-07-03-14-01-00; create_hq; Pepa; louka; A0;"),
        QString::fromUtf8("2005-07-03-14-02-00; create_hq; Jana; les; D2;"),
        QString::fromUtf8("2005-07-03-15-10-00; buy; A0; komár; 1;"),
        QString::fromUtf8("2005-07-03-15-20-00; buy; A0; komár; 2;"),
        QString::fromUtf8("2005-07-03-17-30-00; attack; A0; B0; 3; 1; 2;"),
    };
}

struct Loaded {
    RecordedMessages messages;
    ReplaySession session{messages, QLocale::c()};
    bool load(const QString& path) { return session.loadRecord(path, RecordFormat::EventLog); }
};

QString generated(RecordFiles& files, uint64_t seed, int events, int players) {
    return writeGeneratedLog(files, seed, events, players, 14, 11);
}

// The row holds what the replayed world shows for every player.
void expectRowIsWorld(const WorldFigures& f, int row, const World& world, const char* where) {
    for (int p = 0; p < f.playerCount(); ++p) {
        const PlayerRecord& record = world.playerTable[static_cast<size_t>(p)];
        EXPECT_EQ(f.value(row, p, Figure::Nectar), record[Nectar]) << where << " row " << row;
        EXPECT_EQ(f.value(row, p, Figure::Moves), record[Moves]) << where << " row " << row;
        EXPECT_EQ(f.value(row, p, Figure::Territory), fieldsOwned(world, p))
            << where << " row " << row;
        EXPECT_EQ(f.value(row, p, Figure::Production), hourlyProduction(world, p))
            << where << " row " << row;
    }
}

// Steps a live session through the record and checks every row at the hour boundaries: the
// world just before the first event of a new hour is the state at the end of the last one.
void expectRowsMatchStepping(const WorldFigures& f, ReplaySession& session) {
    const MainState& state = session.state();
    ASSERT_EQ(f.hoursPerRow, 1);
    int row = 0;
    int64_t hour = 0;
    while (state.world.eventIndex < state.lvData.size()) {
        const EventItem event = state.lvData.item(state.world.eventIndex);
        const auto time = readTimeStamp(event.subItem(0));
        const int32_t recounts = recountsBetween(state.world.lastEventHour,
                                                 time ? time->hour : state.world.lastEventHour);
        if (recounts > 0) {
            ASSERT_LT(row, f.rowCount());
            EXPECT_EQ(f.rowHours[static_cast<size_t>(row)], hour);
            expectRowIsWorld(f, row, state.world, "boundary");
            ++row;
            hour += recounts;
        }
        session.Button1Click();
    }
    ASSERT_EQ(row + 1, f.rowCount());
    EXPECT_EQ(f.rowHours.back(), hour);
    expectRowIsWorld(f, row, state.world, "end");
}

} // namespace

TEST(WorldFigures, SmallRecordHasOneRowPerHourWithEvents) {
    RecordFiles files;
    Loaded loaded;
    ASSERT_TRUE(loaded.load(files.write("r.kxr", smallRecord())));
    const WorldFigures f = computeWorldFigures(loaded.session.state().lvData);
    ASSERT_TRUE(f.valid);
    ASSERT_EQ(f.playerCount(), 2);
    EXPECT_EQ(f.players[0].name, "Pepa");
    EXPECT_EQ(f.players[1].entry, "Jana (les)");
    EXPECT_FALSE(f.players[0].les);
    EXPECT_TRUE(f.players[1].les);
    EXPECT_EQ(f.eventCount, 3);

    // Hour 0 (14:00, no event), hour 1 (15:00, two buys), hour 3 (17:00, the attack); hour 2
    // saw no event and has no row.
    ASSERT_EQ(f.rowHours, (std::vector<int64_t>{0, 1, 3}));
    EXPECT_EQ(f.rowTimes[0], "2005-07-03-14-02-00");
    EXPECT_EQ(f.rowTimes[1], "2005-07-03-15-10-00");
    EXPECT_EQ(f.rowTimes[2], "2005-07-03-17-30-00");
    // The initial world, then after the buys: one recount (+4 moves, +12 nectar), three
    // komár for 6 nectar and two moves.
    EXPECT_EQ(f.value(0, 0, Figure::Nectar), 500);
    EXPECT_EQ(f.value(0, 0, Figure::Moves), 15);
    EXPECT_EQ(f.value(0, 0, Figure::Territory), 1);
    EXPECT_EQ(f.value(1, 0, Figure::Nectar), 500 + 12 - 6);
    EXPECT_EQ(f.value(1, 0, Figure::Moves), 15 + 4 - 2);
    EXPECT_EQ(f.value(1, 1, Figure::Nectar), 512);
    // Two more recounts, then Pepa takes B0 (normal ground, attack cost 5).
    EXPECT_EQ(f.value(2, 0, Figure::Territory), 2);
    EXPECT_EQ(f.value(2, 0, Figure::Production), 24);
    EXPECT_EQ(f.value(2, 0, Figure::Nectar), 506 + 24);
    EXPECT_EQ(f.value(2, 0, Figure::Moves), 17 + 8 - 5);

    // The end of the world as its summary sees it.
    ASSERT_EQ(f.endRows.size(), 2u);
    EXPECT_EQ(f.endRows[0][ResultFields], 2);
    EXPECT_EQ(f.endRows[0][ResultWins], 1);
    EXPECT_EQ(f.winningTeam, "les");
}

TEST(WorldFigures, GeneratedRecordsMatchAStepByStepReplay) {
    RecordFiles files;
    for (const uint64_t seed : {3u, 11u}) {
        const QString path = generated(files, seed, 1500, 5);
        Loaded pass;
        ASSERT_TRUE(pass.load(path));
        // A session in the middle of a replay is left where it stands.
        pass.session.Button2Click();
        const int32_t position = pass.session.state().world.eventIndex;
        const WorldFigures f = computeWorldFigures(pass.session.state().lvData);
        EXPECT_EQ(pass.session.state().world.eventIndex, position);
        ASSERT_TRUE(f.valid);
        EXPECT_GT(f.rowCount(), 10);

        Loaded stepped;
        ASSERT_TRUE(stepped.load(path));
        expectRowsMatchStepping(f, stepped.session);
        EXPECT_EQ(f.endRows, resultRows(stepped.session.state().world));
        stepped.session.Button1Click();
        EXPECT_EQ(stepped.session.state().summary.first(),
                  QString::fromUtf8("Svět skončil. Vyhrál typ ") + f.winningTeam + u'.');
    }
}

TEST(WorldFigures, LongRecordsMergeHoursAndKeepTheStateAtTheirEnd) {
    // One event an hour for more hours than rows are kept: rows of two hours each.
    QStringList lines = smallRecord().mid(0, 4);
    const int32_t start = 1'110'196'800; // 2005-03-07 14:00 local
    const int hours = kMaxFigureRows + 500;
    for (int h = 1; h <= hours; ++h)
        lines << QString::fromLatin1(timeTextFromUnix(start + h * 3600)) +
                     QStringLiteral("; buy; A0; komár; 1;");
    RecordFiles files;
    Loaded loaded;
    ASSERT_TRUE(loaded.load(files.write("long.kxr", lines)));
    const WorldFigures f = computeWorldFigures(loaded.session.state().lvData);
    ASSERT_TRUE(f.valid);
    EXPECT_EQ(f.hoursPerRow, 2);
    EXPECT_LE(f.rowCount(), kMaxFigureRows);
    for (int r = 1; r < f.rowCount(); ++r)
        EXPECT_EQ(f.rowHours[static_cast<size_t>(r)] - f.rowHours[static_cast<size_t>(r - 1)], 2);
    // Every buy costs a move and two nectar; each recount gives 4 moves (up to 96) and 12
    // nectar. The row of hours 2k and 2k + 1 ends after the buy of hour 2k + 1.
    const int row = 100;
    const int64_t lastHour = f.rowHours[row] + 1;
    EXPECT_EQ(f.value(row, 0, Figure::Nectar), 500 + lastHour * (12 - 2));
    EXPECT_EQ(f.value(row, 1, Figure::Nectar), 500 + lastHour * 12);
    EXPECT_EQ(f.value(row, 0, Figure::Moves), 95);
    expectRowIsWorld(
        f, f.rowCount() - 1,
        [&] {
            loaded.session.Button2Click();
            while (loaded.session.state().world.eventIndex < loaded.session.state().lvData.size())
                loaded.session.replayStep();
            return loaded.session.state().world;
        }(),
        "end");
}

TEST(WorldFigures, DamagedAndHostileRecords) {
    RecordFiles files;
    // No world header: no figures.
    EventList none;
    none.append("2005-07-03-14-00-00; buy; A0; komár; 1; ");
    EXPECT_FALSE(computeWorldFigures(none).valid);
    EXPECT_FALSE(computeWorldFigures(EventList()).valid);

    // Unreadable times, events going back in time, events off the map and unknown players:
    // the hours never fall and the pass reaches the end.
    QStringList lines = smallRecord();
    lines << "bad-time; buy; A0; komár; 1;"
          << "2005-07-03-16-00-00; buy; A0; komár; 1;"
          << "2005-07-03-19-00-00; move; Z99; A0; 5;"
          << "2005-07-03-19-00-00; trade; Nikdo; Pepa; 100;"
          << "2005-07-03-20-00-00; convert_gnd; D2; S;"
          << "2005-07-03-20-00-00; attack; B0; D2; 2; 1; 1;";
    Loaded loaded;
    ASSERT_TRUE(loaded.load(files.write("h.kxr", lines)));
    const WorldFigures f = computeWorldFigures(loaded.session.state().lvData);
    ASSERT_TRUE(f.valid);
    for (int r = 1; r < f.rowCount(); ++r)
        EXPECT_GT(f.rowHours[static_cast<size_t>(r)], f.rowHours[static_cast<size_t>(r - 1)]);
    // Jana's HQ fell: she owns nothing at the end and did not finish.
    EXPECT_EQ(f.value(f.rowCount() - 1, 1, Figure::Territory), 0);
    EXPECT_FALSE(isSurvivor(f.endRows[1]));
}

TEST(WorldFigures, ProgressIsReportedAndCanCancel) {
    RecordFiles files;
    Loaded loaded;
    ASSERT_TRUE(loaded.load(generated(files, 5, 20000, 3)));
    std::vector<int> seen;
    const WorldFigures all = computeWorldFigures(loaded.session.state().lvData, [&](int p) {
        seen.push_back(p);
        return true;
    });
    EXPECT_TRUE(all.valid);
    ASSERT_GT(seen.size(), 2u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 100);

    const WorldFigures stopped =
        computeWorldFigures(loaded.session.state().lvData, [](int p) { return p < 30; });
    EXPECT_FALSE(stopped.valid);
    EXPECT_TRUE(stopped.cancelled);
}

TEST(FigureCache, ComputesOncePerRecord) {
    RecordFiles files;
    const QString first = generated(files, 7, 800, 3);
    const QString second = generated(files, 8, 800, 3);
    Loaded loaded;
    ASSERT_TRUE(loaded.load(first));
    const ReplaySession& state = loaded.session;

    FigureCache cache;
    EXPECT_FALSE(cache.isCurrent(state));
    const int rows = cache.figures(state).rowCount();
    EXPECT_EQ(cache.computations(), 1);
    // Stepping, jumping back and selecting players keep the record.
    loaded.session.Button2Click();
    loaded.session.Button6Click();
    loaded.session.selectPlayer(1);
    EXPECT_TRUE(cache.isCurrent(state));
    EXPECT_EQ(cache.figures(state).rowCount(), rows);
    EXPECT_EQ(cache.computations(), 1);

    // Another record, and a reload of the same one, are new records.
    ASSERT_TRUE(loaded.load(second));
    EXPECT_FALSE(cache.isCurrent(state));
    cache.figures(state);
    EXPECT_EQ(cache.computations(), 2);
    ASSERT_TRUE(loaded.load(second));
    cache.figures(state);
    EXPECT_EQ(cache.computations(), 3);
    cache.figures(state);
    EXPECT_EQ(cache.computations(), 3);

    // A cancelled pass is not kept; the empty result of no record is.
    cache.clear();
    cache.figures(state, [](int) { return false; });
    EXPECT_FALSE(cache.isCurrent(state));
    RecordedMessages messages;
    const ReplaySession empty(messages, QLocale::c());
    cache.figures(empty);
    cache.figures(empty);
    EXPECT_FALSE(cache.cached().valid);
    EXPECT_EQ(cache.computations(), 5);
}
