#include "cli_common.h"

#include "records/line_list.h"
#include "records/record_loader.h"

#include <QFile>

#include <cstdio>

namespace kx::cli {

namespace {

constexpr qsizetype kOutputChunk = 1 << 20;

bool writeStdout(const QByteArray& bytes) {
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
}

} // namespace

QStringList programArguments(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    return arguments;
}

int dispatch(std::span<const Command> commands, const QStringList& arguments, const char* version) {
    auto isHelp = [&](qsizetype i) {
        return arguments.size() == i + 1 &&
               (arguments[i] == QLatin1String("--help") || arguments[i] == QLatin1String("-h"));
    };
    if (arguments.size() == 1 && arguments.first() == QLatin1String("--version")) {
        printOut(QStringLiteral("kxrtool ") + QString::fromUtf8(version));
        return kExitOk;
    }
    if (!arguments.isEmpty()) {
        for (const Command& command : commands) {
            if (arguments.first() != QLatin1String(command.name))
                continue;
            if (isHelp(1)) {
                printOut(QStringLiteral("Použití: kxrtool ") + QString::fromUtf8(command.usage));
                return kExitOk;
            }
            return command.run(arguments.mid(1));
        }
    }
    if (isHelp(0)) {
        QString help = QStringLiteral("Použití:");
        for (const Command& command : commands)
            help += QStringLiteral("\n  kxrtool ") + QString::fromUtf8(command.usage);
        printOut(help + QStringLiteral("\n  kxrtool --help | --version"));
        return kExitOk;
    }
    QString usages;
    for (const Command& command : commands) {
        if (!usages.isEmpty())
            usages += QStringLiteral(" | ");
        usages += QString::fromUtf8(command.usage);
    }
    printError(QStringLiteral("Použití: kxrtool ") + usages);
    return kExitUsage;
}

void printOut(const QString& text) {
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void printError(const QString& text) {
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

int usageError(const char* usage) {
    printError(QStringLiteral("Použití: kxrtool ") + QString::fromUtf8(usage));
    return kExitUsage;
}

std::optional<RecordFormat> recordFormatFor(const QString& file, const QString& as) {
    if (as == QLatin1String("xml"))
        return RecordFormat::Xml;
    if (as == QLatin1String("log"))
        return RecordFormat::EventLog;
    if (!as.isEmpty())
        return std::nullopt;
    return recordFormatForPath(file);
}

bool isOption(const QString& argument) {
    return argument.size() > 1 && argument.startsWith(QLatin1Char('-'));
}

bool writeLines(const LineList& lines) {
    QByteArray chunk;
    chunk.reserve(kOutputChunk + 4096);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        chunk.append(lines.at(i)).append("\r\n");
        if (chunk.size() >= kOutputChunk) {
            if (!writeStdout(chunk))
                return false;
            chunk.resize(0);
        }
    }
    return writeStdout(chunk) && std::fflush(stdout) == 0;
}

} // namespace kx::cli
