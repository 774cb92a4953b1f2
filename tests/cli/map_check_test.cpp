#include "tool_run.h"

#include "editor/map_file.h"
#include "records/user_messages.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct MapCheck : ::testing::Test {
    QTemporaryDir dir;

    // A 4 x 3 map saved by the editor: swamp with 12 "Hovado" at A0, impassable B0.
    QString savedMap() {
        kx::MapEditor editor;
        editor.allocateMap(4, 3);
        editor.image1Click(kx::kEditorSwamp);
        editor.paintCount = 12;
        editor.dgMapSelectCell(1, 1, 2);
        editor.image1Click(0);
        editor.dgMapSelectCell(2, 1, 0);
        kx::RecordedMessages messages;
        QString path;
        const kx::MapTexts texts{QString::fromUtf8("Řeka"),
                                 QStringLiteral("Eva"),
                                 {},
                                 QStringLiteral("03"),
                                 QStringLiteral("8"),
                                 "0",
                                 "90"};
        EXPECT_TRUE(kx::saveMap(editor, texts, dir.path(), messages, &path));
        return path;
    }
};

TEST_F(MapCheck, AMapPrintsItsSummary) {
    const ToolRun run = runTool({QStringLiteral("map"), QStringLiteral("check"), savedMap()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(o.value("name").toString(), QString::fromUtf8("Řeka"));
    EXPECT_EQ(o.value("width").toInt(), 4);
    EXPECT_EQ(o.value("height").toInt(), 3);
    EXPECT_EQ(o.value("speed").toInt(), 3);
    EXPECT_EQ(o.value("max").toInt(), 90);
    const QJsonObject terrain = o.value("terrain").toObject();
    EXPECT_EQ(terrain.value(QString::fromUtf8("normální")).toInt(), 10);
    EXPECT_EQ(terrain.value(QString::fromUtf8("bažina")).toInt(), 1);
    EXPECT_EQ(terrain.value(QString::fromUtf8("nedobytné")).toInt(), 1);
    EXPECT_EQ(o.value("unitFields").toInt(), 1);
    EXPECT_EQ(o.value("units").toObject().value("Hovado").toInt(), 12);
}

TEST_F(MapCheck, ADamagedMapIsReportedOnStandardError) {
    const QString path = savedMap();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    bytes.replace("<id>11</id>", "<id>12</id>");
    file.resize(0);
    file.write(bytes);
    file.close();
    const ToolRun run = runTool({QStringLiteral("map"), QStringLiteral("check"), path});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(QString::fromUtf8(run.err).contains(QString::fromUtf8("mimo mapu 4 × 3")));
}

TEST_F(MapCheck, UsageAndHelp) {
    const struct {
        QStringList args;
        int exitCode;
    } cases[] = {
        {{"map", "check", "--help"}, 0},   {{"map"}, 2},
        {{"map", "kontrola", "x.xml"}, 2}, {{"map", "check", "a.xml", "b.xml"}, 2},
        {{"map", "check", "--strict"}, 2},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE((c.exitCode == 0 ? run.out : run.err).contains("map check SOUBOR"));
    }
}

} // namespace
