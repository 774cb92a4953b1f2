#include "file_association.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace kx {

namespace {

bool writeFile(const QString& path, const QString& text) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = text.toUtf8();
    return file.write(bytes) == bytes.size();
}

// Runs a helper program if it is installed; its failure changes nothing for the user.
void runIfPresent(const QString& program, const QStringList& arguments) {
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(path, arguments);
    process.waitForFinished(10000);
}

// Desktop entries quote an argument with blanks or special characters in double quotes.
QString quotedExec(const QString& path) {
    static const QString special = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = false;
    for (const QChar c : path)
        needsQuotes = needsQuotes || special.contains(c);
    if (!needsQuotes)
        return path;
    QString escaped = path;
    escaped.replace(QLatin1String("\\"), QLatin1String("\\\\\\\\"));
    escaped.replace(QLatin1String("\""), QLatin1String("\\\\\""));
    escaped.replace(QLatin1String("`"), QLatin1String("\\\\`"));
    escaped.replace(QLatin1String("$"), QLatin1String("\\\\$"));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

QString XdgFileAssociation::mimePackageText() {
    return QString::fromUtf8(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"application/x-kxreview-record\">\n"
        "    <comment>Záznam světa Kexland</comment>\n"
        "    <glob pattern=\"*.kxr2\"/>\n"
        "  </mime-type>\n"
        "</mime-info>\n");
}

QString XdgFileAssociation::desktopEntryText() const {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=KX Review\n"
                          "Comment=") +
           QString::fromUtf8("Prohlížeč záznamů světů Kexland") + QStringLiteral("\nExec=") +
           quotedExec(executable_) +
           QStringLiteral(" %f\n"
                          "MimeType=application/x-kxreview-record;\n"
                          "Terminal=false\n"
                          "Categories=Game;StrategyGame;\n");
}

void XdgFileAssociation::writeAssociation() {
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty())
        return;
    const QString mimeDir = dataHome + QStringLiteral("/mime");
    const bool mimeWritten =
        writeFile(mimeDir + QStringLiteral("/packages/kxreview-kxr2.xml"), mimePackageText());
    const bool desktopWritten =
        writeFile(dataHome + QStringLiteral("/applications/") + QLatin1String(kDesktopFileName),
                  desktopEntryText());
    if (!runTools_)
        return;
    if (mimeWritten)
        runIfPresent(QStringLiteral("update-mime-database"), {mimeDir});
    if (desktopWritten) {
        runIfPresent(QStringLiteral("update-desktop-database"),
                     {dataHome + QStringLiteral("/applications")});
        runIfPresent(QStringLiteral("xdg-mime"),
                     {QStringLiteral("default"), QLatin1String(kDesktopFileName),
                      QLatin1String(kRecordMimeType)});
    }
}

} // namespace kx
