#include "tool_run.h"

#include "record_files.h"

#include "records/record_loader.h"
#include "replay/session.h"
#include "stats/figures_csv.h"

#include <gtest/gtest.h>

namespace {

class StatsCommand : public ::testing::Test {
  protected:
    QString write(const QString& name, const QByteArray& bytes) {
        return files.writeBytes(name, bytes);
    }
    // What the charts window would export for the record.
    static kx::WorldFigures figuresOf(const QString& path, kx::RecordFormat reading) {
        kx::RecordedMessages messages;
        kx::ReplaySession session(messages, QLocale::c());
        EXPECT_TRUE(session.loadRecord(path, reading));
        return kx::computeWorldFigures(session.state().lvData);
    }
    RecordFiles files;
};

// "Šimon" in Windows-1250; Šimon takes B0 at 15:10, Jana buys at 17:00.
const QByteArray kLog = "2005-07-03-14-00-00; Louka; 2; 4; 3; 4;\r\n"
                        "2005-07-03-14-00-00; create_world; NNNNNBNNNNSN;\r\n"
                        "2005-07-03-14-01-00; create_hq; \x8aimon; louka; A0;\r\n"
                        "2005-07-03-14-02-00; create_hq; Jana; les; D2;\r\n"
                        "2005-07-03-15-10-00; attack; A0; B0; 0; 1; 0;\r\n"
                        "2005-07-03-17-00-00; buy; D2; kom\xe1r; 3;\r\n";

} // namespace

TEST_F(StatsCommand, PrintsEveryPlayersFiguresAsTheChartsExportThem) {
    const QString path = write("Louka_2005-03-07.kxr", kLog);
    const ToolRun run = runTool({"stats", path, "--csv"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.isEmpty());
    EXPECT_EQ(run.out, kx::figuresCsv(figuresOf(path, kx::RecordFormat::EventLog)));
    EXPECT_TRUE(run.out.startsWith("hour,time,player,team,nectar,moves,territory,production\r\n"
                                   "0,2005-03-07 14:00,\xc5\xa0imon,louka,500,15,1,12\r\n"));
    EXPECT_TRUE(run.out.endsWith("3,2005-03-07 17:00,Jana,les,530,26,1,12\r\n"));

    // The summary of the end of the world, with the options in any order.
    const ToolRun summary = runTool({"stats", "--summary", path, "--as", "log", "--csv"});
    EXPECT_EQ(summary.exitCode, 0);
    EXPECT_EQ(summary.out, kx::summaryCsv(figuresOf(path, kx::RecordFormat::EventLog)));
    EXPECT_EQ(summary.out.count('\n'), 3);
}

TEST_F(StatsCommand, ReadsTheRecordAsTheOtherCommandsDo) {
    // Read as an XML record by its name, the event log builds no world: the header only, and
    // the loader's message on standard error, as a damaged record in the viewer.
    const QString asXml = write("a.kxr2", kLog);
    const ToolRun xml = runTool({"stats", asXml, "--csv"});
    EXPECT_EQ(xml.exitCode, 0);
    EXPECT_EQ(xml.out, "hour,time,player,team,nectar,moves,territory,production\r\n");
    const ToolRun log = runTool({"stats", asXml, "--as", "log", "--csv"});
    EXPECT_EQ(log.out, kx::figuresCsv(figuresOf(asXml, kx::RecordFormat::EventLog)));

    const ToolRun damaged = runTool({"stats", write("b.kxr", "nic;\r\n"), "--csv"});
    EXPECT_EQ(damaged.exitCode, 0);
    EXPECT_EQ(damaged.out.count('\n'), 1);
    EXPECT_TRUE(QString::fromUtf8(damaged.err).contains(QString::fromUtf8("poškozen")));
}

TEST_F(StatsCommand, HoursAreNumberedByTheCalendarAcrossMonthDays) {
    // From 1 August 23:10 to 3 August 18:24 the clock runs 43 hours on.
    const QString path =
        write("Louka_2005-08-01.kxr", "2005-01-08-22-00-00; Louka; 2; 4; 3; 4;\r\n"
                                      "2005-01-08-22-00-00; create_world; NNNNNBNNNNSN;\r\n"
                                      "2005-01-08-22-01-00; create_hq; Pepa; louka; A0;\r\n"
                                      "2005-01-08-22-02-00; create_hq; Jana; les; D2;\r\n"
                                      "2005-01-08-23-10-00; buy; A0; kom\xe1r; 1;\r\n"
                                      "2005-03-08-18-24-00; buy; D2; kom\xe1r; 1;\r\n");
    const ToolRun run = runTool({"stats", path, "--csv"});
    EXPECT_EQ(run.exitCode, 0);
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 7);
    EXPECT_TRUE(lines[3].startsWith("1,2005-08-01 23:00,Pepa,")) << lines[3].constData();
    EXPECT_TRUE(lines[5].startsWith("44,2005-08-03 18:00,Pepa,")) << lines[5].constData();
}

TEST_F(StatsCommand, UsageAndFileErrors) {
    const QString path = write("c.kxr", kLog);
    for (const QStringList& args :
         {QStringList{"stats"}, QStringList{"stats", path}, QStringList{"stats", "--csv"},
          QStringList{"stats", path, "--csv", "--json"}, QStringList{"stats", path, path, "--csv"},
          QStringList{"stats", path, "--csv", "--as"},
          QStringList{"stats", path, "--csv", "--as", "html"}}) {
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith("Použití: kxrtool stats SOUBOR")) << run.err.constData();
    }
    const ToolRun missing = runTool({"stats", files.path("none.kxr"), "--csv"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_FALSE(missing.err.isEmpty());

    // The program's own usage names the command.
    EXPECT_TRUE(runTool({}).err.contains("stats SOUBOR [--as xml|log] --csv [--summary]"));
}
