#include "stats_command.h"

#include "cli_common.h"

#include "records/record_loader.h"
#include "replay/session.h"
#include "stats/figures_csv.h"
#include "stats/world_figures.h"

#include <cstdio>

namespace kx::cli {

int runStats(const QStringList& args) {
    QString file;
    QString reading;
    bool csv = false;
    bool summary = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--as")) {
            if (i + 1 >= args.size())
                return usageError(kStatsUsage);
            reading = args[++i];
        } else if (arg == QLatin1String("--csv")) {
            csv = true;
        } else if (arg == QLatin1String("--summary")) {
            summary = true;
        } else if (isOption(arg) || !file.isEmpty()) {
            return usageError(kStatsUsage);
        } else {
            file = arg;
        }
    }
    if (file.isEmpty() || !csv)
        return usageError(kStatsUsage);
    const std::optional<RecordFormat> format = recordFormatFor(file, reading);
    if (!format)
        return usageError(kStatsUsage);

    // A damaged record prints the header row only, an unreadable file nothing; the messages
    // go to standard error.
    RecordedMessages messages;
    ReplaySession session(messages);
    WorldFigures figures;
    const LoadStatus status = session.openRecord(file, *format);
    if (status == LoadStatus::Loaded)
        figures = computeWorldFigures(session.state().lvData);
    for (const QString& message : messages.shown)
        printError(message);
    if (status == LoadStatus::Unreadable)
        return kExitFailure;

    const QByteArray out = summary ? summaryCsv(figures) : figuresCsv(figures);
    if (std::fwrite(out.constData(), 1, size_t(out.size()), stdout) != size_t(out.size()) ||
        std::fflush(stdout) != 0)
        return kExitFailure;
    return kExitOk;
}

} // namespace kx::cli
