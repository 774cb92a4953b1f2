#include "clip_commands.h"

#include "cli_common.h"

#include "clips/clip_frames.h"
#include "clips/clip_options.h"
#include "clips/ui/clip_job.h"
#include "records/numbers.h"
#include "replay/session.h"
#include "widgets/png_stream_writer.h"

#include <QApplication>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <memory>
#include <optional>

namespace kx::cli {

namespace {

// The options both commands share, and theirs alone.
struct PictureOptions {
    QString file;
    QString reading;
    QString output;
    std::optional<int32_t> at, from, to;
    QString highlight;
    ClipSettings settings;
    bool perSet = false, fpsSet = false, captionSet = false;
};

// Reads the arguments; false on a usage error, with its reason in `why` where one helps.
bool parseOptions(const QStringList& args, PictureOptions& options, QString& why) {
    const auto number = [&](const QString& name, const QString& text) -> std::optional<int32_t> {
        const auto value = parseDecimalInt(QStringView(text));
        if (!value)
            why = QString::fromUtf8("%1 chce celé číslo, ne „%2“.").arg(name, text);
        return value;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--caption")) {
            options.settings.caption = true;
            options.captionSet = true;
            continue;
        }
        static const QStringList withValue = {
            QStringLiteral("--as"),   QStringLiteral("--at"),        QStringLiteral("--from"),
            QStringLiteral("--to"),   QStringLiteral("--per"),       QStringLiteral("--fps"),
            QStringLiteral("--view"), QStringLiteral("--highlight"), QStringLiteral("--scale"),
            QStringLiteral("-o")};
        if (withValue.contains(arg)) {
            if (i + 1 >= args.size())
                return false;
            const QString& value = args[++i];
            if (arg == QLatin1String("--as")) {
                options.reading = value;
            } else if (arg == QLatin1String("-o")) {
                options.output = value;
            } else if (arg == QLatin1String("--highlight")) {
                options.highlight = value;
            } else if (arg == QLatin1String("--at")) {
                if (!(options.at = number(arg, value)))
                    return false;
            } else if (arg == QLatin1String("--from")) {
                if (!(options.from = number(arg, value)))
                    return false;
            } else if (arg == QLatin1String("--to")) {
                if (!(options.to = number(arg, value)))
                    return false;
            } else if (arg == QLatin1String("--fps")) {
                const auto fps = number(arg, value);
                if (!fps || *fps < kClipFpsMin || *fps > kClipFpsMax) {
                    why = QString::fromUtf8("--fps chce %1 až %2 snímků za sekundu.")
                              .arg(kClipFpsMin)
                              .arg(kClipFpsMax);
                    return false;
                }
                options.settings.fps = *fps;
                options.fpsSet = true;
            } else if (arg == QLatin1String("--per")) {
                if (value != QLatin1String("event") && value != QLatin1String("hour")) {
                    why = QString::fromUtf8("--per chce event nebo hour, ne „%1“.").arg(value);
                    return false;
                }
                options.settings.pace =
                    value == QLatin1String("hour") ? FramePace::Hour : FramePace::Event;
                options.perSet = true;
            } else if (arg == QLatin1String("--view")) {
                const auto view = mapViewNamed(value);
                if (!view) {
                    why = QString::fromUtf8("Neznámý pohled „%1“: all, louka, les nebo nahled.")
                              .arg(value);
                    return false;
                }
                options.settings.view = *view;
            } else if (arg == QLatin1String("--scale")) {
                const auto zoom = zoomOfScale(value);
                if (!zoom) {
                    why = QString::fromUtf8("Měřítko „%1“ nejde: 0.25 až 4 po 0.05.").arg(value);
                    return false;
                }
                options.settings.zoom = *zoom;
            }
        } else if (isOption(arg) || !options.file.isEmpty()) {
            return false;
        } else {
            options.file = arg;
        }
    }
    return !options.file.isEmpty() && !options.output.isEmpty();
}

int usage(const char* text, const QString& why) {
    if (!why.isEmpty())
        printError(why);
    return usageError(text);
}

// Drawing needs a GUI application; without a display it draws offscreen.
std::unique_ptr<QApplication> guiApplication() {
    if (QCoreApplication::instance())
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kxrtool";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
}

// Loads the record as the viewer does and names the highlighted player; a message and
// nothing on failure.
std::optional<ClipRecord> loadClipRecord(const PictureOptions& options, RecordFormat format,
                                         ClipSettings& settings) {
    RecordedMessages messages;
    ReplaySession session(messages);
    const LoadStatus status = session.openRecord(options.file, format);
    for (const QString& message : messages.shown)
        printError(message);
    if (status != LoadStatus::Loaded)
        return std::nullopt;
    ClipRecord record = clipRecordOf(session);
    if (!options.highlight.isEmpty()) {
        const auto owner = playerOwnerNamed(record.players, options.highlight);
        if (!owner) {
            printError(QString::fromUtf8("Hráč „%1“ v záznamu není (hráči: %2).")
                           .arg(options.highlight, record.players.join(QStringLiteral(", "))));
            return std::nullopt;
        }
        settings.highlightOwner = *owner;
    }
    return record;
}

bool printJson(const QJsonObject& object) {
    const QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    return std::fwrite(json.constData(), 1, size_t(json.size()), stdout) == size_t(json.size()) &&
           std::fflush(stdout) == 0;
}

} // namespace

int runRender(const QStringList& args) {
    PictureOptions options;
    QString why;
    if (!parseOptions(args, options, why) || !options.at || options.from || options.to ||
        options.perSet || options.fpsSet || options.captionSet)
        return usage(kRenderUsage, why);
    if (!options.output.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return usage(kRenderUsage, QString::fromUtf8("Obrázek se ukládá jako PNG: VÝSTUP.png."));
    const std::optional<RecordFormat> format = recordFormatFor(options.file, options.reading);
    if (!format)
        return usageError(kRenderUsage);

    const auto application = guiApplication();
    ClipSettings settings = options.settings;
    const std::optional<ClipRecord> record = loadClipRecord(options, *format, settings);
    if (!record)
        return kExitFailure;
    const QString range =
        clipRangeError(*options.at, *options.at, record->firstEvent, record->eventCount());
    if (!range.isEmpty()) {
        printError(range);
        return kExitFailure;
    }
    QString tooLarge;
    const QImage image = renderRecordFrame(*record, *options.at, settings, QApplication::palette(),
                                           QApplication::font(), &tooLarge);
    if (image.isNull()) {
        printError(tooLarge);
        return kExitFailure;
    }
    PngStreamWriter writer;
    if (!writer.open(options.output, image.width(), image.height()) || !writer.write(image) ||
        !writer.finish()) {
        printError(QString::fromUtf8("Obrázek nelze uložit do souboru %1: %2")
                       .arg(QDir::toNativeSeparators(options.output), writer.errorString()));
        return kExitFailure;
    }
    return printJson({{"width", image.width()}, {"height", image.height()}}) ? kExitOk
                                                                             : kExitFailure;
}

int runClip(const QStringList& args) {
    PictureOptions options;
    QString why;
    if (!parseOptions(args, options, why) || !options.from || !options.to || options.at)
        return usage(kClipUsage, why);
    const std::optional<ClipFormat> clipFormat = clipFormatFor(options.output);
    if (!clipFormat)
        return usage(kClipUsage,
                     QString::fromUtf8("Klip se ukládá jako .mp4, .webm, .gif nebo .webp."));
    const std::optional<RecordFormat> format = recordFormatFor(options.file, options.reading);
    if (!format)
        return usageError(kClipUsage);

    const auto application = guiApplication();
    ClipSettings settings = options.settings;
    std::optional<ClipRecord> record = loadClipRecord(options, *format, settings);
    if (!record)
        return kExitFailure;
    settings.from = *options.from;
    settings.to = *options.to;
    const QString range =
        clipRangeError(settings.from, settings.to, record->firstEvent, record->eventCount());
    if (!range.isEmpty()) {
        printError(range);
        return kExitFailure;
    }
    ClipJob job(std::move(*record), settings, *clipFormat, QApplication::palette(),
                QApplication::font());
    const ClipOutcome outcome = job.write(options.output);
    if (!outcome.error.isEmpty()) {
        printError(outcome.error);
        return kExitFailure;
    }
    return printJson({{"frames", outcome.frames},
                      {"width", outcome.size.width()},
                      {"height", outcome.size.height()},
                      {"fps", settings.fps}})
               ? kExitOk
               : kExitFailure;
}

} // namespace kx::cli
