#include "cli_common.h"

#include "records/line_list.h"
#include "records/record_loader.h"

#include <cstdio>

namespace kx::cli {

namespace {

constexpr qsizetype kOutputChunk = 1 << 20;

bool writeStdout(const QByteArray& bytes) {
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
}

} // namespace

int dispatch(std::span<const Command> commands, const QStringList& arguments) {
    if (!arguments.isEmpty()) {
        for (const Command& command : commands) {
            if (arguments.first() == QLatin1String(command.name))
                return command.run(arguments.mid(1));
        }
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

void printError(const QString& text) {
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

int usageError(const char* usage) {
    printError(QStringLiteral("Použití: kxrtool ") + QString::fromUtf8(usage));
    return kExitUsage;
}

std::optional<int> readingFor(const QString& file, const QString& as) {
    if (as == QLatin1String("xml"))
        return kFilterXml;
    if (as == QLatin1String("log"))
        return kFilterEventLog;
    if (!as.isEmpty())
        return std::nullopt;
    return readingForPath(file);
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
