#include "convert_command.h"

#include "cli_common.h"
#include "records/record_loader.h"
#include "records/xml_converter.h"

namespace kx::cli {

int runConvert(const QStringList& args) {
    if (args.size() != 1 || isOption(args.first()))
        return usageError(kConvertUsage);
    QString error;
    std::optional<QByteArray> bytes = readRecordFile(args.first(), &error);
    if (!bytes) {
        printError(error);
        return kExitFailure;
    }

    XmlConverter converter;
    converter.loadLog(std::move(*bytes));
    if (!converter.convertXmlRecord()) {
        printError(QString::fromUtf8(LoadMessages::kReadFailed));
        return kExitFailure;
    }
    if (!writeLines(converter.kxr())) {
        printError(QStringLiteral("Výstup nelze zapsat."));
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace kx::cli
