#include "file_association.h"

#include "app/desktop_files.h"
#include "records/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace kx {

namespace {

// Writes `text` to `path`, replacing an older file only when complete; the reason of a
// failure, or an empty text.
QString writeFile(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).absolutePath()); // when it fails, writing the file says why
    return writeFileAtomically(path, text.toUtf8());
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
    escaped.replace(QLatin1String("\\"), QLatin1String(R"(\\\\)"));
    escaped.replace(QLatin1String("\""), QLatin1String(R"(\\")"));
    escaped.replace(QLatin1String("`"), QLatin1String("\\\\`"));
    escaped.replace(QLatin1String("$"), QLatin1String("\\\\$"));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

// A string value of a desktop entry escapes the backslash and the line breaks.
QString escapedValue(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    escaped.replace(QLatin1String("\n"), QLatin1String("\\n"));
    return escaped;
}

const QStringList& recordMimeTypes() {
    static const QStringList types = {QLatin1String(kRecordMimeType),
                                      QLatin1String(kEventLogMimeType)};
    return types;
}

} // namespace

void XdgFileAssociation::runToolIfPresent(const QString& program, const QStringList& arguments) {
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(path, arguments);
    process.waitForFinished(10000);
}

QString XdgFileAssociation::mimePackageText() {
    return QString::fromUtf8(kInstalledMimePackage);
}

QString XdgFileAssociation::desktopEntryText() const {
    QStringList lines = QString::fromUtf8(kInstalledDesktopEntry).split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.startsWith(QLatin1String("Exec=")))
            line = QStringLiteral("Exec=") + quotedExec(executable_) + QStringLiteral(" %f");
        else if (line.startsWith(QLatin1String("TryExec=")))
            line = QStringLiteral("TryExec=") + escapedValue(executable_);
    }
    return lines.join(QLatin1Char('\n'));
}

QString XdgFileAssociation::installedDesktopEntry() {
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString relative = QStringLiteral("applications/") + QLatin1String(kDesktopFileName);
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        if (folder == dataHome)
            continue; // a per-user entry written earlier is not an installation
        QString path = folder + QLatin1Char('/') + relative;
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QString XdgFileAssociation::writeAssociation() {
    const QStringList setDefault =
        QStringList{QStringLiteral("default"), QLatin1String(kDesktopFileName)} + recordMimeTypes();
    // Installed: the system already knows the types and the program; a second desktop entry
    // would show the program twice in the menus.
    if (!installedDesktopEntry().isEmpty()) {
        runTool_(QStringLiteral("xdg-mime"), setDefault);
        return {};
    }
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty())
        return {};
    const QString mimeDir = dataHome + QStringLiteral("/mime");
    const QString mimePath = mimeDir + QStringLiteral("/packages/kxreview.xml");
    const QString desktopPath =
        dataHome + QStringLiteral("/applications/") + QLatin1String(kDesktopFileName);
    const QString mimeFailure = writeFile(mimePath, mimePackageText());
    const QString desktopFailure = writeFile(desktopPath, desktopEntryText());
    if (mimeFailure.isEmpty())
        runTool_(QStringLiteral("update-mime-database"), {mimeDir});
    if (desktopFailure.isEmpty()) {
        runTool_(QStringLiteral("update-desktop-database"),
                 {dataHome + QStringLiteral("/applications")});
        runTool_(QStringLiteral("xdg-mime"), setDefault);
    }
    const bool mimeFailed = !mimeFailure.isEmpty();
    if (!mimeFailed && desktopFailure.isEmpty())
        return {};
    return QString::fromUtf8("Asociaci souborů .kxr2 se nepodařilo zapsat do souboru:\n%1\n%2")
        .arg(QDir::toNativeSeparators(mimeFailed ? mimePath : desktopPath),
             mimeFailed ? mimeFailure : desktopFailure);
}

} // namespace kx
