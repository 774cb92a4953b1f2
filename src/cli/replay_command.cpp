#include "replay_command.h"

#include "cli_common.h"
#include "replay_actions.h"
#include "state_json.h"

#include "records/record_loader.h"
#include "replay/session.h"

#include <QJsonDocument>

#include <cstdio>

namespace kx {

namespace {

int usageError() {
    return cli::usageError(kReplayUsage);
}

} // namespace

int replayCommand(const QStringList& args) {
    QString file;
    QString reading;
    QString actionList;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--as") || arg == QLatin1String("--do")) {
            if (i + 1 >= args.size())
                return usageError();
            (arg == QLatin1String("--as") ? reading : actionList) = args[++i];
        } else if (arg.startsWith(QLatin1String("--")) || !file.isEmpty()) {
            return usageError();
        } else {
            file = arg;
        }
    }
    if (file.isEmpty())
        return usageError();
    const std::optional<RecordFormat> format = cli::recordFormatFor(file, reading);
    if (!format)
        return usageError();

    QString bad;
    const auto actions = parseReplayActions(actionList, &bad);
    if (!actions) {
        cli::printError(QString::fromUtf8("Neznámá akce: ") + bad);
        return usageError();
    }

    RecordedMessages messages;
    ReplaySession session(messages);
    if (session.openRecord(file, *format) == LoadStatus::Unreadable) {
        for (const QString& message : messages.shown)
            cli::printError(message);
        return cli::kExitFailure;
    }
    for (const ReplayAction& action : *actions)
        performReplayAction(session, action);

    const QByteArray json =
        QJsonDocument(mainStateJson(session, messages.shown)).toJson(QJsonDocument::Compact);
    std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), stdout);
    std::fputc('\n', stdout);
    return 0;
}

} // namespace kx
