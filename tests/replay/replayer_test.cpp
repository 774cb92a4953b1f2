#include "replay/replayer.h"
#include "replay_fixture.h"

#include "records/time_stamp.h"

using namespace kx;
using kx::test::ReplayTest;

namespace {

class ReplayerTest : public ReplayTest {
  protected:
    void SetUp() override {
        makeWorld(4, 4, 2);
        addHq(0, QStringLiteral("Pepa"), QStringLiteral("louka"), 0, 0);
        addHq(1, QStringLiteral("Jana"), QStringLiteral("les"), 3, 3);
        const StampTime start = *readTimeStamp("2005-07-03-14-00-00");
        world.lastEventTime = start.seconds;
        world.lastEventHour = start.hour;
    }
};

bool sameWorld(const World& a, const World& b) {
    for (int x = 0; x < a.width(); ++x)
        for (int y = 0; y < a.height(); ++y)
            if (a.fieldGrid(x, y) != b.fieldGrid(x, y) || a.unitGrid(x, y) != b.unitGrid(x, y))
                return false;
    return a.playerTable == b.playerTable && a.eventIndex == b.eventIndex &&
           a.lastEventTime == b.lastEventTime && a.lastEventHour == b.lastEventHour;
}

} // namespace

// One step per event: recounts before it, its operation, the time moved on. A live and a
// quiet replay change the world alike; only the live one speaks, and says the recounts only
// when asked.
TEST_F(ReplayerTest, LiveAndQuietStepsChangeTheWorldAlike) {
    const struct {
        const char* line;
        int32_t recounts;
        bool timeUnreadable;
        bool stopSlideShow;
        const char* firstSentence; // live, recounts said
    } steps[] = {
        {"2005-07-03-14-10-00; buy; A0; komár; 2;", 0, false, false,
         "Koupeno 2 jednotek komár na políčko A0."},
        {"2005-07-03-17-05-00; trade; Pepa; Jana; 10;", 3, false, false, "Provedeny 3 přepočty."},
        {"14-xx; buy; A0; vosa; 1;", 0, true, false, "Koupeno 1 jednotek vosa na políčko A0."},
        {"2005-07-03-17-06-00; buy; A0; komár; x;", 0, false, true,
         "Koupeno x jednotek komár na políčko A0."},
    };
    for (const auto& s : steps)
        event(s.line);

    World quietWorld = world;
    quietWorld.liveDisplay = 0;
    Replayer live(world, events, entries);
    Replayer quiet(quietWorld, events, entries);
    QStringList quietInfo;
    for (const auto& s : steps) {
        SCOPED_TRACE(s.line);
        ASSERT_FALSE(live.atEnd());
        EXPECT_EQ(live.recountsDue(), s.recounts);
        info.clear();
        const ReplayStep said = live.step(info, &sink, true);
        const ReplayStep silent = quiet.step(quietInfo);
        for (const ReplayStep& step : {said, silent}) {
            EXPECT_EQ(step.recounts, s.recounts);
            EXPECT_EQ(step.timeUnreadable, s.timeUnreadable);
            EXPECT_EQ(step.stopSlideShow, s.stopSlideShow);
        }
        ASSERT_FALSE(info.isEmpty());
        EXPECT_EQ(info.first(), QString::fromUtf8(s.firstSentence));
        EXPECT_TRUE(sameWorld(world, quietWorld));
    }
    EXPECT_TRUE(live.atEnd());
    EXPECT_EQ(live.recountsDue(), 0);
    EXPECT_TRUE(quietInfo.isEmpty());
}
