#include "tool_run.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SummaryBrowse : public ::testing::Test {
  protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    static QJsonDocument json(const ToolRun& run) { return QJsonDocument::fromJson(run.out); }
    QTemporaryDir dir;
};

// "Šimon" and "Mráz" in Windows-1250.
const QByteArray kLog = "\r\n2005-12-03-14-05-09; Mr\xe1z; 2; 5; 3; 4;\r\n"
                        "2005-12-03-14-05-09; create_world; NNBSNNXNNNSSSNn;\r\n"
                        "2005-12-03-14-06-00; create_hq; \x8aimon; les; C0;\r\n"
                        "2005-13-03-09-30-01; create_hq; Jana; louka; B2;\r\n";

} // namespace

TEST_F(SummaryBrowse, SummaryPrintsTheLabelsPlayersAndMessages) {
    const ToolRun run = runTool({QStringLiteral("summary"), write("Mraz_2005-03-12.kxr", kLog)});
    EXPECT_EQ(run.exitCode, 0);
    const QJsonObject o = json(run).object();
    EXPECT_EQ(o.value("lbMN").toString(), QString::fromUtf8("Mráz"));
    EXPECT_EQ(o.value("lbMR").toString(), QStringLiteral("5 x 3"));
    EXPECT_EQ(o.value("lbMS").toString(), QStringLiteral("4"));
    EXPECT_EQ(o.value("lbML").toString(), QStringLiteral("2"));
    EXPECT_EQ(o.value("lbTR").toString(), QStringLiteral("12. 03. - 14:05:09"));
    EXPECT_EQ(o.value("lbTS").toString(), QStringLiteral("12. 03. - 14:06:00"));
    EXPECT_EQ(o.value("lbPl").toArray(),
              QJsonArray({QString::fromUtf8("Šimon (les)"), QStringLiteral("Jana (louka)")}));
    EXPECT_EQ(o.value("messages").toArray(), QJsonArray());
}

TEST_F(SummaryBrowse, SummaryReportsADamagedRecordInMessages) {
    // Read as an XML record by its name, the event log is rejected without a message; read
    // as an event log, XML text has no world header.
    const ToolRun asXml = runTool({QStringLiteral("summary"), write("a.kxr2", kLog)});
    EXPECT_EQ(asXml.exitCode, 0);
    EXPECT_EQ(json(asXml).object().value("messages").toArray(), QJsonArray());
    EXPECT_EQ(json(asXml).object().value("lbMN").toString(), QString());

    const ToolRun damaged =
        runTool({QStringLiteral("summary"), write("b.kxr", "<?xml?>\n<record>\n")});
    EXPECT_EQ(damaged.exitCode, 0);
    const QJsonObject o = json(damaged).object();
    EXPECT_EQ(o.value("messages").toArray(),
              QJsonArray({QString::fromUtf8("Záznam je zřejmě poškozen.")}));
    EXPECT_EQ(o.value("lbPl").toArray(), QJsonArray());
}

TEST_F(SummaryBrowse, SummaryOfTheBundledSamplesAgree) {
    const ToolRun xml =
        runTool({QStringLiteral("summary"),
                 QStringLiteral(KX_SAMPLES_DIR "/Kopretinova_louka_2026-11-14.kxr2")});
    const ToolRun log =
        runTool({QStringLiteral("summary"),
                 QStringLiteral(KX_SAMPLES_DIR "/Kopretinova_louka_2026-11-14.kxr")});
    EXPECT_EQ(xml.exitCode, 0);
    EXPECT_EQ(xml.out, log.out);
    EXPECT_EQ(json(xml).object().value("lbPl").toArray().size(), 5);
}

TEST_F(SummaryBrowse, BrowseListsTheRowsInOrder) {
    write("Arena_2005-03-12.kxr2", {});
    write("Big_Map_2004-11-30.kxr", {});
    write("bez_data.KXR", {});
    write(".kxr", {});
    write("readme.txt", {});
    const ToolRun run =
        runTool({QStringLiteral("browse"), dir.path()}, QStringLiteral("cs_CZ.UTF-8"));
    EXPECT_EQ(run.exitCode, 0);
    const QJsonArray expected = {
        QJsonObject{{"map", "Arena"},
                    {"date", "12. 03. 2005"},
                    {"base", "Arena_2005-03-12"},
                    {"type", "kxr2"}},
        QJsonObject{{"map", "bez"}, {"date", ". . data"}, {"base", "bez_data"}, {"type", "kxr"}},
        QJsonObject{{"map", "Big_Map"},
                    {"date", "30. 11. 2004"},
                    {"base", "Big_Map_2004-11-30"},
                    {"type", "kxr"}},
    };
    EXPECT_EQ(json(run).array(), expected);

    const ToolRun empty = runTool({QStringLiteral("browse"), dir.filePath("nic")});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_TRUE(empty.out.isEmpty());
    ASSERT_TRUE(QDir(dir.path()).mkdir("nic"));
    EXPECT_EQ(runTool({QStringLiteral("browse"), dir.filePath("nic")}).out, QByteArray("[]\n"));
}

TEST_F(SummaryBrowse, UsageAndFileErrors) {
    for (const QStringList& args :
         {QStringList{"summary"}, QStringList{"summary", "a", "b"}, QStringList{"summary", "--x"},
          QStringList{"browse"}, QStringList{"browse", "a", "b"}}) {
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.startsWith(QByteArray("Použití: kxrtool ")));
    }
    const ToolRun missing = runTool({QStringLiteral("summary"), dir.filePath("missing.kxr")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_FALSE(missing.err.isEmpty());
}
