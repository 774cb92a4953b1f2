#include "startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QVariant>

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
    const QString failure = yes ? writer.writeAssociation() : QString();
    if (!failure.isEmpty())
        messages.showMessage(failure);
    settings.setValue(QStringLiteral("startup"), 1);
    settings.sync();
}

QString settingsWriteProblem(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath()); // when it fails, the probe says why
    // A write of the settings puts a new file beside the old one and renames it into place.
    QSaveFile probe(path);
    if (!probe.open(QIODevice::WriteOnly))
        return probe.errorString();
    probe.cancelWriting();
    QFile existing(path);
    if (existing.exists() && !existing.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return existing.errorString();
    return {};
}

bool reportSettingsTrouble(QSettings& settings, UserMessages& messages) {
    static const char* const kTold = "kxSettingsTroubleTold";
    if (settings.property(kTold).toBool())
        return false;
    if (settings.status() != QSettings::AccessError && settings.isWritable())
        return false;
    QString reason = settingsWriteProblem(settings.fileName());
    if (reason.isEmpty())
        reason = QString::fromUtf8("Zápis se nezdařil.");
    settings.setProperty(kTold, true);
    messages.showMessage(QString::fromUtf8(kSettingsUnsaved)
                             .arg(QDir::toNativeSeparators(settings.fileName()), reason));
    return true;
}

} // namespace kx
