#include "summary_command.h"

#include "cli_common.h"

#include "browser/record_summary.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace kx::cli {

int runSummary(const QStringList& args) {
    if (args.size() != 1 || isOption(args.first()))
        return usageError(kSummaryUsage);

    RecordedMessages messages;
    const SummaryResult result = ShowRecordSummary(args.first(), messages);
    if (result.status == SummaryStatus::Unreadable) {
        printError(result.fileError);
        return kExitFailure;
    }
    const RecordSummary& s = result.summary;
    const QJsonObject summary{{"lbMN", s.lbMN},
                              {"lbMR", s.lbMR},
                              {"lbMS", s.lbMS},
                              {"lbML", s.lbML},
                              {"lbTR", s.lbTR},
                              {"lbTS", s.lbTS},
                              {"lbPl", QJsonArray::fromStringList(s.lbPl)},
                              {"messages", QJsonArray::fromStringList(messages.shown)}};
    const QByteArray json = QJsonDocument(summary).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return kExitOk;
}

} // namespace kx::cli
