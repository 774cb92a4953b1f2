#include "record_files.h"

#include "replay/session.h"

#include <gtest/gtest.h>

using namespace kx;

// Events with absurd numbers, cells outside the world and unknown players change nothing
// they cannot address, wrap instead of overflowing, and never stop the replay.
TEST(HostileEvents, ReplayToTheEndWithoutTouchingWhatIsNotThere) {
    const QStringList lines = {
        QString::fromUtf8("2005-07-03-14-00-00; Louka; 2; 3; 3; 2147483647;"),
        QString::fromUtf8("2005-07-03-14-00-00; create_world; NNNBBBSSS;"),
        QString::fromUtf8("2005-07-03-14-01-00; create_hq; Pepa; louka; A0;"),
        QString::fromUtf8("2005-07-03-14-02-00; create_hq; Jana; les; C2;"),
        QString::fromUtf8("2005-07-03-15-00-00; buy; A0; komár; 2147483647;"),
        QString::fromUtf8("2005-07-03-15-00-01; buy; A0; komár; 2147483647;"),
        QString::fromUtf8("2005-07-03-15-00-02; buy; A0; šváb; -2147483648;"),
        QString::fromUtf8("2005-07-03-15-00-03; buy; B1; komár; 99999999999;"),
        QString::fromUtf8("2005-07-03-15-00-04; buy; Z99; komár; 5;"),
        QString::fromUtf8("2005-07-03-15-00-05; buy; A-1; komár; 5;"),
        QString::fromUtf8("2005-07-03-15-00-06; attack; A0; Z99; 5; 1; 3;"),
        QString::fromUtf8("2005-07-03-15-00-07; attack; A0; C2; 2147483647; 1; 2147483647;"),
        QString::fromUtf8("2005-07-03-15-00-08; move; C2; A0; -5;"),
        QString::fromUtf8("2005-07-03-15-00-09; move; A0; č0; 1;"),
        QString::fromUtf8("2005-07-03-15-00-10; convert_gnd; B1; X;"),
        QString::fromUtf8("2005-07-03-15-00-11; retreat; A0; 2147483647;"),
        QString::fromUtf8("2005-07-03-15-00-12; trade; Nikdo; Jana; 2147483647;"),
        QString::fromUtf8("2005-07-03-15-00-13; trade; Pepa; Nikdo; -2147483648;"),
        QString::fromUtf8("2005-07-03-15-00-14; trade_hq; Pepa; Nikdo; 5; 5;"),
        QString::fromUtf8("2005-07-03-15-00-15; trade_hq; Pepa; Jana; 5; 2147483647;"),
        QString::fromUtf8("2005-07-03-15-00-16; attack; A0;"),
        QString::fromUtf8("2005-07-03-15-00-17;"),
        QString::fromUtf8("2030-07-03-15-00-18; buy;"),
    };
    RecordFiles files;
    RecordedMessages messages;
    ReplaySession session(messages, QLocale::c());
    ASSERT_TRUE(session.loadRecord(files.write("hostile.kxr", lines), RecordFormat::EventLog));
    session.selectPlayer(0);
    session.dgMapMouseMove(1, 1);
    const MainState& state = session.state();
    while (!state.summaryShown)
        session.Button1Click();
    EXPECT_EQ(state.world.eventIndex, state.lvData.size());
    EXPECT_EQ(state.world.width(), 3);
    EXPECT_EQ(state.world.playerCount(), 2);
    // Backward jumps over the same events agree with the forward replay.
    session.Button7Click();
    session.Button7Click();
    session.Button6Click();
    EXPECT_GE(state.world.eventIndex, 4);
    EXPECT_FALSE(state.summary.isEmpty());
}
