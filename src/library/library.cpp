#include "library.h"

#include "browser/record_filter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <atomic>
#include <set>

namespace kx {

namespace {

std::atomic<int> connectionCounter{0};

// Version 1: folders, records (one row per file; `is_copy` marks a file whose content a file
// of a lower path has too) and their players. A player row repeats what searches and careers
// ask of its record, so that they read the players alone: `counted` (the game counts: not a
// copy), `result` (1 won, -1 lost, 0 unfinished, for the player's team) and the team in lower
// case. %ID% is the engine's auto-numbered key.
const char* const kSchemaV1[] = {
    "CREATE TABLE folders (path TEXT PRIMARY KEY)",
    "CREATE TABLE records (id %ID%, path TEXT NOT NULL UNIQUE, size BIGINT NOT NULL, "
    "modified BIGINT NOT NULL, hash TEXT NOT NULL, format TEXT NOT NULL, map TEXT NOT NULL, "
    "map_key TEXT NOT NULL, date TEXT NOT NULL, damaged TEXT NOT NULL, world TEXT NOT NULL, "
    "width INTEGER NOT NULL, height INTEGER NOT NULL, speed INTEGER NOT NULL, "
    "player_limit INTEGER NOT NULL, events INTEGER NOT NULL, first_time TEXT NOT NULL, "
    "last_time TEXT NOT NULL, ended INTEGER NOT NULL, winner TEXT NOT NULL, "
    "is_copy INTEGER NOT NULL, player_list TEXT NOT NULL)",
    "CREATE INDEX records_hash ON records (hash, path)",
    "CREATE INDEX records_date ON records (date)",
    "CREATE TABLE players (record_id BIGINT NOT NULL, idx INTEGER NOT NULL, name TEXT NOT NULL, "
    "name_key TEXT NOT NULL, team TEXT NOT NULL, team_key TEXT NOT NULL, hq TEXT NOT NULL, "
    "counted INTEGER NOT NULL, result INTEGER NOT NULL, survivor INTEGER NOT NULL, "
    "experience INTEGER NOT NULL, kills INTEGER NOT NULL, wins INTEGER NOT NULL, "
    "nectar INTEGER NOT NULL, production INTEGER NOT NULL, fields INTEGER NOT NULL, "
    "PRIMARY KEY (record_id, idx))",
    "CREATE INDEX players_name ON players (name_key, record_id)",
    ("CREATE INDEX players_careers ON players (counted, name_key, team_key, result, experience, "
     "kills, fields, name)"),
};

// Version 2: the users' bookmarks of records (by content hash, so they follow a record that is
// moved or copied), and the players' career totals, kept per group of player, team and result for
// the generation of the library they were added up at. Every change of records or players moves the
// generation on, so totals of an older generation are never read.
const char* const kSchemaV2[] = {
    "CREATE TABLE career_totals (generation TEXT NOT NULL, name_key TEXT NOT NULL, "
    "name TEXT NOT NULL, team_key TEXT NOT NULL, result INTEGER NOT NULL, games BIGINT NOT NULL, "
    "experience BIGINT NOT NULL, kills BIGINT NOT NULL, fields BIGINT NOT NULL)",
    "INSERT INTO meta (key, value) VALUES ('generation', '1')",
    ("CREATE TABLE bookmarks (hash TEXT NOT NULL, event INTEGER NOT NULL, note TEXT NOT NULL, "
     "PRIMARY KEY (hash, event))"),
};

const char* const kCareerGroups =
    "SELECT name_key, MIN(name), team_key, result, COUNT(*), SUM(experience), SUM(kills), "
    "SUM(fields) FROM players WHERE counted = 1 GROUP BY name_key, team_key, result";

const char* const kRecordColumns =
    "r.id, r.path, r.size, r.modified, r.hash, r.format, r.map, r.date, r.damaged, r.world, "
    "r.width, r.height, r.speed, r.player_limit, r.events, r.first_time, r.last_time, r.ended, "
    "r.winner, r.player_list";

QString likePattern(const QString& text) {
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'%', QStringLiteral("\\%"))
        .replace(u'_', QStringLiteral("\\_"));
    return u'%' + escaped + u'%';
}

// Text bound as itself: a null string would be SQL's NULL.
QVariant textValue(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

// "name (team), …" of a record's players, kept with the record for lists.
QString playerListOf(const RecordEntry& entry) {
    QStringList names;
    for (const EntryPlayer& p : entry.players)
        names << p.name + QStringLiteral(" (") + p.team + u')';
    return names.join(QStringLiteral(", "));
}

bool isNotADatabase(const QSqlError& error) {
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("26") || code == QLatin1String("11") ||
           error.text().contains(QLatin1String("not a database"), Qt::CaseInsensitive);
}

} // namespace

Library::Library(LibraryLocation location, QString connection)
    : location_(std::move(location)), connection_(std::move(connection)) {}

Library::~Library() {
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

std::unique_ptr<Library> Library::open(const LibraryLocation& location, QString* error,
                                       QString* notice) {
    const bool sqlite = location.engine == LibraryLocation::Engine::SQLite;
    auto failed = [&](const QString& text) -> std::unique_ptr<Library> {
        if (error)
            *error = text;
        return nullptr;
    };
    for (int attempt = 0; attempt < 2; ++attempt) {
        const QString name = QStringLiteral("kxlibrary-%1").arg(++connectionCounter);
        std::unique_ptr<Library> library(new Library(location, name));
        QSqlDatabase db = QSqlDatabase::addDatabase(
            sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"), name);
        if (!db.isValid())
            return failed(QString::fromUtf8("Databázový ovladač %1 není k dispozici.")
                              .arg(sqlite ? "QSQLITE" : "QPSQL"));
        if (sqlite) {
            const QFileInfo file(location.file);
            if (!QDir().mkpath(file.absolutePath()))
                return failed(QString::fromUtf8("Složku knihovny nelze vytvořit:\n%1")
                                  .arg(QDir::toNativeSeparators(file.absolutePath())));
            db.setDatabaseName(location.file);
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=20000"));
        } else {
            db.setHostName(location.host);
            if (location.port > 0)
                db.setPort(location.port);
            db.setUserName(location.user);
            db.setPassword(location.password);
            db.setDatabaseName(location.database);
            db.setConnectOptions(QStringLiteral("connect_timeout=5"));
        }
        if (!db.open())
            return failed(QString::fromUtf8("Knihovnu nelze otevřít: %1\n%2")
                              .arg(location.displayName(), db.lastError().text()));
        QString schemaError;
        bool notADatabase = false;
        if (library->prepareSchema(&schemaError, &notADatabase))
            return library;
        if (!notADatabase || !sqlite || attempt > 0)
            return failed(schemaError);

        // Not a database: keep the file aside, under a name that says why, and start anew.
        db.close();
        db = QSqlDatabase();
        library.reset();
        const QString aside =
            location.file + QStringLiteral(".poskozena-") +
            QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
        if (!QFile::rename(location.file, aside))
            return failed(QString::fromUtf8("Knihovna %1 je poškozena a nelze ji odložit.")
                              .arg(location.displayName()));
        QFile::remove(location.file + QStringLiteral("-wal"));
        QFile::remove(location.file + QStringLiteral("-shm"));
        if (notice)
            *notice = QString::fromUtf8("Knihovna záznamů byla poškozena. Byla odložena jako\n%1\n"
                                        "a založena znovu; složky je třeba přidat znovu.")
                          .arg(QDir::toNativeSeparators(aside));
    }
    return nullptr;
}

bool Library::fail(const QString& text) {
    // The database's own text says why; the first line says what failed.
    lastError_ = QString::fromUtf8("Práce s knihovnou záznamů %1 se nezdařila:\n%2")
                     .arg(location_.displayName(), text);
    return false;
}

bool Library::begin() {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (location_.engine == LibraryLocation::Engine::SQLite) {
        // Take the write lock at once: a deferred transaction that reads first could not wait
        // for another writer when it starts writing.
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
            return fail(q.lastError().text());
        return true;
    }
    if (!db.transaction())
        return fail(db.lastError().text());
    // One writer at a time, as on SQLite: writers of overlapping batches would otherwise lock
    // rows in different orders and deadlock.
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT pg_advisory_xact_lock(5873302)"))) {
        const QString text = q.lastError().text();
        rollback();
        return fail(text);
    }
    return true;
}

bool Library::commit() {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("COMMIT"))) {
        rollback();
        return fail(q.lastError().text());
    }
    return true;
}

void Library::rollback() {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.exec(QStringLiteral("ROLLBACK"));
}

bool Library::prepareSchema(QString* error, bool* notADatabase) {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    const bool sqlite = location_.engine == LibraryLocation::Engine::SQLite;
    QSqlQuery q(db);
    auto failed = [&](const QSqlError& e) {
        if (notADatabase)
            *notADatabase = sqlite && isNotADatabase(e);
        *error = QString::fromUtf8("Knihovnu %1 nelze použít:\n%2")
                     .arg(location_.displayName(), e.text());
        return false;
    };
    if (!sqlite && !q.exec(QStringLiteral("SET client_min_messages TO WARNING")))
        return failed(q.lastError());
    if (sqlite && (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
                   !q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"))))
        return failed(q.lastError());
    if (sqlite) {
        if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
            return failed(q.lastError());
    } else if (!db.transaction()) {
        return failed(db.lastError());
    }
    auto abort = [&](const QSqlError& e) {
        rollback();
        return failed(e);
    };
    // Two programs opening a new server library at once create it once.
    if (!sqlite && !q.exec(QStringLiteral("SELECT pg_advisory_xact_lock(5873301)")))
        return abort(q.lastError());
    if (!q.exec(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)")))
        return abort(q.lastError());
    int version = 0;
    if (!q.exec(QStringLiteral("SELECT value FROM meta WHERE key = 'schema_version'")))
        return abort(q.lastError());
    if (q.next())
        version = q.value(0).toInt();
    if (version > kLibrarySchemaVersion) {
        rollback();
        *error = QString::fromUtf8("Knihovna %1 pochází z novější verze programu (verze tabulek "
                                   "%2, tento program zná verzi %3). Nebyla otevřena ani změněna.")
                     .arg(location_.displayName())
                     .arg(version)
                     .arg(kLibrarySchemaVersion);
        return false;
    }
    if (version < 1) {
        const QString id = sqlite ? QStringLiteral("INTEGER PRIMARY KEY")
                                  : QStringLiteral("BIGSERIAL PRIMARY KEY");
        for (const char* statement : kSchemaV1)
            if (!q.exec(QString::fromLatin1(statement).replace(QLatin1String("%ID%"), id)))
                return abort(q.lastError());
    }
    if (version < 2)
        for (const char* statement : kSchemaV2)
            if (!q.exec(QString::fromLatin1(statement)))
                return abort(q.lastError());
    if (version < kLibrarySchemaVersion) {
        q.prepare(QStringLiteral("DELETE FROM meta WHERE key = 'schema_version'"));
        if (!q.exec())
            return abort(q.lastError());
        q.prepare(QStringLiteral("INSERT INTO meta (key, value) VALUES ('schema_version', ?)"));
        q.addBindValue(QString::number(kLibrarySchemaVersion));
        if (!q.exec())
            return abort(q.lastError());
    }
    if (!q.exec(QStringLiteral("COMMIT")))
        return abort(q.lastError());
    return true;
}

bool Library::addFolder(const QString& folder) {
    const QString path = QDir(folder).absolutePath();
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.prepare(
        QStringLiteral("INSERT INTO folders (path) VALUES (?) ON CONFLICT (path) DO NOTHING"));
    q.addBindValue(path);
    if (!q.exec())
        return fail(q.lastError().text());
    return true;
}

QStringList Library::folders() {
    QStringList result;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (!q.exec(QStringLiteral("SELECT path FROM folders ORDER BY path"))) {
        fail(q.lastError().text());
        return result;
    }
    while (q.next())
        result.append(q.value(0).toString());
    return result;
}

QHash<QString, FileStamp> Library::stampsUnder(const QString& folder) {
    QHash<QString, FileStamp> stamps;
    QString prefix = QDir(folder).absolutePath();
    if (!prefix.endsWith(u'/'))
        prefix += u'/';
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.setForwardOnly(true);
    q.prepare(
        QStringLiteral("SELECT path, size, modified FROM records WHERE substr(path, 1, ?) = ?"));
    q.addBindValue(static_cast<int>(prefix.size()));
    q.addBindValue(prefix);
    if (!q.exec()) {
        fail(q.lastError().text());
        return stamps;
    }
    while (q.next())
        stamps.insert(q.value(0).toString(), {q.value(1).toLongLong(), q.value(2).toLongLong()});
    return stamps;
}

void Library::markCopies(const QStringList& hashes) {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery records(db);
    records.prepare(QStringLiteral(
        "UPDATE records SET is_copy = CASE WHEN hash <> '' AND EXISTS (SELECT 1 FROM records o "
        "WHERE o.hash = records.hash AND o.path < records.path) THEN 1 ELSE 0 END WHERE hash = ?"));
    QSqlQuery players(db);
    players.prepare(QStringLiteral(
        "UPDATE players SET counted = (SELECT 1 - r.is_copy FROM records r WHERE "
        "r.id = players.record_id) WHERE record_id IN (SELECT id FROM records WHERE hash = ?)"));
    for (const QString& hash : hashes) {
        records.addBindValue(textValue(hash));
        records.exec();
        players.addBindValue(textValue(hash));
        players.exec();
    }
}

void Library::nextGeneration() {
    QSqlQuery(QSqlDatabase::database(connection_, false))
        .exec(QStringLiteral("UPDATE meta SET value = CAST(CAST(value AS INTEGER) + 1 AS TEXT) "
                             "WHERE key = 'generation'"));
}

bool Library::store(const std::vector<RecordEntry>& entries) {
    if (entries.empty())
        return true;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!begin())
        return false;
    QSqlQuery previous(db);
    previous.prepare(QStringLiteral("SELECT hash FROM records WHERE path = ?"));
    QSqlQuery upsert(db);
    upsert.prepare(QStringLiteral(
        "INSERT INTO records (path, size, modified, hash, format, map, map_key, date, damaged, "
        "world, width, height, speed, player_limit, events, first_time, last_time, ended, winner, "
        "player_list, is_copy) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
        "0) "
        "ON CONFLICT (path) DO UPDATE SET size = excluded.size, modified = excluded.modified, "
        "hash = excluded.hash, format = excluded.format, map = excluded.map, "
        "map_key = excluded.map_key, date = excluded.date, damaged = excluded.damaged, "
        "world = excluded.world, width = excluded.width, height = excluded.height, "
        "speed = excluded.speed, player_limit = excluded.player_limit, events = excluded.events, "
        "first_time = excluded.first_time, last_time = excluded.last_time, "
        "ended = excluded.ended, winner = excluded.winner, player_list = excluded.player_list "
        "RETURNING id"));
    QSqlQuery clear(db);
    clear.prepare(QStringLiteral("DELETE FROM players WHERE record_id = ?"));
    QSqlQuery player(db);
    player.prepare(QStringLiteral(
        "INSERT INTO players (record_id, idx, name, name_key, team, team_key, hq, counted, result, "
        "survivor, experience, kills, wins, nectar, production, fields) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, 1, ?, ?, ?, ?, ?, ?, ?, ?)"));

    std::set<QString> hashes;
    auto abort = [&](const QSqlQuery& q) {
        const QString text = q.lastError().text();
        rollback();
        return fail(text);
    };
    for (const RecordEntry& e : entries) {
        previous.addBindValue(e.path);
        if (!previous.exec())
            return abort(previous);
        if (previous.next())
            hashes.insert(previous.value(0).toString());
        previous.finish();
        hashes.insert(e.hash);

        for (const QVariant& value : {textValue(e.path),
                                      QVariant(qlonglong(e.size)),
                                      QVariant(qlonglong(e.modified)),
                                      textValue(e.hash),
                                      textValue(e.format),
                                      textValue(e.map),
                                      textValue(foldForMatching(e.map)),
                                      textValue(e.date),
                                      textValue(e.damaged),
                                      textValue(e.world),
                                      QVariant(e.width),
                                      QVariant(e.height),
                                      QVariant(e.speed),
                                      QVariant(e.limit),
                                      QVariant(e.events),
                                      textValue(e.firstTime),
                                      textValue(e.lastTime),
                                      QVariant(e.ended ? 1 : 0),
                                      textValue(e.winner),
                                      textValue(playerListOf(e))})
            upsert.addBindValue(value);
        if (!upsert.exec() || !upsert.next())
            return abort(upsert);
        const qlonglong id = upsert.value(0).toLongLong();
        upsert.finish();
        clear.addBindValue(id);
        if (!clear.exec())
            return abort(clear);
        for (size_t i = 0; i < e.players.size(); ++i) {
            const EntryPlayer& p = e.players[i];
            for (const QVariant& value :
                 {QVariant(id), QVariant(int(i)), textValue(p.name),
                  textValue(foldForMatching(p.name)), textValue(p.team),
                  textValue(p.team.toLower()), textValue(p.hq),
                  QVariant(!e.ended                       ? 0
                           : e.winner == p.team.toLower() ? 1
                                                          : -1),
                  QVariant(p.survivor ? 1 : 0), QVariant(p.experience), QVariant(p.kills),
                  QVariant(p.wins), QVariant(p.nectar), QVariant(p.production), QVariant(p.fields)})
                player.addBindValue(value);
            if (!player.exec())
                return abort(player);
        }
    }
    markCopies(QStringList(hashes.begin(), hashes.end()));
    nextGeneration();
    return commit();
}

bool Library::remove(const QStringList& paths) {
    if (paths.isEmpty())
        return true;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!begin())
        return false;
    QSqlQuery find(db);
    find.prepare(QStringLiteral("SELECT id, hash FROM records WHERE path = ?"));
    QSqlQuery players(db);
    players.prepare(QStringLiteral("DELETE FROM players WHERE record_id = ?"));
    QSqlQuery records(db);
    records.prepare(QStringLiteral("DELETE FROM records WHERE id = ?"));
    QStringList hashes;
    for (const QString& path : paths) {
        find.addBindValue(path);
        if (!find.exec()) {
            const QString text = find.lastError().text();
            rollback();
            return fail(text);
        }
        if (!find.next())
            continue;
        const qlonglong id = find.value(0).toLongLong();
        hashes.append(find.value(1).toString());
        find.finish();
        players.addBindValue(id);
        records.addBindValue(id);
        if (!players.exec() || !records.exec()) {
            const QString text = players.lastError().text() + records.lastError().text();
            rollback();
            return fail(text);
        }
    }
    markCopies(hashes);
    nextGeneration();
    return commit();
}

std::vector<Bookmark> Library::bookmarks(const QString& hash) {
    std::vector<Bookmark> result;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.prepare(QStringLiteral("SELECT event, note FROM bookmarks WHERE hash = ? ORDER BY event"));
    q.addBindValue(textValue(hash));
    if (!q.exec()) {
        fail(q.lastError().text());
        return result;
    }
    while (q.next())
        result.push_back({q.value(0).toInt(), q.value(1).toString()});
    return result;
}

bool Library::setBookmark(const QString& hash, const Bookmark& bookmark) {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.prepare(QStringLiteral("INSERT INTO bookmarks (hash, event, note) VALUES (?, ?, ?) "
                             "ON CONFLICT (hash, event) DO UPDATE SET note = excluded.note"));
    q.addBindValue(textValue(hash));
    q.addBindValue(bookmark.event);
    q.addBindValue(textValue(bookmark.note));
    return q.exec() || fail(q.lastError().text());
}

bool Library::removeBookmark(const QString& hash, int32_t event) {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.prepare(QStringLiteral("DELETE FROM bookmarks WHERE hash = ? AND event = ?"));
    q.addBindValue(textValue(hash));
    q.addBindValue(event);
    return q.exec() || fail(q.lastError().text());
}

void Library::analyze() {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    // On PostgreSQL a vacuum also marks the pages whose rows every reader sees, so that
    // searches by player read the players' index alone.
    q.exec(location_.engine == LibraryLocation::Engine::PostgreSQL
               ? QStringLiteral("VACUUM (ANALYZE) records, players")
               : QStringLiteral("ANALYZE"));
}

int Library::recordCount() {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM records")) || !q.next())
        return -1;
    return q.value(0).toInt();
}

QString Library::idIn(const QString& column, const QString& ids) const {
    // PostgreSQL plans an IN over a few thousand ids as a scan of the whole table; an array of
    // them makes it look each one up.
    if (location_.engine == LibraryLocation::Engine::PostgreSQL)
        return column + QStringLiteral(" = ANY(ARRAY(") + ids + QStringLiteral("))");
    return column + QStringLiteral(" IN (") + ids + u')';
}

std::vector<RecordEntry> Library::query(const RecordQuery& query, bool withPlayers) {
    lastError_.clear();
    QStringList where{QStringLiteral("r.is_copy = 0")};
    QVariantList binds;
    if (!query.player.isEmpty()) {
        // The player's rows pick the records: the player's team, result and opponents are
        // on them and their record's other rows.
        QString players = QStringLiteral("SELECT p.record_id FROM players p WHERE p.name_key = ?");
        binds << foldForMatching(query.player);
        if (!query.team.isEmpty()) {
            players += QStringLiteral(" AND p.team_key = ?");
            binds << query.team.toLower();
        }
        if (query.result == RecordQuery::Result::Won)
            players += QStringLiteral(" AND p.result = 1");
        else if (query.result == RecordQuery::Result::Lost)
            players += QStringLiteral(" AND p.result = -1");
        if (!query.opponent.isEmpty()) {
            players += QStringLiteral(" AND EXISTS (SELECT 1 FROM players o WHERE o.record_id = "
                                      "p.record_id AND o.name_key = ? AND o.team_key <> "
                                      "p.team_key)");
            binds << foldForMatching(query.opponent);
        }
        where << idIn(QStringLiteral("r.id"), players);
    } else {
        if (!query.team.isEmpty()) {
            where << idIn(QStringLiteral("r.id"),
                          QStringLiteral("SELECT record_id FROM players WHERE team_key = ?"));
            binds << query.team.toLower();
        }
        if (!query.opponent.isEmpty()) {
            where << idIn(QStringLiteral("r.id"),
                          QStringLiteral("SELECT record_id FROM players WHERE name_key = ?"));
            binds << foldForMatching(query.opponent);
        }
        if (query.result == RecordQuery::Result::Won || query.result == RecordQuery::Result::Lost)
            where << QStringLiteral("r.ended = 1");
    }
    if (query.result == RecordQuery::Result::Unfinished)
        where << QStringLiteral("r.ended = 0 AND r.damaged = ''");
    if (!query.map.isEmpty()) {
        where << QStringLiteral("r.map_key LIKE ? ESCAPE '\\'");
        binds << likePattern(foldForMatching(query.map));
    }
    if (query.since.isValid()) {
        where << QStringLiteral("r.date <> '' AND r.date >= ?");
        binds << query.since.toString(Qt::ISODate);
    }
    if (query.until.isValid()) {
        where << QStringLiteral("r.date <> '' AND r.date <= ?");
        binds << query.until.toString(Qt::ISODate);
    }
    if (query.minEvents >= 0) {
        where << QStringLiteral("r.events >= ?");
        binds << query.minEvents;
    }
    if (query.maxEvents >= 0) {
        where << QStringLiteral("r.events <= ?");
        binds << query.maxEvents;
    }
    const QString filter = where.join(QStringLiteral(" AND "));
    const QString sql = QStringLiteral("SELECT ") + QLatin1String(kRecordColumns) +
                        QStringLiteral(" FROM records r WHERE ") + filter +
                        QStringLiteral(" ORDER BY r.date DESC, r.path");

    std::vector<RecordEntry> entries;
    QHash<qlonglong, size_t> byId;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const QVariant& value : binds)
        q.addBindValue(value);
    if (!q.exec()) {
        fail(q.lastError().text());
        return entries;
    }
    while (q.next()) {
        RecordEntry e;
        e.path = q.value(1).toString();
        e.size = q.value(2).toLongLong();
        e.modified = q.value(3).toLongLong();
        e.hash = q.value(4).toString();
        e.format = q.value(5).toString();
        e.map = q.value(6).toString();
        e.date = q.value(7).toString();
        e.damaged = q.value(8).toString();
        e.world = q.value(9).toString();
        e.width = q.value(10).toInt();
        e.height = q.value(11).toInt();
        e.speed = q.value(12).toInt();
        e.limit = q.value(13).toInt();
        e.events = q.value(14).toInt();
        e.firstTime = q.value(15).toString();
        e.lastTime = q.value(16).toString();
        e.ended = q.value(17).toInt() != 0;
        e.winner = q.value(18).toString();
        e.playerList = q.value(19).toString();
        byId.insert(q.value(0).toLongLong(), entries.size());
        entries.push_back(std::move(e));
    }

    if (!withPlayers)
        return entries;
    // The players of the records found, by the same filter.
    QSqlQuery p(db);
    p.setForwardOnly(true);
    p.prepare(QStringLiteral("SELECT record_id, name, team, hq, survivor, experience, kills, wins, "
                             "nectar, production, fields FROM players WHERE ") +
              idIn(QStringLiteral("record_id"),
                   QStringLiteral("SELECT r.id FROM records r WHERE ") + filter) +
              QStringLiteral(" ORDER BY record_id, idx"));
    for (const QVariant& value : binds)
        p.addBindValue(value);
    if (!p.exec()) {
        fail(p.lastError().text());
        return entries;
    }
    while (p.next()) {
        const auto at = byId.constFind(p.value(0).toLongLong());
        if (at == byId.constEnd())
            continue; // a record stored since the first statement
        EntryPlayer player;
        player.name = p.value(1).toString();
        player.team = p.value(2).toString();
        player.hq = p.value(3).toString();
        player.survivor = p.value(4).toInt() != 0;
        player.experience = p.value(5).toInt();
        player.kills = p.value(6).toInt();
        player.wins = p.value(7).toInt();
        player.nectar = p.value(8).toInt();
        player.production = p.value(9).toInt();
        player.fields = p.value(10).toInt();
        entries[*at].players.push_back(std::move(player));
    }
    return entries;
}

bool Library::refreshCareerTotals() {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!begin())
        return false;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("DELETE FROM career_totals")) ||
        !q.exec(QStringLiteral("INSERT INTO career_totals (generation, name_key, name, team_key, "
                               "result, games, experience, kills, fields) SELECT (SELECT value "
                               "FROM meta WHERE key = 'generation'), g.* FROM (") +
                QLatin1String(kCareerGroups) + QStringLiteral(") g"))) {
        const QString text = q.lastError().text();
        rollback();
        return fail(text);
    }
    return commit();
}

std::vector<PlayerCareer> Library::careers() {
    lastError_.clear();
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    // The totals of the library's present generation (none when they are older), added up
    // anew when there are none; the groups themselves if that cannot be written.
    const QString fresh = QStringLiteral(
        "SELECT name_key, name, team_key, result, games, experience, kills, fields FROM "
        "career_totals WHERE generation = (SELECT value FROM meta WHERE key = 'generation')");
    for (const QString& sql : {fresh, QString(), QString::fromLatin1(kCareerGroups)}) {
        if (sql.isNull()) {
            refreshCareerTotals();
            lastError_.clear();
            continue;
        }
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(sql)) {
            fail(q.lastError().text());
            return {};
        }
        std::vector<PlayerCareer> result = addUpCareers(q);
        if (!result.empty() || sql != fresh)
            return result;
    }
    return {};
}

std::vector<PlayerCareer> Library::addUpCareers(QSqlQuery& q) {
    std::vector<PlayerCareer> result;
    // The groups come in any order the engine likes; they are added up per player here.
    QHash<QString, size_t> byKey;
    std::vector<std::pair<int64_t, int64_t>> experience; // sum and rows, per player
    while (q.next()) {
        const QString key = q.value(0).toString();
        const QString name = q.value(1).toString();
        auto at = byKey.constFind(key);
        if (at == byKey.constEnd()) {
            at = byKey.insert(key, result.size());
            result.emplace_back();
            result.back().name = name;
            experience.emplace_back(0, 0);
        }
        PlayerCareer& c = result[*at];
        if (name < c.name)
            c.name = name;
        const QString team = q.value(2).toString();
        const int outcome = q.value(3).toInt();
        const int games = q.value(4).toInt();
        if (team == QLatin1String("louka") || team == QLatin1String("les")) {
            const bool louka = team == QLatin1String("louka");
            (louka ? c.gamesLouka : c.gamesLes) += games;
            if (outcome == 1)
                (louka ? c.winsLouka : c.winsLes) += games;
            else if (outcome == -1)
                (louka ? c.lossesLouka : c.lossesLes) += games;
        }
        experience[*at].first += q.value(5).toLongLong();
        experience[*at].second += games;
        c.kills += q.value(6).toLongLong();
        c.fields += q.value(7).toLongLong();
    }
    for (size_t i = 0; i < result.size(); ++i)
        if (experience[i].second > 0)
            result[i].averageExperience =
                double(experience[i].first) / double(experience[i].second);
    std::sort(result.begin(), result.end(),
              [](const PlayerCareer& a, const PlayerCareer& b) { return a.name < b.name; });
    return result;
}

} // namespace kx
