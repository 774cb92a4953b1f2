#include "command_line.h"

namespace kx {

ViewerCommandLine parseViewerCommandLine(const QStringList& arguments) {
    if (arguments.isEmpty())
        return {};
    const QString& first = arguments.first();
    ViewerAction asked = ViewerAction::Run;
    if (first == QLatin1String("--help") || first == QLatin1String("-h"))
        asked = ViewerAction::Help;
    else if (first == QLatin1String("--version"))
        asked = ViewerAction::Version;
    else if (first.startsWith(QLatin1String("--")))
        return {ViewerAction::UsageError, QStringLiteral("Neznámá volba: ") + first};
    else
        return {};
    if (arguments.size() > 1)
        return {ViewerAction::UsageError,
                QStringLiteral("Volba %1 nebere další argumenty.").arg(first)};
    return {asked, {}};
}

QString viewerUsage() {
    return QStringLiteral(
        "Použití: kxreview [ZÁZNAM]\n"
        "       kxreview --help | -h | --version\n"
        "Otevře ZÁZNAM světa Kexland (XML záznam .kxr2 nebo záznam událostí .kxr) v přehrávači\n"
        "KX Review; bez něj začne s prázdným světem.");
}

} // namespace kx
