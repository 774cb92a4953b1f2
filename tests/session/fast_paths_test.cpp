// The fast paths of loading and going back give exactly what the plain ones give.
#include "record_files.h"

#include "record_generator.h"
#include "records/record_loader.h"
#include "replay/session.h"

#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace kx;

namespace {

void expectSameWorld(const MainState& a, const MainState& b, const std::string& where) {
    const World& x = a.world;
    const World& y = b.world;
    ASSERT_EQ(x.eventIndex, y.eventIndex) << where;
    EXPECT_EQ(x.lastEventTime, y.lastEventTime) << where;
    EXPECT_EQ(x.playerTable, y.playerTable) << where;
    ASSERT_EQ(x.width(), y.width()) << where;
    ASSERT_EQ(x.height(), y.height()) << where;
    for (int i = 0; i < x.width(); ++i)
        for (int j = 0; j < x.height(); ++j) {
            ASSERT_EQ(x.fieldGrid(i, j), y.fieldGrid(i, j)) << where << " field " << i << "," << j;
            ASSERT_EQ(x.unitGrid(i, j), y.unitGrid(i, j)) << where << " units " << i << "," << j;
        }
    EXPECT_EQ(a.info, b.info) << where;
    EXPECT_EQ(a.lbTime, b.lbTime) << where;
    EXPECT_EQ(a.stats.lbPN, b.stats.lbPN) << where;
    EXPECT_EQ(a.stats.lbPA, b.stats.lbPA) << where;
    EXPECT_EQ(a.inspector.lbFU, b.inspector.lbFU) << where;
    EXPECT_EQ(a.inspector.lbFC, b.inspector.lbFC) << where;
}

struct Viewer {
    RecordedMessages messages;
    ReplaySession session{messages, QLocale::c()};
    Viewer(const QString& path, kx::RecordFormat reading, bool snapshots) {
        session.setSnapshotsEnabled(snapshots);
        session.loadRecord(path, reading);
        session.selectPlayer(2);
        session.dgMapMouseMove(3, 4);
    }
    int32_t index() { return session.state().world.eventIndex; }
};

} // namespace

// A random walk of steps and jumps forward and back, anywhere in the record, with the world
// copies at their automatic spacing against the rebuild and replay from the first event; on
// XML records, so the conversion's lines are what both replay.
TEST(FastPaths, RandomWalkWithCopiesMatchesTheRebuild) {
    RecordFiles files;
    for (const uint32_t seed : {101u, 202u, 303u}) {
        RecordGeneratorOptions options;
        options.seed = seed;
        options.events = 1500;
        options.players = int(3 + seed % 5);
        options.width = 26;
        options.height = 22;
        const GeneratedRecord record = generateRecord(options);
        ASSERT_TRUE(record.error.isEmpty());
        const QString path = files.writeBytes(QStringLiteral("w%1.kxr2").arg(seed), record.xml);
        Viewer fast(path, RecordFormat::Xml, true);
        Viewer plain(path, RecordFormat::Xml, false);
        const qsizetype n = fast.session.state().lvData.size();
        ASSERT_GT(n, 1000);
        QRandomGenerator random(seed);
        for (int move = 0; move < 60; ++move) {
            const int choice = random.bounded(4);
            if (choice == 0 && fast.index() < n) {
                const int steps = random.bounded(1, 400);
                for (int s = 0; s < steps && fast.index() < n; ++s) {
                    fast.session.Button1Click();
                    plain.session.Button1Click();
                }
            } else {
                const int count = choice == 1 ? 1 : choice == 2 ? 10 : random.bounded(1, 700);
                fast.session.stepBack(count);
                plain.session.stepBack(count);
            }
            expectSameWorld(fast.session.state(), plain.session.state(),
                            "seed " + std::to_string(seed) + " move " + std::to_string(move));
        }
    }
}

// A large record is read in pieces into room taken once; the bytes are the file's, whatever
// their line ends, also when the file ends on a piece's edge, and a small one gives the same.
TEST(FastPaths, ReadingALargeFileGivesItsExactBytes) {
    RecordFiles files;
    QByteArray bytes;
    for (int i = 0; bytes.size() < (qsizetype{5} << 20); ++i)
        bytes += QByteArray::number(i) +
                 (i % 3 == 0   ? "\r\n"
                  : i % 3 == 1 ? "\n"
                               : "\r") +
                 QByteArray(i % 97, char(0x80 + i % 100));
    const QString large = files.writeBytes(QStringLiteral("large.kxr"), bytes);
    const QString small = files.writeBytes(QStringLiteral("small.kxr"), bytes.left(1000));
    QString error;
    int served = 0;
    const std::optional<QByteArray> read = readRecordFile(large, &error, [&] { ++served; });
    ASSERT_TRUE(read.has_value()) << error.toStdString();
    EXPECT_TRUE(*read == bytes);
    EXPECT_GE(served, 5) << "the window is served between pieces";
    EXPECT_LT(read->capacity(), bytes.size() + 4096) << "the room was taken once";
    const QByteArray edge = bytes.left(qsizetype{4} << 20);
    const std::optional<QByteArray> readEdge =
        readRecordFile(files.writeBytes(QStringLiteral("edge.kxr"), edge), &error);
    ASSERT_TRUE(readEdge.has_value());
    EXPECT_TRUE(*readEdge == edge);
    EXPECT_LT(readEdge->capacity(), edge.size() + 4096);
    const std::optional<QByteArray> readSmall = readRecordFile(small, &error);
    ASSERT_TRUE(readSmall.has_value());
    EXPECT_TRUE(*readSmall == bytes.left(1000));
}
