#include "library_commands.h"

#include "cli_common.h"

#include "library/bookmarks.h"
#include "library/indexer.h"
#include "library/library.h"
#include "library/record_entry.h"
#include "records/time_stamp.h"
#include "replay/session.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <memory>
#include <optional>

namespace kx::cli {

namespace {

enum class Output { Text, Csv, Json };

// Options shared by the library commands: the library and the output form.
struct LibraryOptions {
    QString db;
    Output output = Output::Text;
};

// Takes --db, --csv and --json out of `args`; false on a repeated or missing value.
bool takeLibraryOptions(QStringList& args, LibraryOptions& options, bool allowOutput) {
    QStringList rest;
    bool outputGiven = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--db")) {
            if (i + 1 >= args.size() || !options.db.isEmpty())
                return false;
            options.db = args[++i];
            if (options.db.isEmpty())
                return false;
        } else if (allowOutput && (a == QLatin1String("--csv") || a == QLatin1String("--json"))) {
            if (outputGiven)
                return false;
            outputGiven = true;
            options.output = a == QLatin1String("--csv") ? Output::Csv : Output::Json;
        } else {
            rest << a;
        }
    }
    args = rest;
    return true;
}

// Opens the library; prints why not. Exit status in *status when it fails.
std::unique_ptr<Library> openLibrary(const QString& db, int* status) {
    QString error;
    const std::optional<LibraryLocation> location = parseLibraryLocation(db, &error);
    if (!location) {
        printError(error);
        *status = kExitUsage;
        return nullptr;
    }
    QString notice;
    std::unique_ptr<Library> library = Library::open(*location, &error, &notice);
    if (!notice.isEmpty())
        printError(notice);
    if (!library) {
        printError(error);
        *status = kExitFailure;
    }
    return library;
}

void writeBytes(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

QString csvField(const QString& text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString csvRow(const QStringList& fields) {
    QStringList out;
    for (const QString& f : fields)
        out << csvField(f);
    return out.join(u',') + QStringLiteral("\r\n");
}

QJsonObject playerJson(const EntryPlayer& p) {
    return QJsonObject{{"name", p.name},
                       {"team", p.team},
                       {"hq", p.hq},
                       {"survivor", p.survivor},
                       {"experience", p.experience},
                       {"kills", p.kills},
                       {"wins", p.wins},
                       {"nectar", p.nectar},
                       {"production", p.production},
                       {"fields", p.fields}};
}

QJsonObject recordJson(const RecordEntry& e) {
    QJsonArray players;
    for (const EntryPlayer& p : e.players)
        players.append(playerJson(p));
    return QJsonObject{{"path", e.path},           {"map", e.map},
                       {"date", e.date},           {"world", e.world},
                       {"format", e.format},       {"width", e.width},
                       {"height", e.height},       {"speed", e.speed},
                       {"limit", e.limit},         {"events", e.events},
                       {"firstTime", e.firstTime}, {"lastTime", e.lastTime},
                       {"ended", e.ended},         {"winner", e.winner},
                       {"damaged", e.damaged},     {"players", players}};
}

std::optional<QDate> isoDate(const QString& text) {
    const QDate date = QDate::fromString(text, Qt::ISODate);
    if (!date.isValid() || text.size() != 10)
        return std::nullopt;
    return date;
}

} // namespace

int runIndex(const QStringList& arguments) {
    QStringList args = arguments;
    LibraryOptions options;
    if (!takeLibraryOptions(args, options, false) || args.isEmpty())
        return usageError(kIndexUsage);
    for (const QString& a : args)
        if (isOption(a))
            return usageError(kIndexUsage);
    int status = kExitOk;
    std::unique_ptr<Library> library = openLibrary(options.db, &status);
    if (!library)
        return status;
    const IndexResult result = indexFolders(*library, args);
    for (const QString& error : result.errors)
        printError(error);
    const IndexProgress& c = result.counts;
    printOut(QString::fromUtf8("Záznamů: %1, přečteno %2 (poškozeno %3), beze změny %4, "
                               "odstraněno %5.")
                 .arg(c.found)
                 .arg(c.read)
                 .arg(c.damaged)
                 .arg(c.unchanged)
                 .arg(c.removed));
    return result.errors.isEmpty() ? kExitOk : kExitFailure;
}

int runQuery(const QStringList& arguments) {
    QStringList args = arguments;
    LibraryOptions options;
    if (!takeLibraryOptions(args, options, true))
        return usageError(kQueryUsage);
    RecordQuery query;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& name = args[i];
        if (i + 1 >= args.size())
            return usageError(kQueryUsage);
        const QString value = args[++i];
        if (name == QLatin1String("--player")) {
            query.player = value;
        } else if (name == QLatin1String("--vs")) {
            query.opponent = value;
        } else if (name == QLatin1String("--team")) {
            if (value != QLatin1String("louka") && value != QLatin1String("les"))
                return usageError(kQueryUsage);
            query.team = value;
        } else if (name == QLatin1String("--map")) {
            query.map = value;
        } else if (name == QLatin1String("--since") || name == QLatin1String("--until")) {
            const std::optional<QDate> date = isoDate(value);
            if (!date) {
                printError(QString::fromUtf8("Neplatné datum: %1 (čekám RRRR-MM-DD)").arg(value));
                return kExitUsage;
            }
            (name == QLatin1String("--since") ? query.since : query.until) = *date;
        } else if (name == QLatin1String("--result")) {
            if (value == QLatin1String("won"))
                query.result = RecordQuery::Result::Won;
            else if (value == QLatin1String("lost"))
                query.result = RecordQuery::Result::Lost;
            else if (value == QLatin1String("unfinished"))
                query.result = RecordQuery::Result::Unfinished;
            else
                return usageError(kQueryUsage);
        } else {
            return usageError(kQueryUsage);
        }
    }
    int status = kExitOk;
    std::unique_ptr<Library> library = openLibrary(options.db, &status);
    if (!library)
        return status;
    const std::vector<RecordEntry> entries = library->query(query);
    if (!library->lastError().isEmpty()) {
        printError(library->lastError());
        return kExitFailure;
    }

    if (options.output == Output::Json) {
        QJsonArray array;
        for (const RecordEntry& e : entries)
            array.append(recordJson(e));
        writeBytes(QJsonDocument(array).toJson(QJsonDocument::Compact) + '\n');
    } else if (options.output == Output::Csv) {
        // One row per player of a record (one row for a record without players).
        QString out = csvRow({"path", "map", "date", "world", "events", "ended", "winner",
                              "damaged", "player", "team", "hq", "experience", "kills", "wins",
                              "nectar", "production", "fields"});
        for (const RecordEntry& e : entries) {
            const QStringList record{e.path,
                                     e.map,
                                     e.date,
                                     e.world,
                                     QString::number(e.events),
                                     e.ended ? QStringLiteral("1") : QStringLiteral("0"),
                                     e.winner,
                                     e.damaged};
            if (e.players.empty())
                out += csvRow(record + QStringList(9, QString()));
            for (const EntryPlayer& p : e.players)
                out += csvRow(record +
                              QStringList{p.name, p.team, p.hq, QString::number(p.experience),
                                          QString::number(p.kills), QString::number(p.wins),
                                          QString::number(p.nectar), QString::number(p.production),
                                          QString::number(p.fields)});
        }
        writeBytes(out.toUtf8());
    } else {
        for (const RecordEntry& e : entries) {
            QStringList players;
            for (const EntryPlayer& p : e.players)
                players << p.name + QStringLiteral(" (") + p.team + u')';
            const QString result = !e.damaged.isEmpty() ? QString::fromUtf8("poškozen")
                                   : e.ended ? QString::fromUtf8("vyhrál %1").arg(e.winner)
                                             : QString::fromUtf8("nedohráno");
            printOut(QStringList{e.date, e.map, players.join(QStringLiteral(", ")),
                                 QString::number(e.events), result, e.path}
                         .join(u'\t'));
        }
    }
    return kExitOk;
}

int runPlayers(const QStringList& arguments) {
    QStringList args = arguments;
    LibraryOptions options;
    if (!takeLibraryOptions(args, options, true) || !args.isEmpty())
        return usageError(kPlayersUsage);
    int status = kExitOk;
    std::unique_ptr<Library> library = openLibrary(options.db, &status);
    if (!library)
        return status;
    const std::vector<PlayerCareer> careers = library->careers();
    if (!library->lastError().isEmpty()) {
        printError(library->lastError());
        return kExitFailure;
    }
    auto fields = [](const PlayerCareer& c) {
        return QStringList{c.name,
                           QString::number(c.games()),
                           QString::number(c.wins()),
                           QString::number(c.losses()),
                           QString::number(c.gamesLouka),
                           QString::number(c.winsLouka),
                           QString::number(c.lossesLouka),
                           QString::number(c.gamesLes),
                           QString::number(c.winsLes),
                           QString::number(c.lossesLes),
                           QString::number(c.winRate(), 'f', 3),
                           QString::number(c.averageExperience, 'f', 1),
                           QString::number(c.kills),
                           QString::number(c.fields)};
    };
    const QStringList header{"name",       "games",     "wins",        "losses",
                             "gamesLouka", "winsLouka", "lossesLouka", "gamesLes",
                             "winsLes",    "lossesLes", "winRate",     "averageExperience",
                             "kills",      "fields"};
    if (options.output == Output::Json) {
        QJsonArray array;
        for (const PlayerCareer& c : careers) {
            const QStringList values = fields(c);
            QJsonObject o{{"name", c.name}};
            for (qsizetype i = 1; i < header.size(); ++i)
                o.insert(header[i], values[i].toDouble());
            array.append(o);
        }
        writeBytes(QJsonDocument(array).toJson(QJsonDocument::Compact) + '\n');
    } else if (options.output == Output::Csv) {
        QString out = csvRow(header);
        for (const PlayerCareer& c : careers)
            out += csvRow(fields(c));
        writeBytes(out.toUtf8());
    } else {
        for (const PlayerCareer& c : careers)
            printOut(fields(c).join(u'\t'));
    }
    return kExitOk;
}

} // namespace kx::cli

namespace kx::cli {

int runBookmarks(const QStringList& arguments) {
    QStringList args = arguments;
    LibraryOptions options;
    if (!takeLibraryOptions(args, options, true) || !options.db.isEmpty())
        return usageError(kBookmarksUsage);
    QString file, reading;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--as")) {
            if (i + 1 >= args.size())
                return usageError(kBookmarksUsage);
            reading = args[++i];
        } else if (isOption(args[i]) || !file.isEmpty()) {
            return usageError(kBookmarksUsage);
        } else {
            file = args[i];
        }
    }
    if (file.isEmpty())
        return usageError(kBookmarksUsage);
    const std::optional<RecordFormat> format = recordFormatFor(file, reading);
    if (!format)
        return usageError(kBookmarksUsage);

    // The record is read for its content hash, under which its bookmarks are kept.
    RecordedMessages messages;
    ReplaySession session(messages);
    const LoadStatus status = session.openRecord(file, *format);
    for (const QString& message : messages.shown)
        printError(message);
    if (status != LoadStatus::Loaded)
        return kExitFailure;
    const MainState& state = session.state();
    const std::vector<Bookmark> bookmarks = Bookmarks().list(recordContentHash(state.lbOpen));

    const int32_t count = static_cast<int32_t>(state.lvData.size());
    auto timeOf = [&](int32_t event) {
        return event >= 0 && event < count ? eventTimeLabel(state.lvData.item(event).subItem(0))
                                           : QString();
    };
    QByteArray out;
    if (options.output == Output::Json) {
        QJsonArray array;
        for (const Bookmark& b : bookmarks)
            array.append(
                QJsonObject{{"event", b.event}, {"time", timeOf(b.event)}, {"note", b.note}});
        out = QJsonDocument(array).toJson(QJsonDocument::Indented);
    } else if (options.output == Output::Csv) {
        out = csvRow({QStringLiteral("event"), QStringLiteral("time"), QStringLiteral("note")})
                  .toUtf8();
        for (const Bookmark& b : bookmarks)
            out += csvRow({QString::number(b.event), timeOf(b.event), b.note}).toUtf8();
    } else {
        for (const Bookmark& b : bookmarks)
            out += QStringLiteral("Akce %1 z %2\t%3\t%4\n")
                       .arg(b.event)
                       .arg(count)
                       .arg(timeOf(b.event), b.note)
                       .toUtf8();
    }
    writeBytes(out);
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
}

} // namespace kx::cli
