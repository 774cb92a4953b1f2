#include "record_files.h"

#include "replay/session.h"

#include "session_test_access.h"

#include <gtest/gtest.h>

using namespace kx;

namespace {

// Two players; ten events one hour apart from 15:00 on (N = 14).
QStringList twoPlayerRecord() {
    QStringList lines = {
        QString::fromUtf8("2005-07-03-14-00-00; Louka; 2; 4; 3; 4;"),
        QString::fromUtf8("2005-07-03-14-00-00; create_world; NNNNNBNNNNSN;"),
        QString::fromUtf8("2005-07-03-14-01-00; create_hq; Pepa; louka; A0;"),
        QString::fromUtf8("2005-07-03-14-02-00; create_hq; Jana; les; D2;"),
    };
    for (int i = 0; i < 10; ++i)
        lines << QString::fromUtf8("2005-07-03-%1-00-00; buy; A0; komár; 1;").arg(15 + i);
    return lines;
}

struct Session : ::testing::Test {
    RecordFiles files;
    RecordedMessages messages;
    ReplaySession session{messages, QLocale::c()};
    const MainState& state = session.state();

    void load(const QStringList& lines) {
        ASSERT_TRUE(session.loadRecord(files.write("r.kxr", lines), RecordFormat::EventLog));
    }
};

} // namespace

TEST_F(Session, StartsWithTheBlankWorld) {
    EXPECT_EQ(state.world.width(), 20);
    EXPECT_EQ(state.world.height(), 20);
    EXPECT_EQ(state.world.fieldGrid(19, 19), -1);
    EXPECT_EQ(state.world.liveDisplay, 1);
    EXPECT_FALSE(state.panelEnabled);
    // The step buttons are disabled, but a timer tick finds the end of an empty world.
    session.Button1Click();
    EXPECT_FALSE(state.summaryShown);
    session.Button4Click();
    session.slajdTimer();
    EXPECT_TRUE(state.summaryShown);
    EXPECT_FALSE(state.slideShowEnabled);
}

TEST_F(Session, ForwardStepsWriteTheEventTheRecountsAndTheActionLine) {
    load(twoPlayerRecord());
    session.Button1Click();
    EXPECT_EQ(state.info, (QStringList{QString::fromUtf8("Proveden 1 přepočet."),
                                       QString::fromUtf8("Koupeno 1 jednotek komár na políčko A0."),
                                       "Akce 4 z 14"}));
    EXPECT_EQ(state.lbTime, "07. 03. - 15:00:00");
    EXPECT_EQ(state.world.eventIndex, 5);
    // One recount: +4 moves, +12 nectar from the HQ on normal ground; the buy costs 2 and a move.
    EXPECT_EQ(state.world.playerTable[0][Moves], 15 + 4 - 1);
    EXPECT_EQ(state.world.playerTable[0][Nectar], 500 + 12 - 2);
    EXPECT_EQ(state.world.playerTable[1][Nectar], 500 + 12);

    session.Button2Click(); // nine events left, then the summary
    EXPECT_TRUE(state.summaryShown);
    EXPECT_FALSE(state.mapShown);
    EXPECT_EQ(state.world.eventIndex, 14);
    EXPECT_EQ(state.info.last(), "Akce 13 z 14");
    EXPECT_EQ(state.summary.first(), QString::fromUtf8("Svět skončil. Vyhrál typ les."));
    const MainState atEnd = state;
    session.Button1Click();
    EXPECT_EQ(state.info, atEnd.info);
}

TEST_F(Session, RecountSentencesFollowCzechPlurals) {
    const QString start = QString::fromUtf8("2005-07-03-14-00-00; Louka; 1; 2; 1; 4;");
    const QString map = QString::fromUtf8("2005-07-03-14-00-00; create_world; NN;");
    const QString hq = QString::fromUtf8("2005-07-03-14-00-00; create_hq; Pepa; louka; A0;");
    struct Case {
        const char* time;
        const char* sentence;
    };
    for (const Case& c : {Case{"2005-07-03-14-30-00", nullptr},
                          Case{"2005-07-03-17-00-00", "Provedeny 3 přepočty."},
                          Case{"2005-07-03-19-00-00", "Provedeny 5 přepočty."},
                          Case{"2005-07-03-21-00-00", "Provedeno 7 přepočtů."},
                          Case{"2005-07-03-15-00-00", "Proveden 1 přepočet."},
                          Case{"2005-07-03-13-00-00", nullptr}}) { // the clock went back
        load({start, map, hq, QString::fromUtf8("%1; noop;").arg(c.time)});
        session.Button1Click();
        if (c.sentence)
            EXPECT_EQ(state.info.first(), QString::fromUtf8(c.sentence)) << c.time;
        else
            EXPECT_EQ(state.info, QStringList{"Akce 3 z 4"}) << c.time;
    }
}

TEST_F(Session, MovesAreCappedAtADaysWorth) {
    load({QString::fromUtf8("2005-07-03-14-00-00; Louka; 1; 2; 1; 4;"),
          QString::fromUtf8("2005-07-03-14-00-00; create_world; NB;"),
          QString::fromUtf8("2005-07-03-14-00-00; create_hq; Pepa; louka; B0;"),
          QString::fromUtf8("2005-07-03-17-00-00; noop;")});
    SessionTestAccess::state(session).world.playerTable[0][Moves] = 90;
    session.Button1Click();
    EXPECT_EQ(state.world.playerTable[0][Moves], 96);
    EXPECT_EQ(state.world.playerTable[0][Nectar], 500 + 3 * 7);
}

TEST_F(Session, BackwardJumpsLandWhereTheRebuildWould) {
    load(twoPlayerRecord());
    for (int i = 0; i < 5; ++i)
        session.Button1Click();
    ASSERT_EQ(state.world.eventIndex, 9);
    session.selectPlayer(0);
    session.Button6Click(); // replays items 4 to 6 quietly and item 7 live
    EXPECT_EQ(state.world.eventIndex, 8);
    EXPECT_EQ(state.info.last(), "Akce 7 z 14");
    EXPECT_EQ(state.world.unitGrid(0, 0), 41);
    EXPECT_EQ(state.selectedPlayer, 0);
    EXPECT_EQ(state.stats.lbPN, QString::number(state.world.playerTable[0][Nectar]));
    EXPECT_FALSE(state.progressVisible);

    session.Button7Click(); // only the first event, live
    EXPECT_EQ(state.world.eventIndex, 5);
    EXPECT_EQ(state.info.last(), "Akce 4 z 14");
    EXPECT_EQ(state.world.unitGrid(0, 0), 11);
}

// A step back from the summary leaves it for the map at the target event; the end of the
// world comes again after the last event.
TEST_F(Session, StepBackFromTheSummaryShowsTheMapAtTheTarget) {
    load(twoPlayerRecord());
    session.Button2Click();
    session.Button2Click();
    ASSERT_TRUE(state.summaryShown);
    session.Button6Click();
    EXPECT_FALSE(state.summaryShown);
    EXPECT_TRUE(state.mapShown);
    EXPECT_EQ(state.world.eventIndex, 13);
    EXPECT_EQ(state.info.last(), "Akce 12 z 14");
    session.Button2Click();
    EXPECT_TRUE(state.summaryShown);
    EXPECT_TRUE(session.btnNextClick());
    EXPECT_FALSE(state.summaryShown);
    EXPECT_EQ(state.world.eventIndex, 4);
}

// Another record starts with nothing of the old world shown; a failed load keeps it all.
TEST_F(Session, LoadingAnotherRecordClearsTheOldWorldsFigures) {
    load(twoPlayerRecord());
    session.selectPlayer(1);
    session.dgMapMouseMove(1, 1);
    session.Button2Click();
    const MainState before = state;
    ASSERT_FALSE(before.stats.lbPH.isEmpty());
    ASSERT_FALSE(before.inspector.lbFU.isEmpty());
    ASSERT_FALSE(before.lbTime.isEmpty());

    EXPECT_FALSE(session.loadRecord(files.write("bad.kxr", {"x"}), RecordFormat::EventLog));
    EXPECT_EQ(state.info, before.info);
    EXPECT_EQ(state.lbTime, before.lbTime);
    EXPECT_EQ(state.stats.lbPH, before.stats.lbPH);
    EXPECT_EQ(state.inspector.lbFN, before.inspector.lbFN);

    load(twoPlayerRecord().mid(0, 5));
    EXPECT_TRUE(state.info.isEmpty());
    EXPECT_TRUE(state.lbTime.isEmpty());
    for (const QString& shown :
         {state.stats.lbPT, state.stats.lbPN, state.stats.lbPP, state.stats.lbPH, state.stats.lbPA,
          state.stats.lbPD, state.inspector.lbFN, state.inspector.lbFT, state.inspector.lbFO,
          state.inspector.lbFU, state.inspector.lbFC})
        EXPECT_TRUE(shown.isEmpty()) << shown.toStdString();
}

TEST_F(Session, SlideShowIntervalFollowsTheEdit) {
    EXPECT_EQ(state.slideShowInterval, 500);
    EXPECT_EQ(state.edTime, "200");
    session.setEdTimeText("0");
    EXPECT_EQ(state.slideShowInterval, 500);
    session.setEdTimeText("00");
    EXPECT_EQ(state.slideShowInterval, 0);
    session.Button4Click();
    EXPECT_FALSE(session.slideShowFires()) << "an interval of 0 never fires";
    session.setEdTimeText("x1");
    EXPECT_EQ(state.slideShowInterval, 500);
    EXPECT_EQ(state.edTime, "500");
    session.setEdTimeText("123456");
    EXPECT_EQ(state.edTime, "1234");
    EXPECT_EQ(state.slideShowInterval, 1234);
    EXPECT_TRUE(session.slideShowFires());
    session.Button5Click();
    EXPECT_FALSE(state.slideShowEnabled);
}

TEST_F(Session, UnreadableNumbersStopTheSlideShowAndBadTimesCountAsThePrevious) {
    QStringList lines = twoPlayerRecord().mid(0, 4);
    lines << QString::fromUtf8("2005-07-03-15-00-00; buy; A0; komár; deset;")
          << QString::fromUtf8("2005-07-03-1x-00-00; buy; A0; komár; 2;");
    load(lines);
    session.Button4Click();
    session.slajdTimer();
    EXPECT_FALSE(state.slideShowEnabled);
    EXPECT_EQ(state.world.unitGrid(0, 0), 1) << "an unreadable count buys 0 units";
    const int32_t time = state.world.lastEventTime;
    session.Button1Click();
    EXPECT_EQ(messages.shown, QStringList{QString::fromUtf8("Chyba formátu času")});
    EXPECT_EQ(state.world.lastEventTime, time);
    EXPECT_EQ(state.info.first(), QString::fromUtf8("Koupeno 2 jednotek komár na políčko A0."));
}

TEST_F(Session, InspectorAndHighlightFollowTheMouse) {
    load(twoPlayerRecord());
    struct Recorder : RepaintSink {
        std::vector<std::pair<int, int>> cells;
        int maps = 0;
        void redrawCell(int c, int r) override { cells.emplace_back(c, r); }
        void redrawMap() override { ++maps; }
    } recorder;
    session.setRepaintSink(&recorder);

    session.dgMapMouseMove(0, 3); // a header cell changes nothing
    EXPECT_TRUE(state.inspector.lbFN.isEmpty());
    session.dgMapMouseMove(4, 3); // D2, Jana's HQ on normal ground
    EXPECT_EQ(state.inspector.lbFN, "D2");
    EXPECT_EQ(state.inspector.lbFO, "Jana (les)");
    EXPECT_EQ(state.inspector.lbFT, QString::fromUtf8("normální"));
    EXPECT_EQ(state.inspector.lbFC, "0");
    EXPECT_EQ(session.highlightOwner(), 2);
    EXPECT_EQ(recorder.cells, (std::vector<std::pair<int, int>>{{4, 3}}));

    recorder.cells.clear();
    session.dgMapMouseMove(1, 1); // A0, Pepa's HQ: Jana's cells drawn plain, then Pepa's
    EXPECT_EQ(recorder.cells, (std::vector<std::pair<int, int>>{{4, 3}, {1, 1}}));
    session.Button1Click(); // the panel follows the event without a mouse move
    EXPECT_EQ(state.inspector.lbFU, QString::fromUtf8("Komár"));
    EXPECT_EQ(state.inspector.lbFC, "1");

    session.setHighlightFields(false);
    recorder.cells.clear();
    session.dgMapMouseMove(2, 1); // B0, free land: panel follows, highlight stays
    EXPECT_EQ(state.inspector.lbFN, "B0");
    EXPECT_EQ(state.inspector.lbFO, "");
    EXPECT_EQ(session.highlightOwner(), 1);
    EXPECT_TRUE(recorder.cells.empty());
}

TEST_F(Session, NoStepOrJumpRunsInsideAnother) {
    QStringList lines = twoPlayerRecord().mid(0, 4);
    for (int i = 0; i < 9000; ++i)
        lines << QString::fromUtf8("2005-07-03-15-%1-%2; buy; A0; komár; 1;")
                     .arg(i / 600 % 60, 2, 10, QChar('0'))
                     .arg(i / 10 % 60, 2, 10, QChar('0'));
    load(lines);
    // Clicks and timer ticks that arrive while a long jump serves the event loop.
    struct Meddler : ActivityObserver {
        ReplaySession* session = nullptr;
        int calls = 0;
        void progressChanged(int, bool) override {}
        void keepAlive() override {
            ++calls;
            session->Button1Click();
            session->Button7Click();
            session->slajdTimer();
            session->btnNextClick();
        }
    } meddler;
    meddler.session = &session;
    session.setSnapshotsEnabled(false);
    session.Button4Click();
    session.setActivityObserver(&meddler);
    for (int i = 0; i < 9000; ++i)
        session.replayStep();
    const int32_t before = state.world.eventIndex;
    session.Button6Click();
    EXPECT_GT(meddler.calls, 0);
    EXPECT_EQ(state.world.eventIndex, before - 1);
    EXPECT_FALSE(session.busy());
    session.setActivityObserver(nullptr);
}
