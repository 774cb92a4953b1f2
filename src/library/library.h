#pragma once

#include "bookmark.h"
#include "library_location.h"
#include "record_entry.h"

#include <QDate>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace kx {

// The version of the library's tables this program writes; older libraries are migrated,
// newer ones refused.
inline constexpr int kLibrarySchemaVersion = 2;

// A search of the library. Names, the map and the team compare without letter case and
// diacritics. Empty fields do not filter.
struct RecordQuery {
    enum class Result { Any, Won, Lost, Unfinished };
    QString player;   // a player of the record
    QString opponent; // a player on another team than `player` (any player when none)
    QString team;     // the team `player` played for (any player's team when none)
    QString map;      // a part of the map name
    QDate since;      // the date of the file name, inclusive
    QDate until;
    // Won and lost: the world ended and `player`'s team won or lost (without a player: the
    // world ended). Unfinished: the world did not end.
    Result result = Result::Any;
    int minEvents = -1;
    int maxEvents = -1;
};

// A player's career over the library's games (each game once, whatever its copies).
struct PlayerCareer {
    QString name;
    int gamesLouka = 0, winsLouka = 0, lossesLouka = 0;
    int gamesLes = 0, winsLes = 0, lossesLes = 0;
    double averageExperience = 0;
    int64_t kills = 0;
    int64_t fields = 0;

    int games() const { return gamesLouka + gamesLes; }
    int wins() const { return winsLouka + winsLes; }
    int losses() const { return lossesLouka + lossesLes; }
    // Wins among the games that ended, 0 to 1.
    double winRate() const {
        return wins() + losses() > 0 ? double(wins()) / (wins() + losses()) : 0.0;
    }
};

// A record library: the folders a user added and an index of every record under them, in a
// SQLite file or a PostgreSQL database. One object per thread; several processes may use one
// library at once.
class Library {
  public:
    // Opens (creating or migrating) the library. A SQLite file that is not a database is moved
    // aside and a new library made; `notice` then says so. A library of a newer version is
    // refused. nullptr and `error` when it cannot be used.
    static std::unique_ptr<Library> open(const LibraryLocation& location, QString* error,
                                         QString* notice = nullptr);
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    const LibraryLocation& location() const { return location_; }
    // Why the last operation failed; query() and careers() clear it when they start.
    QString lastError() const { return lastError_; }

    bool addFolder(const QString& folder);
    QStringList folders();

    // The indexed files under `folder` (at any depth) with their size and modification time.
    QHash<QString, FileStamp> stampsUnder(const QString& folder);
    // Adds or replaces the entries (by path) in one transaction.
    bool store(const std::vector<RecordEntry>& entries);
    bool remove(const QStringList& paths);

    // The records that match, newest first; their players' figures only when `withPlayers`
    // (playerList is always there).
    std::vector<RecordEntry> query(const RecordQuery& query, bool withPlayers = true);
    std::vector<PlayerCareer> careers();
    // Adds up the players' career totals for the library as it is now, so that careers()
    // reads them instead of every player row.
    bool refreshCareerTotals();
    int recordCount();

    // The bookmarks of the record with content hash `hash`, by event.
    std::vector<Bookmark> bookmarks(const QString& hash);
    // Adds a bookmark, or renames the one at its event.
    bool setBookmark(const QString& hash, const Bookmark& bookmark);
    bool removeBookmark(const QString& hash, int32_t event);
    // Refreshes the engine's statistics of the tables after many changes, so that searches
    // keep using the indexes.
    void analyze();

  private:
    Library(LibraryLocation location, QString connection);
    bool prepareSchema(QString* error, bool* notADatabase);
    bool begin();
    bool commit();
    void rollback();
    bool fail(const QString& text);
    void markCopies(const QStringList& hashes);
    void nextGeneration();
    // `column` is one of the ids the statement `ids` selects, in the engine's best form.
    QString idIn(const QString& column, const QString& ids) const;
    static std::vector<PlayerCareer> addUpCareers(QSqlQuery& q);

    LibraryLocation location_;
    QString connection_;
    QString lastError_;
};

} // namespace kx
