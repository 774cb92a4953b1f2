// kxrgen: writes a generated world as an XML record and/or its event log.
#include "record_generator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <type_traits>

namespace {

void fail(const QString& message) {
    std::fprintf(stderr, "kxrgen: %s\n", qPrintable(message));
}

template <typename T>
std::optional<T> integerOption(const QCommandLineParser& parser, const QString& name, T fallback) {
    if (!parser.isSet(name))
        return fallback;
    bool ok = false;
    const QString text = parser.value(name);
    T value{};
    if constexpr (std::is_signed_v<T>)
        value = static_cast<T>(text.toLongLong(&ok));
    else
        value = static_cast<T>(text.toULongLong(&ok));
    if (!ok) {
        fail(QStringLiteral("--%1 needs a whole number, not \"%2\"").arg(name, text));
        return std::nullopt;
    }
    return value;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kxrgen"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Generates a plausible recorded world: an XML record (.kxr2) and the event log (.kxr) "
        "that converting it gives. The same options always give the same bytes."));
    const QCommandLineOption help = parser.addHelpOption();
    const auto value = [](const char* name, const char* description, const char* valueName) {
        return QCommandLineOption(QString::fromLatin1(name), QString::fromUtf8(description),
                                  QString::fromLatin1(valueName));
    };
    parser.addOptions({
        value("seed", "Seed of the random numbers (default 1).", "N"),
        value("events", "Number of events after the HQs (default 1000).", "N"),
        value("players", "Number of players, 1 to 30 (default 4).", "N"),
        value("width", "World width, 1 to 1000 (default 20).", "W"),
        value("height", "World height, 1 to 1000 (default 20).", "H"),
        value("speed", "Moves per hour (default 4).", "N"),
        value("name", "World name (default \"Kopretinová louka\").", "TEXT"),
        value("start", "Creation time in Unix seconds (default 2026-11-14 07:00 UTC).", "SECONDS"),
        value("kxr2", "Write the XML record to FILE.", "FILE"),
        value("kxr", "Write the event log to FILE.", "FILE"),
    });
    if (!parser.parse(QCoreApplication::arguments())) {
        fail(parser.errorText());
        return 2;
    }
    if (parser.isSet(help))
        parser.showHelp(0);
    if (!parser.positionalArguments().isEmpty()) {
        fail(
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));
        return 2;
    }

    kx::RecordGeneratorOptions options;
    const auto seed = integerOption<uint64_t>(parser, QStringLiteral("seed"), options.seed);
    const auto events = integerOption<int64_t>(parser, QStringLiteral("events"), options.events);
    const auto players = integerOption<int64_t>(parser, QStringLiteral("players"), options.players);
    const auto width = integerOption<int64_t>(parser, QStringLiteral("width"), options.width);
    const auto height = integerOption<int64_t>(parser, QStringLiteral("height"), options.height);
    const auto speed = integerOption<int64_t>(parser, QStringLiteral("speed"), options.speed);
    const auto start = integerOption<int64_t>(parser, QStringLiteral("start"), options.start);
    if (!seed || !events || !players || !width || !height || !speed || !start)
        return 2;
    // Values beyond int are clamped so that the range check reports them.
    const auto narrow = [](int64_t v) {
        return static_cast<int>(std::clamp<int64_t>(v, -1, 1 << 30));
    };
    options.seed = *seed;
    options.events = *events;
    options.players = narrow(*players);
    options.width = narrow(*width);
    options.height = narrow(*height);
    options.speed = narrow(*speed);
    options.start = *start;
    if (parser.isSet(QStringLiteral("name")))
        options.name = parser.value(QStringLiteral("name"));

    const QString xmlPath = parser.value(QStringLiteral("kxr2"));
    const QString logPath = parser.value(QStringLiteral("kxr"));
    if (xmlPath.isEmpty() && logPath.isEmpty()) {
        fail(QStringLiteral("give --kxr2 FILE, --kxr FILE or both"));
        return 2;
    }
    const QString problem = kx::checkGeneratorOptions(options);
    if (!problem.isEmpty()) {
        fail(problem);
        return 2;
    }

    // A file appears only once it is written whole; a device such as /dev/stdout is written
    // directly.
    auto open = [](const QString& path) -> std::unique_ptr<QFileDevice> {
        if (path.isEmpty())
            return nullptr;
        const QFileInfo info(path);
        std::unique_ptr<QFileDevice> file;
        if (info.exists() && !info.isFile())
            file = std::make_unique<QFile>(path);
        else
            file = std::make_unique<QSaveFile>(path);
        if (!file->open(QIODevice::WriteOnly)) {
            fail(QStringLiteral("cannot write %1: %2").arg(path, file->errorString()));
            return nullptr;
        }
        return file;
    };
    const std::unique_ptr<QFileDevice> xml = open(xmlPath);
    const std::unique_ptr<QFileDevice> log = open(logPath);
    if ((!xmlPath.isEmpty() && !xml) || (!logPath.isEmpty() && !log))
        return 1;
    QString error;
    if (!kx::writeGeneratedRecord(options, xml.get(), log.get(), &error)) {
        fail(error);
        return 1;
    }
    for (QFileDevice* file : {xml.get(), log.get()}) {
        auto* saveFile = qobject_cast<QSaveFile*>(file);
        if (saveFile && !saveFile->commit()) {
            fail(QStringLiteral("cannot write %1: %2")
                     .arg(saveFile->fileName(), saveFile->errorString()));
            return 1;
        }
    }
    return 0;
}
