#include "file_faults.h"
#include "generated_session.h"
#include "tool_run.h"

#include "clips/clip_frames.h"
#include "clips/ui/clip_encoder.h"
#include "clips/ui/clip_job.h"
#include "mapview/ui/map_grid.h"
#include "mapview/ui/map_renderer.h"
#include "mapview/ui/own_icon_cells.h"
#include "mapview/ui/session_map_source.h"
#include "replay/session.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <cmath>

using namespace kx;

namespace {

using Loaded = GeneratedSession;

void load(Loaded& loaded, int events = 300, int players = 4) {
    ASSERT_TRUE(loaded.load(21, events, players));
}

// What a decoder finds in a clip: frames, size and seconds.
struct Probed {
    int frames = -1;
    QSize size;
    double seconds = -1;
};

QByteArray run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return process.readAllStandardOutput();
}

Probed probe(const QString& path) {
    Probed probed;
    if (path.endsWith(QLatin1String(".webp"))) { // FFmpeg 5.1 cannot decode animated WebP
        const QString info =
            QString::fromUtf8(run(QStringLiteral("webpmux"), {QStringLiteral("-info"), path}));
        const auto canvas =
            QRegularExpression(QStringLiteral("Canvas size: (\\d+) x (\\d+)")).match(info);
        const auto count =
            QRegularExpression(QStringLiteral("Number of frames: (\\d+)")).match(info);
        if (!canvas.hasMatch() || !count.hasMatch())
            return probed;
        probed.size = QSize(canvas.captured(1).toInt(), canvas.captured(2).toInt());
        probed.frames = count.captured(1).toInt();
        // Frame rows: "  N:  width height alpha x y duration ..."
        double milliseconds = 0;
        const QRegularExpression row(
            QStringLiteral("^\\s*\\d+:\\s+\\d+\\s+\\d+\\s+\\w+\\s+\\d+\\s+\\d+\\s+(\\d+)"),
            QRegularExpression::MultilineOption);
        for (auto it = row.globalMatch(info); it.hasNext();)
            milliseconds += it.next().captured(1).toDouble();
        probed.seconds = milliseconds / 1000;
        return probed;
    }
    const QJsonObject json =
        QJsonDocument::fromJson(
            run(QStringLiteral("ffprobe"),
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-count_frames"),
                 QStringLiteral("-show_entries"),
                 QStringLiteral("stream=nb_read_frames,width,height:format=duration"),
                 QStringLiteral("-of"), QStringLiteral("json"), path}))
            .object();
    const QJsonObject stream = json[QLatin1String("streams")].toArray().first().toObject();
    probed.frames = stream[QLatin1String("nb_read_frames")].toString().toInt();
    probed.size =
        QSize(stream[QLatin1String("width")].toInt(), stream[QLatin1String("height")].toInt());
    probed.seconds =
        json[QLatin1String("format")].toObject()[QLatin1String("duration")].toString().toDouble();
    return probed;
}

int frameCount(const ClipRecord& record, const ClipSettings& settings) {
    ClipFrames frames(record, settings.from, settings.to, settings.pace);
    int count = 0;
    while (frames.next())
        ++count;
    return count;
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

} // namespace

// Each format holds the frames, size and duration asked, as its decoder reads them back.
TEST(ClipExportTest, EachFormatHoldsTheFramesSizeAndDurationAsked) {
    Loaded loaded;
    load(loaded);
    const ClipRecord record = clipRecordOf(loaded.session);
    struct Case {
        const char* name;
        FramePace pace;
        int fps;
        int zoom;
        bool caption;
    };
    const Case cases[] = {{"a.mp4", FramePace::Event, 25, 100, true},
                          {"b.mp4", FramePace::Hour, 5, 25, false}, // 105 pixels: made even
                          {"c.webm", FramePace::Event, 20, 50, true},
                          {"d.gif", FramePace::Event, 10, 100, true},
                          {"e.gif", FramePace::Hour, 4, 75, false},
                          {"f.webp", FramePace::Event, 20, 100, false},
                          {"g.webp", FramePace::Hour, 2, 50, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClipSettings settings;
        settings.from = record.firstEvent + 10;
        settings.to = record.firstEvent + 130;
        settings.pace = c.pace;
        settings.fps = c.fps;
        settings.zoom = c.zoom;
        settings.caption = c.caption;
        const ClipFormat format = *clipFormatFor(QString::fromLatin1(c.name));
        ClipJob job(record, settings, format, QApplication::palette(), QApplication::font());
        const QString path = loaded.files.path(QString::fromLatin1(c.name));
        const ClipOutcome outcome = job.write(path);
        ASSERT_EQ(outcome.error, QString());

        const OwnIconCells cells(record.initialWorld, record.gridSize, IconContext{}, 1.0);
        MapRenderer sized(cells);
        sized.setZoom(c.zoom);
        QSize expected = sized.size();
        if (c.caption)
            expected.rheight() += 2 * (QFontMetrics(QApplication::font()).height() + 4);
        if (ClipEncoder::needsEvenSize(format))
            expected = QSize(expected.width() + expected.width() % 2,
                             expected.height() + expected.height() % 2);
        const int frames = frameCount(record, settings);
        EXPECT_EQ(outcome.frames, frames);
        EXPECT_EQ(outcome.size, expected);

        const Probed probed = probe(path);
        // An animated WebP keeps a frame equal to the one before as a longer one.
        if (format == ClipFormat::WebP && !c.caption)
            EXPECT_LE(probed.frames, frames);
        else
            EXPECT_EQ(probed.frames, frames);
        EXPECT_EQ(probed.size, expected);
        EXPECT_NEAR(probed.seconds, double(frames) / c.fps, 0.011);
    }
}

// Frames after the first redraw only the cells whose icons changed; each is the same picture
// as one drawn whole, in every view, with a highlight and at another zoom.
TEST(ClipExportTest, FramesDrawnInPartsEqualFramesDrawnWhole) {
    Loaded loaded;
    load(loaded, 200);
    const ClipRecord record = clipRecordOf(loaded.session);
    for (const auto& [view, owner, zoom] :
         {std::tuple{MapView::All, 0, 100}, std::tuple{MapView::Louka, 2, 50},
          std::tuple{MapView::Les, 1, 150}, std::tuple{MapView::Preview, 0, 100}}) {
        ClipSettings settings;
        settings.view = view;
        settings.highlightOwner = owner;
        settings.zoom = zoom;
        settings.from = record.firstEvent;
        settings.to = record.eventCount() - 1;
        ClipFrames frames(record, settings.from, settings.to, FramePace::Event);
        ASSERT_TRUE(frames.next());
        ClipCanvas canvas(frames.world(), record.gridSize, record.players, settings,
                          QApplication::palette(), QApplication::font());
        ClipCanvas whole(frames.world(), record.gridSize, record.players, settings,
                         QApplication::palette(), QApplication::font());
        do {
            whole.forgetDrawn();
            ASSERT_EQ(canvas.draw(), whole.draw()) << int(view) << " " << frames.eventIndex();
        } while (frames.next());
    }
}

// kxrtool render draws what the window shows at that event, pixel for pixel.
TEST(ClipExportTest, RenderedPictureEqualsTheWindowsGrab) {
    Loaded loaded;
    load(loaded);
    ReplaySession& session = loaded.session;
    MapGrid grid;
    grid.setSource(std::make_unique<SessionMapSource>(session));
    grid.resize(1000, 800);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    const int32_t last = session.eventCount() - 1;
    for (const auto& [event, view, zoom, highlight] :
         {std::tuple{session.firstEventIndex(), 0, 100, false}, std::tuple{150, 1, 100, true},
          std::tuple{last, 3, 50, false}, std::tuple{last - 7, 2, 150, true}}) {
        SCOPED_TRACE(event);
        session.jumpTo(event);
        session.cbViewChange(view);
        grid.setZoom(zoom);
        QStringList arguments = {
            QStringLiteral("render"),  loaded.path,
            QStringLiteral("--at"),    QString::number(event),
            QStringLiteral("--view"),  QStringList{"all", "louka", "les", "nahled"}[view],
            QStringLiteral("--scale"), QString::number(zoom / 100.0),
            QStringLiteral("-o"),      loaded.files.path(QStringLiteral("r.png"))};
        session.setHighlightFields(highlight);
        if (highlight) { // the pointer on a player's field highlights theirs
            const World& world = session.state().world;
            for (int x = 0; x < world.width() && session.highlightOwner() == 0; ++x)
                for (int y = 0; y < world.height() && session.highlightOwner() == 0; ++y)
                    session.dgMapMouseMove(x + 1, y + 1);
            ASSERT_NE(session.highlightOwner(), 0);
            const QString item = session.state().cbPlayers[session.highlightOwner() - 1];
            arguments << QStringLiteral("--highlight") << item;
        }
        grid.viewport()->update();
        const ToolRun tool = runTool(arguments);
        ASSERT_EQ(tool.exitCode, 0) << tool.err.constData();
        const QImage rendered(loaded.files.path(QStringLiteral("r.png")));
        const QImage shown =
            grid.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(rendered.isNull());
        EXPECT_EQ(rendered.convertToFormat(QImage::Format_RGB32),
                  shown.copy(QRect(QPoint(), rendered.size())));
    }
    grid.setSource(nullptr);
}

// A cancelled or failed clip leaves no file, and a clip of the same name as it was.
TEST(ClipExportTest, ACancelledOrFailedClipLeavesTheOldFileAsItWas) {
    Loaded loaded;
    load(loaded);
    const ClipRecord record = clipRecordOf(loaded.session);
    ClipSettings settings;
    settings.from = record.firstEvent;
    settings.to = record.eventCount() - 1;
    const QString path = loaded.files.writeBytes(QStringLiteral("old.mp4"), "old clip");
    const QStringList before = filesIn(QFileInfo(path).path());
    {
        ClipJob job(record, settings, ClipFormat::Mp4, QApplication::palette(),
                    QApplication::font());
        const ClipOutcome outcome = job.write(path, [](int percent) { return percent < 50; });
        EXPECT_TRUE(outcome.cancelled);
        EXPECT_EQ(outcome.error, ClipJob::cancelledText());
    }
    {
        const kx::test::FileSizeLimit limit(20000);
        ClipJob job(record, settings, ClipFormat::Gif, QApplication::palette(),
                    QApplication::font());
        const ClipOutcome outcome = job.write(path);
        EXPECT_TRUE(outcome.error.contains(QDir::toNativeSeparators(path)))
            << outcome.error.toStdString();
        EXPECT_FALSE(outcome.cancelled);
    }
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old clip"));
    EXPECT_EQ(filesIn(QFileInfo(path).path()), before);
}

// Bad input on the command line: a clear message, the exit status of its kind, no file.
TEST(ClipExportTest, BadCommandLinesWriteNothing) {
    Loaded loaded;
    load(loaded, 60, 2);
    const QString out = loaded.files.path(QStringLiteral("out.mp4"));
    const QString first = QString::number(loaded.session.firstEventIndex());
    const QString last = QString::number(loaded.session.eventCount() - 1);
    const QString beyond = QString::number(loaded.session.eventCount());
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* says;
    };
    const Case cases[] = {
        {{"clip", loaded.path, "--from", first, "--to", beyond, "-o", out}, 1, "nejsou v záznamu"},
        {{"clip", loaded.path, "--from", last, "--to", first, "-o", out}, 1, "nejsou v záznamu"},
        {{"render", loaded.path, "--at", "0", "-o", loaded.files.path("r.png")},
         1,
         "nejsou v záznamu"},
        {{"clip", loaded.path, "--from", first, "--to", last, "--view", "vse", "-o", out},
         2,
         "Neznámý pohled"},
        {{"clip", loaded.path, "--from", first, "--to", last, "--highlight", "Nikdo", "-o", out},
         1,
         "Nikdo"},
        {{"clip", loaded.path, "--from", first, "--to", last, "-o", loaded.files.path("c.avi")},
         2,
         ".webp"},
        {{"clip", loaded.path, "--from", first, "--to", last, "--fps", "0", "-o", out}, 2, "--fps"},
        {{"clip", loaded.path, "--from", first, "--to", last, "--scale", "5", "-o", out},
         2,
         "Měřítko"},
        {{"clip", loaded.path, "--from", "x", "--to", last, "-o", out}, 2, "--from"},
        {{"clip", loaded.path, "--from", first, "--to", last, "-o", loaded.files.path("no/c.mp4")},
         1,
         "no/c.mp4"},
        {{"clip", loaded.files.path("missing.kxr"), "--from", "0", "--to", "1", "-o", out},
         1,
         "missing.kxr"},
        {{"render", loaded.path, "--at", first, "-o", loaded.files.path("r.jpg")}, 2, "PNG"},
        {{"render", loaded.path, "--at", first, "--caption", "-o", loaded.files.path("r.png")},
         2,
         "render"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const ToolRun tool = runTool(c.arguments);
        EXPECT_EQ(tool.exitCode, c.exitCode);
        EXPECT_TRUE(QString::fromUtf8(tool.err).contains(QString::fromUtf8(c.says)))
            << tool.err.constData();
        EXPECT_TRUE(tool.out.isEmpty());
    }
    EXPECT_EQ(filesIn(QFileInfo(out).path()), QStringList{QFileInfo(loaded.path).fileName()});
}
