#include "file_faults.h"

#include "mapview/ui/map_export.h"
#include "replay/session.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>

using namespace kx;

// A picture that cannot be written says why and leaves the picture saved before whole.
TEST(MapExport, AFailedSaveKeepsTheOlderPictureAndSaysWhy) {
    RecordedMessages messages;
    ReplaySession session(messages, QLocale::c());
    ASSERT_TRUE(
        session.loadRecord(QStringLiteral(KX_SAMPLES_DIR "/Kopretinova_louka_2026-11-14.kxr"),
                           RecordFormat::EventLog));
    QWidget style;
    QTemporaryDir dir;
    const QString path = dir.filePath("mapa.png");
    ASSERT_EQ(saveMapPicture(session, path, style), QString());
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray picture = saved.readAll();
    saved.close();
    EXPECT_FALSE(QImage::fromData(picture, "png").isNull());

    const QString gone = dir.filePath("pryc");
    ASSERT_TRUE(QDir().mkdir(gone));
    ASSERT_TRUE(QDir(gone).removeRecursively()); // the folder chosen, removed before the save
    const struct {
        QString path;
        rlim_t sizeLimit;
        const char* reason;
    } cases[] = {
        {path, 100, "File too large"},
        {gone + "/mapa.png", RLIM_INFINITY, "No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        QString error;
        {
            test::FileSizeLimit limit(c.sizeLimit);
            error = saveMapPicture(session, c.path, style);
        }
        EXPECT_TRUE(error.startsWith(QString::fromUtf8("Mapu nelze uložit do souboru")));
        EXPECT_TRUE(error.contains(c.reason)) << error.toStdString();
        EXPECT_EQ(test::entriesUnder(dir.path()), QStringList({"mapa.png"}));
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_EQ(saved.readAll(), picture);
        saved.close();
    }
}
