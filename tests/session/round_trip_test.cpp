#include "record_files.h"

#include "record_generator.h"
#include "replay/session.h"

#include <gtest/gtest.h>

using namespace kx;

// A generated XML record and its event-log twin load to the same event list and the same
// initial world, and replay alike to the end.
TEST(RoundTrip, XmlRecordAndEventLogLoadAndReplayAlike) {
    RecordFiles files;
    for (uint64_t seed : {3u, 4u, 5u}) {
        RecordGeneratorOptions options;
        options.seed = seed;
        options.events = 400;
        options.players = 2 + int(seed);
        const GeneratedRecord record = generateRecord(options);
        ASSERT_TRUE(record.error.isEmpty());
        const QString xmlPath = files.writeBytes(QStringLiteral("r%1.kxr2").arg(seed), record.xml);
        const QString logPath = files.writeBytes(QStringLiteral("r%1.kxr").arg(seed), record.log);

        RecordedMessages xmlMessages, logMessages;
        ReplaySession xml(xmlMessages, QLocale::c());
        ReplaySession log(logMessages, QLocale::c());
        ASSERT_TRUE(xml.loadRecord(xmlPath, RecordFormat::Xml));
        ASSERT_TRUE(log.loadRecord(logPath, RecordFormat::EventLog));

        const MainState& a = xml.state();
        const MainState& b = log.state();
        ASSERT_EQ(a.lvData.size(), b.lvData.size());
        for (qsizetype i = 0; i < a.lvData.size(); ++i)
            ASSERT_EQ(a.lvData.line(i), b.lvData.line(i)) << "item " << i;
        EXPECT_EQ(a.cbPlayers, b.cbPlayers);
        EXPECT_EQ(a.gbPlayersCaption, b.gbPlayersCaption);
        EXPECT_EQ(a.world.playerTable, b.world.playerTable);
        EXPECT_EQ(a.world.eventIndex, b.world.eventIndex);
        EXPECT_EQ(a.world.lastEventTime, b.world.lastEventTime);

        while (!a.summaryShown) {
            xml.Button2Click();
            log.Button2Click();
        }
        EXPECT_TRUE(b.summaryShown);
        EXPECT_EQ(a.world.playerTable, b.world.playerTable);
        EXPECT_EQ(a.summary, b.summary);
        EXPECT_TRUE(xmlMessages.shown.isEmpty()) << xmlMessages.shown.join('|').toStdString();
        EXPECT_TRUE(logMessages.shown.isEmpty());
    }
}
