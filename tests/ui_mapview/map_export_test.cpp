#include "file_faults.h"

#include "mapview/ui/map_export.h"
#include "mapview/ui/map_picture.h"
#include "replay/session.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QWidget>

#include <cstring>
#include <functional>

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

namespace {

// AddressSanitizer keeps freed memory in quarantine, so a peak then measures the quarantine.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPeakMeasurable = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kPeakMeasurable = false;
#else
constexpr bool kPeakMeasurable = true;
#endif
#else
constexpr bool kPeakMeasurable = true;
#endif

// The growth of the process's peak memory over `work`, in bytes (Linux).
qint64 peakGrowth(const std::function<void()>& work) {
    auto resident = [](const char* field) {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return qint64(-1);
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith(field))
                return line.mid(qsizetype(std::strlen(field)))
                           .trimmed()
                           .split(' ')[0]
                           .toLongLong() *
                       1024;
        return qint64(-1);
    };
    QFile reset(QStringLiteral("/proc/self/clear_refs"));
    if (!reset.open(QIODevice::WriteOnly) || reset.write("5") != 1)
        return -1;
    reset.close();
    const qint64 before = resident("VmRSS:");
    work();
    return resident("VmHWM:") - before;
}

} // namespace

// A 1000 x 1000 world: the scale offered first keeps the picture within 8192 pixels, and even
// the full scale is drawn in strips, so memory stays small; a cancel leaves no file.
TEST(MapExport, ALargeWorldIsWrittenInStripsAndCanBeCancelled) {
    QTemporaryDir dir;
    QByteArray map(1000000, 'N');
    for (qsizetype i = 0; i < map.size(); i += 7)
        map[i] = "BSX"[i % 3];
    const QString record = dir.filePath("velka.kxr");
    {
        QFile file(record);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("2005-07-03-14-00-00; Velka; 1; 1000; 1000; 4;\r\n2005-07-03-14-00-00; "
                   "create_world; " +
                   map +
                   ";\r\n2005-07-03-14-01-00; create_hq; Pepa; louka; "
                   "A1;\r\n");
    }
    RecordedMessages messages;
    ReplaySession session(messages, QLocale::c());
    ASSERT_TRUE(session.loadRecord(record, RecordFormat::EventLog));
    const PictureScales scales = pictureScales(session);
    ASSERT_EQ(scales.zooms.value(scales.preferred), 40);
    EXPECT_EQ(scales.texts.value(scales.preferred),
              QString::fromUtf8("40 % (8\u00a0020 × 8\u00a0020 pixelů)"));

    QWidget style;
    const MapPicture picture(session, style.palette(), style.font(), 100);
    ASSERT_EQ(picture.size(), QSize(20020, 20020));
    const QString path = dir.filePath("mapa.png");
    QString error;
    int calls = 0;
    // 400 million pixels: 1.6 GB as one image. Cancelled after a tenth of the strips.
    const qint64 growth = peakGrowth([&] {
        error = picture.writePng(path, [&](int percent) { return ++calls < 2 || percent < 10; });
    });
    EXPECT_EQ(error, MapPicture::cancelledText());
    EXPECT_GT(calls, 4);
    EXPECT_EQ(test::entriesUnder(dir.path()), QStringList({"velka.kxr"}));
    EXPECT_GE(growth, 0);
    if (kPeakMeasurable) {
        EXPECT_LT(growth, qint64{64} << 20);
    }

    // At a quarter, whole: 25 million pixels, a 100 MB image, drawn in strips.
    const MapPicture quarter(session, style.palette(), style.font(), 25);
    const qint64 whole = peakGrowth([&] { error = quarter.writePng(path); });
    EXPECT_EQ(error, QString());
    if (kPeakMeasurable) {
        EXPECT_LT(whole, qint64{64} << 20);
    }
    EXPECT_EQ(QImageReader(path).size(), QSize(5020, 5020));
}
