#include "record_files.h"

#include "generated_log.h"
#include "replay/event_kind.h"
#include "replay/event_rows.h"
#include "replay/session.h"

#include "records/cell_address.h"

#include <gtest/gtest.h>

#include <random>

using namespace kx;

namespace {

QString generated(RecordFiles& files, uint64_t seed, int events, int players = 5) {
    return writeGeneratedLog(files, seed, events, players, 12, 10);
}

// The event's own sentences as a live step writes them into mInfo: without the recount line
// before them and the counter line after them.
QString sentenceOfLiveStep(const MainState& state) {
    QStringList lines = state.info;
    if (!lines.isEmpty() && lines.first().startsWith(QString::fromUtf8("Proveden")))
        lines.removeFirst();
    if (!lines.isEmpty())
        lines.removeLast(); // "Akce i z N"
    return lines.join(QLatin1Char(' '));
}

struct Loaded {
    RecordedMessages messages;
    ReplaySession session{messages, QLocale::c()};
    Loaded(const QString& path, int spacing = 0) {
        session.setSnapshotSpacing(spacing);
        EXPECT_TRUE(session.loadRecord(path, RecordFormat::EventLog));
    }
};

} // namespace

// The sentence of every row is the one a live step onto its event writes, whichever order
// the rows are asked in and wherever the replay stands meanwhile; the record has more blocks
// of sentences than the rows keep, so blocks dropped and replayed again are asked for too.
TEST(EventRows, SentencesAreThoseOfLiveSteps) {
    RecordFiles files;
    const QString path = generated(files, 41, 20000);
    Loaded stepping(path);
    QStringList expected;
    const int32_t n = stepping.session.eventCount();
    while (stepping.session.state().world.eventIndex < n) {
        stepping.session.Button1Click();
        expected << sentenceOfLiveStep(stepping.session.state());
    }

    Loaded viewer(path, 64);
    EventRows rows(viewer.session);
    ASSERT_EQ(rows.rowCount(), expected.size());
    std::mt19937 random(3);
    for (int round = 0; round < 300; ++round) {
        if (round % 50 == 0) // the session moves: its copies and world become starting points
            viewer.session.jumpTo(static_cast<int32_t>(random() % n));
        const int32_t row = static_cast<int32_t>(random() % expected.size());
        ASSERT_EQ(rows.sentence(row), expected[row]) << row;
    }
    for (int32_t row = 0; row < rows.rowCount(); ++row)
        ASSERT_EQ(rows.sentence(row), expected[row]) << row;
    EXPECT_EQ(rows.sentence(-1), QString());
    EXPECT_EQ(rows.sentence(rows.rowCount()), QString());
}

// Each kind's row: its keyword in any case of A to Z finds the row again; Other has none.
TEST(EventKinds, KeywordsFindTheirRows) {
    for (const EventKindInfo& row : kEventKinds) {
        EXPECT_EQ(&eventKindInfo(row.kind), &row);
        if (row.kind == EventKind::Other) {
            EXPECT_EQ(eventKindOf(""), EventKind::Other);
            continue;
        }
        EXPECT_EQ(eventKindOf(row.keyword), row.kind) << row.name;
        EXPECT_EQ(eventKindOf(row.keyword.toByteArray().toUpper()), row.kind) << row.name;
        EXPECT_EQ(eventKindOf(row.keyword.chopped(1)), EventKind::Other) << row.name;
    }
}

TEST(EventRows, TimeAndKindOfARow) {
    RecordFiles files;
    const QString path = files.write(
        "k.kxr", {
                     QString::fromUtf8("2005-07-03-14-00-00; Louka; 1; 4; 3; 4;"),
                     QString::fromUtf8("2005-07-03-14-00-00; create_world; NNNNNBNNNNSN;"),
                     QString::fromUtf8("2005-07-03-14-01-00; create_hq; Pepa; louka; A0;"),
                     QString::fromUtf8("2005-07-03-15-05-09; BUY; A0; komár; 3;"),
                     QString::fromUtf8("2005-07-03-15-06-00; chat; ahoj;"),
                     QString::fromUtf8("2005-07-03-15-07-00; convert_gnd; B0; S;"),
                 });
    Loaded viewer(path);
    EventRows rows(viewer.session);
    ASSERT_EQ(rows.rowCount(), 3);
    EXPECT_EQ(rows.eventAt(0), 3);
    EXPECT_EQ(rows.timeText(0), QString::fromUtf8("07. 03. - 15:05:09"));
    EXPECT_EQ(rows.kindText(0), QString::fromUtf8("nákup"));
    EXPECT_EQ(rows.kindText(1), QStringLiteral("chat")); // an unknown kind by its own name
    EXPECT_EQ(rows.sentence(1), QString());
    EXPECT_EQ(rows.kindText(2), QString::fromUtf8("převod půdy"));
}

// The kind filter keeps exactly the events of that kind; the player filter exactly those in
// which the player takes part as the stepping replay sees them; both together, both at once.
TEST(EventRows, FiltersNarrowToTheEventsOfAPlayerAndAKind) {
    RecordFiles files;
    const QString path = generated(files, 42, 2000, 4);
    Loaded stepping(path);
    const MainState& state = stepping.session.state();
    const int players = static_cast<int>(state.cbPlayers.size());
    std::vector<std::vector<int32_t>> byPlayer(static_cast<size_t>(players));
    std::vector<std::vector<int32_t>> byKind(kEventKindCount + 1);
    auto ownerAt = [&](QByteArrayView address) {
        const int x = addressColumn(address);
        const int y = addressRow(address);
        if (!state.world.contains(x, y))
            return -1;
        const int32_t code = state.world.fieldGrid(x, y);
        return code > 100 ? fieldOwner(code) - 1 : -1;
    };
    while (state.world.eventIndex < stepping.session.eventCount()) {
        const int32_t event = state.world.eventIndex;
        const EventItem item = state.lvData.item(event);
        const EventKind kind = eventKindOf(item.caption);
        byKind[static_cast<size_t>(kind)].push_back(event);
        for (int p = 0; p < players; ++p) {
            const QString name = state.cbPlayers[p].section(QLatin1Char(' '), 0, 0);
            bool takesPart = false;
            if (kind == EventKind::Trade || kind == EventKind::TradeHq)
                takesPart = item.subItemText(1).compare(name, Qt::CaseInsensitive) == 0 ||
                            item.subItemText(2).compare(name, Qt::CaseInsensitive) == 0;
            else if (kind != EventKind::Other)
                takesPart = ownerAt(item.subItem(1)) == p ||
                            (kind == EventKind::Attack && ownerAt(item.subItem(2)) == p);
            if (takesPart)
                byPlayer[static_cast<size_t>(p)].push_back(event);
        }
        stepping.session.Button1Click();
    }

    Loaded viewer(path);
    EventRows rows(viewer.session);
    auto shown = [&] {
        std::vector<int32_t> events;
        for (int32_t row = 0; row < rows.rowCount(); ++row)
            events.push_back(rows.eventAt(row));
        return events;
    };
    for (int kind = 1; kind <= kEventKindCount; ++kind) {
        rows.setFilter(-1, static_cast<EventKind>(kind));
        EXPECT_EQ(shown(), byKind[static_cast<size_t>(kind)]) << kind;
    }
    size_t total = 0;
    for (int p = 0; p < players; ++p) {
        rows.setFilter(p, std::nullopt);
        EXPECT_EQ(shown(), byPlayer[static_cast<size_t>(p)]) << p;
        EXPECT_FALSE(byPlayer[static_cast<size_t>(p)].empty());
        total += byPlayer[static_cast<size_t>(p)].size();
    }
    EXPECT_GT(total, 1000u);

    rows.setFilter(1, EventKind::Attack);
    for (const int32_t event : shown()) {
        EXPECT_EQ(eventKindOf(state.lvData.item(event).caption), EventKind::Attack);
        EXPECT_NE(std::find(byPlayer[1].begin(), byPlayer[1].end(), event), byPlayer[1].end());
    }
    // A filtered row's sentence is still its event's.
    Loaded plain(path);
    EventRows all(plain.session);
    for (int32_t row = 0; row < std::min(rows.rowCount(), 40); ++row)
        EXPECT_EQ(rows.sentence(row), all.sentence(all.rowOf(rows.eventAt(row))));

    rows.setFilter(-1, std::nullopt);
    EXPECT_EQ(rows.rowCount(), viewer.session.eventCount() - viewer.session.firstEventIndex());
}

TEST(EventRows, RowsOfEventsAndAnotherRecord) {
    RecordFiles files;
    const QString path = generated(files, 43, 300);
    Loaded viewer(path);
    EventRows rows(viewer.session);
    const int32_t first = viewer.session.firstEventIndex();
    EXPECT_EQ(rows.rowAtOrBefore(first - 1), -1);
    EXPECT_EQ(rows.rowOf(first), 0);
    EXPECT_EQ(rows.rowOf(first + 10), 10);

    rows.setFilter(2, EventKind::Attack);
    ASSERT_GT(rows.rowCount(), 2);
    const int32_t second = rows.eventAt(1);
    EXPECT_EQ(rows.rowOf(second), 1);
    EXPECT_EQ(rows.rowAtOrBefore(second + 1), rows.eventAt(2) == second + 1 ? 2 : 1);
    EXPECT_EQ(rows.rowOf(second - 1), rows.eventAt(0) == second - 1 ? 0 : -1);
    EXPECT_EQ(rows.eventAt(rows.rowCount()), -1);

    // Another record: the rows follow it; its players are others, its kinds the same.
    const QString other = generated(files, 44, 50, 3);
    ASSERT_TRUE(viewer.session.loadRecord(other, RecordFormat::EventLog));
    EXPECT_TRUE(rows.sync());
    EXPECT_FALSE(rows.sync());
    EXPECT_EQ(rows.playerFilter(), -1);
    EXPECT_EQ(rows.kindFilter(), EventKind::Attack);
    EXPECT_GT(rows.rowCount(), 0);
    for (int32_t row = 0; row < rows.rowCount(); ++row)
        EXPECT_EQ(rows.kindText(row), QString::fromUtf8("útok"));
    EXPECT_LT(rows.eventAt(rows.rowCount() - 1), viewer.session.eventCount());
}

// Damaged events: unreadable times and numbers, cells outside the world, unknown players.
// Their rows still read as the live steps wrote them, and nobody is said to take part where
// the event names no existing player.
TEST(EventRows, DamagedEventsReadAsTheirStepsAndNameNobody) {
    RecordFiles files;
    const QString path = files.write(
        "h.kxr", {
                     QString::fromUtf8("2005-07-03-14-00-00; Louka; 2; 3; 2; 4;"),
                     QString::fromUtf8("2005-07-03-14-00-00; create_world; NNBNSN;"),
                     QString::fromUtf8("2005-07-03-14-01-00; create_hq; Pepa; louka; A0;"),
                     QString::fromUtf8("2005-07-03-14-02-00; create_hq; Jana; les; C1;"),
                     QString::fromUtf8("2005-07-03-1x-00-00; buy; A0; komár; 3;"),
                     QString::fromUtf8("2005-07-03-15-00-00; buy; Z9; komár; 3;"),
                     QString::fromUtf8("2005-07-03-16-00-00; trade; Nikdo; jana; 40;"),
                     QString::fromUtf8("2005-07-03-16-10-00; attack; A0; Q77; x; 1; 2;"),
                     QString::fromUtf8("2005-07-03-16-20-00; move; B0; C0; 2;"),
                     QString::fromUtf8("2005-07-03-18-20-00; trade_hq; pepa; JANA; 5; 5;"),
                 });
    Loaded stepping(path);
    QStringList expected;
    while (stepping.session.state().world.eventIndex < stepping.session.eventCount()) {
        stepping.session.Button1Click();
        expected << sentenceOfLiveStep(stepping.session.state());
    }
    Loaded viewer(path);
    EventRows rows(viewer.session);
    for (int32_t row = rows.rowCount() - 1; row >= 0; --row)
        EXPECT_EQ(rows.sentence(row), expected[row]) << row;

    rows.setFilter(0, std::nullopt); // Pepa: his buy, his attack, his nectar to Jana's HQ
    std::vector<int32_t> pepa;
    for (int32_t row = 0; row < rows.rowCount(); ++row)
        pepa.push_back(rows.eventAt(row));
    EXPECT_EQ(pepa, (std::vector<int32_t>{4, 7, 9}));
    rows.setFilter(1, std::nullopt); // Jana: the trade from nobody and the nectar to her HQ
    std::vector<int32_t> jana;
    for (int32_t row = 0; row < rows.rowCount(); ++row)
        jana.push_back(rows.eventAt(row));
    EXPECT_EQ(jana, (std::vector<int32_t>{6, 9}));
}
