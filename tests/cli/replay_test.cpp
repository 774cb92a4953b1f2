#include "tool_run.h"

#include "record_files.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

const QString kSampleXml = QStringLiteral(KX_SAMPLES_DIR "/Kopretinova_louka_2026-11-14.kxr2");
const QString kSampleLog = QStringLiteral(KX_SAMPLES_DIR "/Kopretinova_louka_2026-11-14.kxr");

QJsonObject replay(const QStringList& arguments, const QString& locale = QString()) {
    const ToolRun run = runTool(QStringList{QStringLiteral("replay")} + arguments, locale);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    return QJsonDocument::fromJson(run.out).object();
}

const char* const kKeys[] = {
    "messages",     "caption",      "players",    "selected",      "width",       "height",
    "movesPerHour", "eventCount",   "eventIndex", "lastEventTime", "liveDisplay", "highlightOwner",
    "viewFilter",   "fieldGrid",    "unitGrid",   "playerTable",   "info",        "time",
    "slideShow",    "summaryShown", "summary",    "stats",         "inspector"};

} // namespace

TEST(ReplayCommand, BeforeAnyActionShowsTheLoadedRecordWithExactlyTheKeys) {
    const QJsonObject state = replay({kSampleXml});
    EXPECT_EQ(state.size(), int(std::size(kKeys)));
    for (const char* key : kKeys)
        EXPECT_TRUE(state.contains(QLatin1String(key))) << key;
    EXPECT_EQ(state["caption"].toString(), QString::fromUtf8(" Kopretinová louka - hráči "));
    EXPECT_EQ(state["players"].toArray().size(), 5);
    EXPECT_EQ(state["eventIndex"].toInt(), 7);
    EXPECT_EQ(state["fieldGrid"].toArray().size(), 20);
    EXPECT_EQ(state["fieldGrid"].toArray()[0].toArray().size(), 20);
    EXPECT_EQ(state["playerTable"].toArray()[0].toArray().size(), 8);
    EXPECT_EQ(state["slideShow"].toObject()["edTime"].toString(), "200");
    EXPECT_TRUE(state["info"].toArray().isEmpty());
}

TEST(ReplayCommand, BothFormatsOfTheSampleReplayAlikeToTheirSummary) {
    const QJsonObject xml = replay({kSampleXml, "--do", "end"});
    const QJsonObject log = replay({kSampleLog, "--do", "end"});
    EXPECT_TRUE(xml["summaryShown"].toBool());
    EXPECT_EQ(xml["eventIndex"], xml["eventCount"]);
    EXPECT_TRUE(xml["summary"].toArray()[0].toString().startsWith(
        QString::fromUtf8("Svět skončil. Vyhrál typ ")));
    for (const char* key : {"fieldGrid", "unitGrid", "playerTable", "info", "summary", "time"})
        EXPECT_EQ(xml[key], log[key]) << key;
}

TEST(ReplayCommand, ActionsActOnTheMainWindow) {
    const QJsonObject state =
        replay({kSampleLog, "--do", "f10,f,b,sel:1,pt:c5,view:2,ed:1000,start"});
    EXPECT_EQ(state["eventIndex"].toInt(), 7 + 10);
    EXPECT_EQ(state["selected"].toInt(), 1);
    EXPECT_FALSE(state["stats"].toObject()["lbPT"].toString().isEmpty());
    EXPECT_EQ(state["inspector"].toObject()["lbFN"].toString(), "C5");
    EXPECT_EQ(state["viewFilter"].toInt(), 2);
    EXPECT_EQ(state["slideShow"].toObject(),
              (QJsonObject{{"enabled", true}, {"interval", 1000}, {"edTime", "1000"}}));
    EXPECT_EQ(state["info"].toArray().last().toString(), QStringLiteral("Akce 16 z 307"));

    // The timer only ticks while it runs; "next" only while the summary is shown.
    const QJsonObject ticked = replay({kSampleLog, "--do", "tick,start,tick,tick,next"});
    EXPECT_EQ(ticked["eventIndex"].toInt(), 9);

    const QJsonObject stopped = replay({kSampleLog, "--do", "sel:1,sel:-1,start,stop,tick"});
    EXPECT_EQ(stopped["selected"].toInt(), -1);
    EXPECT_FALSE(stopped["slideShow"].toObject()["enabled"].toBool());
    EXPECT_EQ(stopped["eventIndex"].toInt(), 7);
}

TEST(ReplayCommand, DecimalSeparatorFollowsTheLocale) {
    const QJsonArray c = replay({kSampleLog, "--do", "end"}, "C")["summary"].toArray();
    const QJsonArray czech =
        replay({kSampleLog, "--do", "end"}, "cs_CZ.UTF-8")["summary"].toArray();
    EXPECT_EQ(c[4].toString(), QString::fromUtf8("Jana (les) 3895 expů (32.45%)"));
    EXPECT_EQ(czech[4].toString(), QString::fromUtf8("Jana (les) 3895 expů (32,45%)"));
}

TEST(ReplayCommand, ReportsUsageErrorsAndUnreadableFiles) {
    EXPECT_EQ(runTool({"replay"}).exitCode, 2);
    for (const char* actions : {"jump", "pt:5", "pt:c", "hl:2", "sel:x", "f,view:"})
        EXPECT_EQ(runTool({"replay", kSampleLog, "--do", actions}).exitCode, 2) << actions;
    EXPECT_EQ(runTool({"replay", kSampleLog, "--as", "csv"}).exitCode, 2);
    EXPECT_EQ(runTool({"replay", kSampleLog, "--do"}).exitCode, 2);
    EXPECT_EQ(runTool({"replay", kSampleLog, "--bogus"}).exitCode, 2);
    const ToolRun missing = runTool({"replay", "/nonexistent/x.kxr"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(missing.err.isEmpty());
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_EQ(runTool({"replay", KX_SAMPLES_DIR}).exitCode, 1) << "a directory is not a record";
}

TEST(Kxrtool, HelpAndVersionGoToStandardOutput) {
    struct Case {
        QStringList args;
        const char* starts;
    };
    for (const Case& c : {Case{{"--help"}, "Použití:\n  kxrtool convert SOUBOR\n"},
                          Case{{"-h"}, "Použití:\n  kxrtool convert SOUBOR\n"},
                          Case{{"stats", "--help"}, "Použití: kxrtool stats SOUBOR"},
                          Case{{"--version"}, "kxrtool 0.5.0\n"}}) {
        const ToolRun run = runTool(c.args);
        EXPECT_EQ(run.exitCode, 0) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.out.startsWith(c.starts)) << run.out.constData();
        EXPECT_TRUE(run.err.isEmpty());
    }
    for (const QStringList& args : {QStringList{}, QStringList{"--bogus"},
                                    QStringList{"--help", "x"}, QStringList{"--version", "x"}}) {
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith("Použití: kxrtool convert SOUBOR | "))
            << run.err.constData();
    }
}

TEST(ReplayCommand, ADamagedRecordIsReportedInMessagesWithExitZero) {
    RecordFiles files;
    const QString path = files.write("bad.kxr2", {"<record>"});
    const QJsonObject state = replay({path, "--do", "f,end"});
    EXPECT_EQ(state["messages"].toArray(),
              QJsonArray{QString::fromUtf8("Nepodařilo se přečíst záznam.")});
    EXPECT_EQ(state["width"].toInt(), 20) << "the blank world stays";
    EXPECT_EQ(state["caption"].toString(), QString::fromUtf8(" Hráči ")) << "as the window";
    EXPECT_EQ(state["eventCount"].toInt(), 0);
    // Read as an event log the same file fails the world build instead.
    const QJsonObject asLog = replay({path, "--as", "log"});
    EXPECT_EQ(
        asLog["messages"].toArray(),
        QJsonArray{QString::fromUtf8("Záznam je zřejmě poškozen.\nChyba: nenalezena hlavička")});
    EXPECT_EQ(asLog["caption"].toString(), QString::fromUtf8(" Hráči "));
}
