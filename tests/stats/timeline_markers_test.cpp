#include "record_files.h"

#include "fields_owned.h"
#include "generated_log.h"
#include "records/time_stamp.h"
#include "replay/session.h"
#include "stats/marker_buckets.h"
#include "stats/world_figures.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

using namespace kx;

namespace {

using Mark = std::tuple<int32_t, MarkerKind, int>; // event, kind, player

// What a live replay shows at each step: the attack's sentence, the teams that fall, the
// fields counted anew, the day of the event's time stamp.
std::vector<Mark> marksOfALiveReplay(ReplaySession& session) {
    const MainState& state = session.state();
    std::vector<Mark> marks;
    int64_t day = (state.world.lastEventHour + 2) / 24; // local days; hour 0 is 02:00
    while (state.world.eventIndex < state.lvData.size()) {
        const int32_t event = state.world.eventIndex;
        const World before = state.world;
        session.Button1Click();
        const World& after = state.world;
        const int64_t eventDay = (after.lastEventHour + 2) / 24;
        if (eventDay > day)
            marks.emplace_back(event, MarkerKind::DayStart, -1);
        day = eventDay;
        for (const QString& line : state.info) {
            if (!line.startsWith(QString::fromUtf8("Útok z políčka")))
                continue;
            marks.emplace_back(event,
                               line.contains(QString::fromUtf8("byl úspěšný"))
                                   ? MarkerKind::AttackWon
                                   : MarkerKind::AttackLost,
                               -2); // attacks are compared by kind
        }
        for (int p = 0; p < after.playerCount(); ++p) {
            const bool fell = before.playerTable[size_t(p)][Team] != kTeamDestroyed &&
                              after.playerTable[size_t(p)][Team] == kTeamDestroyed;
            if (fell)
                marks.emplace_back(event, MarkerKind::HqDestroyed, p);
            else if (fieldsOwned(before, p) > 0 && fieldsOwned(after, p) == 0)
                marks.emplace_back(event, MarkerKind::LastFieldLost, p);
        }
    }
    marks.emplace_back(state.lvData.size() - 1, MarkerKind::WorldEnd, -1);
    return marks;
}

} // namespace

// The markers of the quiet pass are what stepping through the record shows, kind by kind.
TEST(TimelineMarkers, GeneratedRecordsMarkWhatALiveReplayShows) {
    RecordFiles files;
    std::set<MarkerKind> seen;
    for (const uint64_t seed : {2u, 9u, 17u}) {
        const QString path = writeGeneratedLog(files, seed, 2500, 4, 8, 6);
        RecordedMessages messages;
        ReplaySession session(messages, QLocale::c());
        ASSERT_TRUE(session.loadRecord(path, RecordFormat::EventLog));
        const WorldFigures f = computeWorldFigures(session.state().lvData);
        ASSERT_TRUE(f.valid);
        std::vector<Mark> expected = marksOfALiveReplay(session);
        std::vector<Mark> found;
        for (const TimelineMarker& m : f.markers) {
            const bool attack = m.kind == MarkerKind::AttackWon || m.kind == MarkerKind::AttackLost;
            found.emplace_back(m.event, m.kind, attack ? -2 : m.player);
            seen.insert(m.kind);
        }
        auto order = [](std::vector<Mark>& v) { std::sort(v.begin(), v.end()); };
        order(expected);
        order(found);
        EXPECT_EQ(found, expected) << "seed " << seed;
    }
    for (MarkerKind kind : {MarkerKind::AttackWon, MarkerKind::AttackLost, MarkerKind::HqDestroyed,
                            MarkerKind::DayStart, MarkerKind::WorldEnd})
        EXPECT_TRUE(seen.count(kind)) << markerKindName(kind).toStdString();
}

// A player losing their last field with their HQ standing (a record in which the HQ's own
// field was lost earlier) is marked; the marks of an HQ that falls are not repeated.
TEST(TimelineMarkers, LastFieldLostWithTheHqStanding) {
    World world;
    world.allocateWorld(3, 1, 2);
    world.fieldGrid(0, 0) = 100 + 1; // A0: player 1's field, no HQ
    world.fieldGrid(1, 0) = 200 + 1; // B0: player 2's only field
    world.playerTable[1][Team] = kTeamLes;
    MarkerCollector collector(world);
    collector.before(world, 7, "2005-07-03-14-00-00; attack; A0; B0; 3; 1; 2;");
    world.fieldGrid(1, 0) = 100 + 6;
    collector.after(world);
    const std::vector<TimelineMarker> markers = collector.finish(7);
    ASSERT_EQ(markers.size(), 3u);
    EXPECT_EQ(std::tuple(markers[0].kind, markers[0].player, markers[0].other),
              std::tuple(MarkerKind::AttackWon, int16_t{0}, int16_t{1}));
    EXPECT_EQ(std::tuple(markers[1].kind, markers[1].player),
              std::tuple(MarkerKind::LastFieldLost, int16_t{1}));
    EXPECT_EQ(markers[2].kind, MarkerKind::WorldEnd);
}

TEST(TimelineMarkers, NavigationHonoursKindAndPlayer) {
    const std::vector<TimelineMarker> markers = {
        {10, MarkerKind::DayStart, -1, -1}, {10, MarkerKind::AttackWon, 0, 1},
        {20, MarkerKind::AttackLost, 2, 0}, {30, MarkerKind::HqDestroyed, 1, 0},
        {40, MarkerKind::WorldEnd, -1, -1},
    };
    MarkerFilter attacks;
    attacks.kinds = 1u << int(MarkerKind::AttackWon) | 1u << int(MarkerKind::AttackLost);
    MarkerFilter ofPlayer1;
    ofPlayer1.player = 1;
    const MarkerFilter all;
    struct Case {
        int32_t from;
        const MarkerFilter& filter;
        int32_t next, previous;
    } cases[] = {
        {0, all, 10, -1},       {10, all, 20, -1},       {25, all, 30, 20},
        {40, all, -1, 30},      {10, attacks, 20, -1},   {20, attacks, -1, 10},
        {0, ofPlayer1, 10, -1}, {10, ofPlayer1, 30, -1}, {35, ofPlayer1, -1, 30},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nextMarkerEvent(markers, c.from, c.filter), c.next) << c.from;
        EXPECT_EQ(previousMarkerEvent(markers, c.from, c.filter), c.previous) << c.from;
    }
    EXPECT_TRUE(isMarkedEvent(markers, 30, ofPlayer1));
    EXPECT_FALSE(isMarkedEvent(markers, 20, ofPlayer1));
}

// Every marker lands in the column of its event, whatever the number of events per column;
// a column's event is within a column's width of it.
TEST(TimelineMarkers, BucketsPutEachMarkerInItsColumn) {
    const std::vector<TimelineMarker> markers = {{4, MarkerKind::AttackWon, 0, 1},
                                                 {500, MarkerKind::DayStart, -1, -1},
                                                 {999, MarkerKind::WorldEnd, -1, -1}};
    const std::vector<uint8_t> buckets = markerBuckets(markers, MarkerFilter{}, {500}, 4, 999, 100);
    ASSERT_EQ(buckets.size(), 100u);
    EXPECT_EQ(buckets[0], 1u << int(MarkerKind::AttackWon));
    EXPECT_EQ(buckets[49], (1u << int(MarkerKind::DayStart)) | kBookmarkBit);
    EXPECT_EQ(buckets[99], 1u << int(MarkerKind::WorldEnd));
    EXPECT_EQ(std::count(buckets.begin(), buckets.end(), 0), 97);
    for (const int columns : {2, 100, 5000})
        for (const int32_t event : {4, 250, 777, 999})
            EXPECT_LE(
                std::abs(eventOfColumn(markerColumn(event, 4, 999, columns), 4, 999, columns) -
                         event),
                995 / (columns - 1) + 1);
}
