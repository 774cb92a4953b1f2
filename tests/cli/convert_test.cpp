#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include "tool_run.h"

#include <gtest/gtest.h>

namespace {

class ConvertCommand : public ::testing::Test {
  protected:
    QString write(const char* name, const QByteArray& bytes) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QTemporaryDir dir;
};

// A record in Windows-1250 ("komár" holds the byte E1), LF line ends, indented with blanks.
const QByteArray kRecord =
    "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\n<record>\n"
    "  <world><id>1</id><name>Arena</name><created>1110200709</created><w>3</w><h>2</h>"
    "<players>1</players><speed>4</speed><map>NNBSNN</map></world>\n"
    "<events>\n"
    "  <chq><t>1110200710</t><n>Pepa</n><c>A0</c><team>les</team></chq>\n"
    "  <buy><t>1110200760</t><c>A0</c><k>kom\xe1r</k><n>10</n></buy>\n"
    "</events>\n</record>\n";

} // namespace

TEST_F(ConvertCommand, PrintsTheEventLogAsWindows1250WithCrLf) {
    const ToolRun run = runTool({QStringLiteral("convert"), write("a.kxr2", kRecord)});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QByteArray("2005-07-03-15-05-09; Arena; 1; 3; 2; 4;\r\n"
                                  "2005-07-03-15-05-09; create_world; NNBSNN;\r\n"
                                  "\r\n"
                                  "2005-07-03-15-05-10; create_hq; Pepa; les; A0;\r\n"
                                  "2005-07-03-15-06-00; buy; A0; kom\xe1r; 10;\r\n"));
    EXPECT_TRUE(run.err.isEmpty());
}

TEST_F(ConvertCommand, ReportsAFailedConversionOnlyOnStandardError) {
    QByteArray unclosed = kRecord;
    unclosed.replace("</events>", "</evnts>");
    for (const QByteArray& bytes : {unclosed, QByteArray(), QByteArray("not a record")}) {
        const ToolRun run = runTool({QStringLiteral("convert"), write("bad.kxr2", bytes)});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(QString::fromUtf8(run.err), QStringLiteral("Nepodařilo se přečíst záznam.\n"));
    }
}

TEST_F(ConvertCommand, RejectsUsageErrorsWithOneLine) {
    const QString file = write("a.kxr2", kRecord);
    const QList<QStringList> usages = {
        {},
        {QStringLiteral("conv"), file},
        {QStringLiteral("convert")},
        {QStringLiteral("convert"), file, file},
        {QStringLiteral("convert"), QStringLiteral("--as"), file},
    };
    for (const QStringList& arguments : usages) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith("Pou\xc5\xbeit\xc3\xad: kxrtool ")); // UTF-8
        EXPECT_EQ(run.err.count('\n'), 1);
        EXPECT_TRUE(run.err.endsWith('\n'));
    }
}

TEST_F(ConvertCommand, FailsOnFilesThatCannotBeRead) {
    for (const QString& path : {dir.filePath(QStringLiteral("missing.kxr2")), dir.path()}) {
        const ToolRun run = runTool({QStringLiteral("convert"), path});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains(path.toUtf8())) << run.err.constData();
    }
}

TEST_F(ConvertCommand, ConvertsTheBundledSampleIntoItsEventLog) {
    const QString base = QStringLiteral(KX_SAMPLES_DIR "/Kopretinova_louka_2026-11-14");
    QFile expected(base + QStringLiteral(".kxr"));
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly));
    const ToolRun run = runTool({QStringLiteral("convert"), base + QStringLiteral(".kxr2")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out == expected.readAll());
}
