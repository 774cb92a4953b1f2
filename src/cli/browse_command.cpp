#include "browse_command.h"

#include "cli_common.h"

#include "browser/record_list.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace kx::cli {

int runBrowse(const QStringList& args) {
    if (args.size() != 1 || isOption(args.first()))
        return usageError(kBrowseUsage);
    const QString& directory = args.first();
    const QFileInfo info(directory);
    if (!info.isDir() || !info.isReadable() || !QDir(directory).isReadable()) {
        printError(QString::fromUtf8("Složku nelze přečíst: ") + directory);
        return kExitFailure;
    }

    QJsonArray rows;
    for (const RecordRow& row : FillRecordList(directory)) {
        rows.append(QJsonObject{
            {"map", row.map}, {"date", row.date}, {"base", row.base}, {"type", row.type}});
    }
    const QByteArray json = QJsonDocument(rows).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return kExitOk;
}

} // namespace kx::cli
