#include "library_location.h"

#include <QDir>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>

namespace kx {

QString LibraryLocation::displayName() const {
    if (engine == Engine::SQLite)
        return QDir::toNativeSeparators(file);
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setUserName(user);
    url.setHost(host.startsWith(u'/') ? QString() : host);
    url.setPort(port);
    url.setPath(u'/' + database);
    if (host.startsWith(u'/'))
        url.setQuery(QStringLiteral("host=") + host);
    return url.toString();
}

QString defaultLibraryFile() {
    // The viewer's data folder (organisation and application as its settings name them),
    // whatever program asks: kxrtool and the viewer share one library.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Velmora/KXReview/library.sqlite");
}

std::optional<LibraryLocation> parseLibraryLocation(const QString& text, QString* error) {
    LibraryLocation location;
    if (text.isEmpty()) {
        location.file = defaultLibraryFile();
        return location;
    }
    const qsizetype scheme = text.indexOf(QLatin1String("://"));
    if (scheme < 0) {
        location.file = QDir(text).absolutePath();
        return location;
    }
    const QUrl url(text, QUrl::StrictMode);
    const QString name = url.scheme().toLower();
    auto fail = [&](const QString& why) -> std::optional<LibraryLocation> {
        if (error)
            *error = QString::fromUtf8("Neplatná adresa knihovny: %1\n%2").arg(text, why);
        return std::nullopt;
    };
    if (!url.isValid())
        return fail(url.errorString());
    if (name != QLatin1String("postgresql") && name != QLatin1String("postgres"))
        return fail(QString::fromUtf8("Podporována je jen adresa postgresql://."));
    location.engine = LibraryLocation::Engine::PostgreSQL;
    location.database = url.path().mid(1);
    if (location.database.isEmpty() || location.database.contains(u'/'))
        return fail(QString::fromUtf8("Chybí jméno databáze."));
    location.user = url.userName();
    location.password = url.password();
    location.host = url.host();
    location.port = url.port(-1);
    const QUrlQuery query(url);
    if (query.hasQueryItem(QStringLiteral("host")))
        location.host = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
    return location;
}

} // namespace kx
