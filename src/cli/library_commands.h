#pragma once

#include <QStringList>

namespace kx::cli {

inline constexpr const char* kIndexUsage = "index SLOŽKA… [--db SOUBOR|URL]";
inline constexpr const char* kQueryUsage =
    "query [--player JMÉNO] [--vs JMÉNO] [--team louka|les] [--map TEXT] [--since RRRR-MM-DD] "
    "[--until RRRR-MM-DD] [--result won|lost|unfinished] [--db SOUBOR|URL] [--csv|--json]";
inline constexpr const char* kPlayersUsage = "players [--db SOUBOR|URL] [--csv|--json]";
inline constexpr const char* kBookmarksUsage = "bookmarks SOUBOR [--as xml|log] [--csv|--json]";

// kxrtool index DIR…: indexes the records under the folders into the library (by default the
// user's library file) and prints what it did; exit 1 when a folder or the library failed.
int runIndex(const QStringList& arguments);

// kxrtool query: the library's records that match, one line each, or as CSV or JSON.
int runQuery(const QStringList& arguments);

// kxrtool players: every player's career in the library.
int runPlayers(const QStringList& arguments);

// kxrtool bookmarks FILE: the user's bookmarks of the record (kept by its content, so they
// follow it when it is moved or renamed).
int runBookmarks(const QStringList& arguments);

} // namespace kx::cli
