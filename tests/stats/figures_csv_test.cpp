#include "record_files.h"

#include "replay/session.h"
#include "stats/figures_csv.h"

#include <gtest/gtest.h>

using namespace kx;

TEST(Csv, FieldsAreQuotedOnlyWhenTheyMustBe) {
    EXPECT_EQ(csvField("Pepa"), "Pepa");
    EXPECT_EQ(csvField(""), "");
    EXPECT_EQ(csvField("a,b"), "\"a,b\"");
    EXPECT_EQ(csvField("Pepa \"Kos\""), "\"Pepa \"\"Kos\"\"\"");
    EXPECT_EQ(csvField("a\nb"), "\"a\nb\"");
    EXPECT_EQ(csvField("a\rb"), "\"a\rb\"");
    EXPECT_EQ(csvField(" a"), "\" a\"");
    EXPECT_EQ(csvField(QString::fromUtf8("Šimon")), "\xc5\xa0imon");
    EXPECT_EQ(csvLine({"1", "x,y", ""}), "1,\"x,y\",\r\n");
    EXPECT_EQ(csvHourText("2005-07-03-14-05-09"), "2005-03-07 14:00");
    EXPECT_EQ(csvHourText("2005-07"), "");
    EXPECT_EQ(csvHourText("-2147483648-01-01"), "");
}

namespace {

struct Figures : ::testing::Test {
    RecordFiles files;
    RecordedMessages messages;
    ReplaySession session{messages, QLocale::c()};
    WorldFigures load() {
        // Names with a comma and a quote, written in Windows-1250 by the record.
        const QStringList lines = {
            QString::fromUtf8("2005-07-03-14-00-00; Louka; 3; 4; 3; 4;"),
            QString::fromUtf8("2005-07-03-14-00-00; create_world; NNNNNBNNNNSN;"),
            QString::fromUtf8("2005-07-03-14-01-00; create_hq; Šimon, st.; louka; A0;"),
            QString::fromUtf8("2005-07-03-14-02-00; create_hq; Jana \"Rychlá\"; les; D2;"),
            QString::fromUtf8("2005-07-03-14-02-00; create_hq; Kuře; louka; A2;"),
            QString::fromUtf8("2005-07-03-15-10-00; attack; A0; A1; 0; 1; 0;"),
            QString::fromUtf8("2005-07-03-16-10-00; attack; D2; A2; 0; 1; 0;"),
        };
        EXPECT_TRUE(session.loadRecord(files.write("r.kxr", lines), RecordFormat::EventLog));
        return computeWorldFigures(session.state().lvData);
    }
};

} // namespace

TEST_F(Figures, FiguresOverTimeListTheChosenPlayersPerRow) {
    const WorldFigures f = load();
    const QByteArray csv = figuresCsv(f, {1, 0, 7, -1});
    const QList<QByteArray> lines = csv.split('\n');
    ASSERT_EQ(lines.size(), 1 + 3 * 2 + 1); // header, three rows of two players, the end
    EXPECT_EQ(lines[0], "hour,time,player,team,nectar,moves,territory,production\r");
    EXPECT_EQ(lines[1], "0,2005-03-07 14:00,\"Jana \"\"Rychlá\"\"\",les,500,15,1,12\r");
    EXPECT_EQ(lines[2],
              QString::fromUtf8("0,2005-03-07 14:00,\"Šimon, st.\",louka,500,15,1,12\r").toUtf8());
    // Šimon took A1 at 15:10: two fields, 24 ml/hod; one recount came before.
    EXPECT_EQ(lines[4],
              QString::fromUtf8("1,2005-03-07 15:00,\"Šimon, st.\",louka,512,14,2,24\r").toUtf8());
    EXPECT_TRUE(lines[7].isEmpty());
    EXPECT_EQ(figuresCsv(f), figuresCsv(f, {0, 1, 2}));
    EXPECT_EQ(figuresCsv(WorldFigures(), {0}), lines[0] + '\n');
}

TEST_F(Figures, SummaryRatesTheSurvivors) {
    const WorldFigures f = load();
    const QList<QByteArray> lines = summaryCsv(f).split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0],
              "player,team,survivor,experience,percent,kills,wins,nectar,production,fields\r");
    // Jana took Kuře's HQ: Kuře did not finish. Best: kills 1, wins 1, nectar, production.
    EXPECT_EQ(lines[1].left(lines[1].indexOf(",1,") + 3),
              QString::fromUtf8("\"Šimon, st.\",louka,1,").toUtf8());
    EXPECT_TRUE(lines[2].startsWith("\"Jana \"\"Rychlá\"\"\",les,1,"));
    EXPECT_EQ(lines[3], QString::fromUtf8("Kuře,louka,0,,,0,0,0,0,0\r").toUtf8());

    // The same experience as the end-of-world summary shows.
    while (!session.state().summaryShown)
        session.Button1Click();
    const QString janaLine = session.state().summary.at(4);
    const QList<QByteArray> jana = lines[2].split(',');
    EXPECT_TRUE(janaLine.startsWith(QString::fromUtf8("Jana \"Rychlá\" (les) ") +
                                    QString::fromUtf8(jana[3]) + QStringLiteral(" expů (") +
                                    QString::fromUtf8(jana[4]) + QStringLiteral("%)")))
        << janaLine.toStdString();
    EXPECT_EQ(summaryCsv(WorldFigures()), lines[0] + '\n');
}
