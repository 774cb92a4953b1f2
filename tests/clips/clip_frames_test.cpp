#include "generated_session.h"

#include "clips/clip_frames.h"
#include "clips/clip_options.h"
#include "replay/session.h"

#include <gtest/gtest.h>

using namespace kx;

namespace {

using Loaded = GeneratedSession;

void load(Loaded& loaded, uint64_t seed, int events) {
    ASSERT_TRUE(loaded.load(seed, events, 4));
}

bool sameWorld(const World& a, const World& b) {
    if (a.width() != b.width() || a.height() != b.height() || a.playerTable != b.playerTable)
        return false;
    for (int x = 0; x < a.width(); ++x)
        for (int y = 0; y < a.height(); ++y)
            if (a.fieldGrid(x, y) != b.fieldGrid(x, y) || a.unitGrid(x, y) != b.unitGrid(x, y))
                return false;
    return true;
}

} // namespace

// A frame shows the world the window shows at "Akce i z N" for its event, and its caption
// is the event's time and sentences.
TEST(ClipFramesTest, EveryFrameIsTheWorldTheWindowShowsAtItsEvent) {
    Loaded loaded;
    load(loaded, 11, 300);
    ReplaySession& session = loaded.session;
    const ClipRecord record = clipRecordOf(session);
    const int32_t from = record.firstEvent + 40;
    const int32_t to = record.eventCount() - 1;
    ClipFrames frames(record, from, to, FramePace::Event);
    for (int32_t event = from; event <= to; ++event) {
        ASSERT_TRUE(frames.next());
        ASSERT_EQ(frames.eventIndex(), event);
        session.jumpTo(event);
        ASSERT_TRUE(sameWorld(frames.world(), session.state().world)) << event;
        const QStringList& info = session.state().info;
        ASSERT_TRUE(frames.caption().startsWith(session.state().lbTime)) << event;
        if (info.size() >= 2) { // the event's own sentence, before "Akce i z N"
            EXPECT_TRUE(frames.caption().endsWith(info[info.size() - 2])) << event;
        }
    }
    EXPECT_FALSE(frames.next());
    EXPECT_EQ(frames.percentDone(), 100);
}

// At one frame an hour, a frame is the last event before a recount, and the range's ends.
TEST(ClipFramesTest, AnHourlyClipStopsAtTheLastEventOfEachHourAndAtItsEnds) {
    Loaded loaded;
    load(loaded, 5, 600);
    ReplaySession& session = loaded.session;
    const ClipRecord record = clipRecordOf(session);
    const int32_t from = record.firstEvent + 3;
    const int32_t to = record.eventCount() - 10;
    std::vector<int32_t> expected;
    session.jumpTo(from);
    for (int32_t event = from; event <= to; ++event) {
        bool hourEnds = false;
        if (event < record.eventCount() - 1) {
            session.jumpTo(event + 1); // the recount is said before the next event's sentence
            hourEnds = session.state().info.first().startsWith(QStringLiteral("Proveden"));
        }
        if (event == from || event == to || hourEnds)
            expected.push_back(event);
    }
    ASSERT_GT(expected.size(), 3u);
    ASSERT_LT(expected.size(), size_t(to - from) / 2);

    std::vector<int32_t> shown;
    ClipFrames frames(record, from, to, FramePace::Hour);
    while (frames.next()) {
        shown.push_back(frames.eventIndex());
        session.jumpTo(frames.eventIndex());
        ASSERT_TRUE(sameWorld(frames.world(), session.state().world)) << frames.eventIndex();
    }
    EXPECT_EQ(shown, expected);
}

TEST(ClipOptionsTest, NamesAndNumbersOfTheCommandLine) {
    EXPECT_EQ(clipFormatFor(QStringLiteral("a/b.MP4")), ClipFormat::Mp4);
    EXPECT_EQ(clipFormatFor(QStringLiteral("b.webm")), ClipFormat::WebM);
    EXPECT_EQ(clipFormatFor(QStringLiteral("b.gif")), ClipFormat::Gif);
    EXPECT_EQ(clipFormatFor(QStringLiteral("b.webp")), ClipFormat::WebP);
    for (const char* bad : {"b.avi", "b", "a.gif/b", "gif", "b.gif.txt"})
        EXPECT_FALSE(clipFormatFor(QString::fromLatin1(bad))) << bad;

    EXPECT_EQ(mapViewNamed(QStringLiteral("nahled")), MapView::Preview);
    EXPECT_EQ(mapViewNamed(QStringLiteral("les")), MapView::Les);
    EXPECT_FALSE(mapViewNamed(QStringLiteral("Les")));

    const std::pair<const char*, int> scales[] = {
        {"1", 100},    {"0.25", 25}, {"0.5", 50}, {"2.05", 205}, {"4", 400},
        {"4.00", 400}, {"0.2", 0},   {"4.05", 0}, {"1.07", 0},   {"1.", 0},
        {".5", 0},     {"-1", 0},    {"1,5", 0},  {"", 0},       {"1.555", 0}};
    for (const auto& [text, zoom] : scales)
        EXPECT_EQ(zoomOfScale(QString::fromLatin1(text)).value_or(0), zoom) << text;

    const QStringList players = {QStringLiteral("Pepa (louka)"), QStringLiteral("Jana (les)"),
                                 QStringLiteral("Jana (louka)"), QStringLiteral("Eva (les)")};
    EXPECT_EQ(playerOwnerNamed(players, QStringLiteral("Pepa")), 1);
    EXPECT_EQ(playerOwnerNamed(players, QStringLiteral("Jana (louka)")), 3);
    EXPECT_EQ(playerOwnerNamed(players, QStringLiteral("Eva (les)")), 4);
    EXPECT_FALSE(playerOwnerNamed(players, QStringLiteral("Jana"))); // two players
    EXPECT_FALSE(playerOwnerNamed(players, QStringLiteral("pepa")));

    EXPECT_TRUE(clipRangeError(6, 10, 6, 11).isEmpty());
    EXPECT_FALSE(clipRangeError(5, 10, 6, 11).isEmpty());
    EXPECT_FALSE(clipRangeError(6, 11, 6, 11).isEmpty());
    EXPECT_FALSE(clipRangeError(8, 7, 6, 11).isEmpty());
    EXPECT_FALSE(clipRangeError(6, 6, 6, 6).isEmpty());
}
