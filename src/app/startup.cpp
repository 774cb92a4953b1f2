#include "startup.h"

#include <QSettings>

namespace kx {

std::optional<QString> startFileFromArguments(const QStringList& arguments) {
    QString text = arguments.mid(1).join(QLatin1Char(' '));
    qsizetype start = 0;
    while (start < text.size() && text[start] == QLatin1Char(' '))
        ++start;
    text = text.mid(start);
    if (text.isEmpty())
        return std::nullopt;
    if (text.startsWith(QLatin1Char('"')))
        text.remove(0, 1);
    if (text.endsWith(QLatin1Char('"')))
        text.chop(1);
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

QSettings* openSettings() {
    auto* settings = new QSettings(QStringLiteral("Velmora"), QStringLiteral("KXReview"));
    settings->beginGroup(QStringLiteral("0.5"));
    return settings;
}

void runAssociationStep(QSettings& settings, UserMessages& messages, AssociationWriter& writer) {
    // Settings that cannot be written could not remember the answer, and the question would
    // come back at every start: the step ends here, as when the settings cannot be opened.
    if (!settings.isWritable())
        return;
    if (settings.value(QStringLiteral("startup"), 0).toInt() != 0)
        return;
    const bool yes = messages.askYesNo(QString::fromUtf8(kAssociationCaption),
                                       QString::fromUtf8(kAssociationQuestion), true);
    if (yes)
        writer.writeAssociation();
    settings.setValue(QStringLiteral("startup"), 1);
    settings.sync();
}

} // namespace kx
