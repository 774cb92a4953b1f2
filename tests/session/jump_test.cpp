#include "record_files.h"

#include "generated_log.h"
#include "replay/session.h"

#include "session_test_access.h"

#include <gtest/gtest.h>

#include <random>

using namespace kx;

namespace {

// What a jump must leave behind: the world and everything the window shows.
void expectSameShown(const MainState& a, const MainState& b, const std::string& where) {
    const World& x = a.world;
    const World& y = b.world;
    ASSERT_EQ(x.eventIndex, y.eventIndex) << where;
    EXPECT_EQ(x.lastEventTime, y.lastEventTime) << where;
    EXPECT_EQ(x.playerTable, y.playerTable) << where;
    bool gridsEqual = x.width() == y.width() && x.height() == y.height();
    for (int i = 0; gridsEqual && i < x.width(); ++i)
        for (int j = 0; j < x.height(); ++j)
            gridsEqual = gridsEqual && x.fieldGrid(i, j) == y.fieldGrid(i, j) &&
                         x.unitGrid(i, j) == y.unitGrid(i, j);
    EXPECT_TRUE(gridsEqual) << where;
    EXPECT_EQ(a.info, b.info) << where;
    EXPECT_EQ(a.lbTime, b.lbTime) << where;
    EXPECT_EQ(a.cbPlayers, b.cbPlayers) << where;
    EXPECT_EQ(a.selectedPlayer, b.selectedPlayer) << where;
    EXPECT_EQ(a.stats.lbPT, b.stats.lbPT) << where;
    EXPECT_EQ(a.stats.lbPN, b.stats.lbPN) << where;
    EXPECT_EQ(a.stats.lbPA, b.stats.lbPA) << where;
    EXPECT_EQ(a.inspector.lbFO, b.inspector.lbFO) << where;
    EXPECT_EQ(a.inspector.lbFC, b.inspector.lbFC) << where;
    EXPECT_EQ(a.summaryShown, b.summaryShown) << where;
    EXPECT_EQ(a.progressVisible, b.progressVisible) << where;
}

struct Viewer {
    RecordedMessages messages;
    ReplaySession session{messages, QLocale::c()};
    Viewer(const QString& path, int spacing) {
        session.setSnapshotSpacing(spacing);
        EXPECT_TRUE(session.loadRecord(path, RecordFormat::EventLog));
        session.selectPlayer(1);
        session.dgMapMouseMove(4, 3);
    }
    int32_t index() const { return session.state().world.eventIndex; }
};

QString generated(RecordFiles& files, uint64_t seed, int events) {
    return writeGeneratedLog(files, seed, events, 5, 10, 9);
}

} // namespace

// A jump anywhere, forward or back, near or far, leaves exactly what stepping there one
// event at a time leaves.
TEST(JumpTo, EndsWhereSteppingEnds) {
    RecordFiles files;
    const QString path = generated(files, 31, 400);
    Viewer jumping(path, 16);
    const int32_t first = jumping.session.firstEventIndex();
    const int32_t n = jumping.session.eventCount();
    ASSERT_EQ(first, 7);
    std::mt19937 random(5);
    std::vector<int32_t> targets = {first, n - 1, first + 1, n - 2, 200, 199, 201, 40, 380};
    for (int i = 0; i < 25; ++i)
        targets.push_back(first + static_cast<int32_t>(random() % (n - first)));
    for (const int32_t target : targets) {
        jumping.session.jumpTo(target);
        Viewer stepping(path, 16);
        while (stepping.index() <= target)
            stepping.session.Button1Click();
        expectSameShown(jumping.session.state(), stepping.session.state(),
                        "target " + std::to_string(target));
        EXPECT_EQ(jumping.session.shownEventIndex(), target);
    }
    EXPECT_TRUE(jumping.messages.shown.isEmpty());
}

TEST(JumpTo, ClampsAndIgnoresWhatIsNoJump) {
    RecordFiles files;
    const QString path = generated(files, 32, 60);
    Viewer viewer(path, 8);
    const int32_t first = viewer.session.firstEventIndex();
    const int32_t n = viewer.session.eventCount();
    EXPECT_EQ(viewer.session.shownEventIndex(), -1);

    viewer.session.jumpTo(-5); // before the first event: the first one, live
    EXPECT_EQ(viewer.index(), first + 1);
    viewer.session.jumpTo(n + 100); // past the end: the last event; the summary is one step on
    EXPECT_EQ(viewer.index(), n);
    EXPECT_FALSE(viewer.session.state().summaryShown);
    viewer.session.Button1Click();
    EXPECT_TRUE(viewer.session.state().summaryShown);

    // From the summary, as a backward jump: back to the map at the target.
    viewer.session.jumpTo(first + 10);
    EXPECT_EQ(viewer.index(), first + 11);
    EXPECT_FALSE(viewer.session.state().summaryShown);

    // A jump onto the event shown replays nothing, not even its sentences.
    SessionTestAccess::state(viewer.session).info = QStringList{QStringLiteral("kept")};
    viewer.session.jumpTo(first + 10);
    EXPECT_EQ(viewer.session.state().info, QStringList{QStringLiteral("kept")});

    // Without a record there is nothing to jump to.
    RecordedMessages messages;
    ReplaySession empty(messages);
    empty.jumpTo(3);
    EXPECT_EQ(empty.state().world.eventIndex, 0);
    EXPECT_FALSE(empty.state().summaryShown);
}

// A forward jump reports unreadable time stamps once and stops the slide show as the
// skipped events would have, also when it starts from a copy beyond the current event.
TEST(JumpTo, ForwardJumpStopsTheSlideShowAndReportsTimeOnce) {
    RecordFiles files;
    QStringList lines = {
        QString::fromUtf8("2005-07-03-14-00-00; Louka; 1; 4; 3; 4;"),
        QString::fromUtf8("2005-07-03-14-00-00; create_world; NNNNNBNNNNSN;"),
        QString::fromUtf8("2005-07-03-14-01-00; create_hq; Pepa; louka; A0;"),
    };
    for (int i = 0; i < 40; ++i)
        lines << QString::fromUtf8("2005-07-03-16-%1-00; buy; A0; komár; 1;")
                     .arg(i, 2, 10, QChar('0'));
    lines[20] = QString::fromUtf8("2005-07-03-1x-00-00; buy; A0; komár; 1;");
    lines[21] = QString::fromUtf8("2005-07-03-17-00-00; buy; A0; komár; x;");
    const QString path = files.write("t.kxr", lines);
    for (const bool fromCopy : {false, true}) {
        Viewer viewer(path, 4);
        if (fromCopy) { // visit the end once, so that copies lie ahead after going back
            viewer.session.jumpTo(40);
            viewer.session.jumpTo(5);
            viewer.messages.shown.clear();
        }
        viewer.session.Button4Click();
        viewer.session.jumpTo(35);
        EXPECT_EQ(viewer.index(), 36);
        EXPECT_FALSE(viewer.session.state().slideShowEnabled) << fromCopy;
        EXPECT_EQ(viewer.messages.shown, QStringList{QString::fromUtf8("Chyba formátu času")})
            << fromCopy;
    }
}
