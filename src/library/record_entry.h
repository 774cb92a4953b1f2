#pragma once

#include "records/line_list.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace kx {

// A player of an indexed record, with the figures of the world's end.
struct EntryPlayer {
    QString name;
    QString team; // as the record writes it ("louka" or "les")
    QString hq;   // the HQ's cell address
    bool survivor = false;
    int32_t experience = 0; // 0 for a player that did not finish
    int32_t kills = 0;
    int32_t wins = 0;
    int32_t nectar = 0;
    int32_t production = 0;
    int32_t fields = 0;

    bool operator==(const EntryPlayer&) const = default;
};

// What the library keeps of one record file.
struct RecordEntry {
    QString path; // absolute
    int64_t size = 0;
    int64_t modified = 0; // modification time, milliseconds since the epoch
    QString hash;         // of the file's content: copies of one game share it
    QString format;       // "kxr" or "kxr2"
    QString map;          // from the file name: the part before the date
    QString date;         // from the file name, ISO "yyyy-mm-dd", or empty
    QString damaged;      // the loader's message when the record cannot be replayed

    QString world; // the world's name
    int32_t width = 0;
    int32_t height = 0;
    int32_t speed = 0; // moves per hour
    int32_t limit = 0; // the player limit (the record's player count)
    int32_t events = 0;
    QString firstTime; // of the first and the last event, ISO "yyyy-mm-dd hh:mm:ss"
    QString lastTime;
    bool ended = false; // the fields left on the map all belong to one team
    QString winner;     // the winning team of the end-of-world summary
    std::vector<EntryPlayer> players;
    QString playerList; // "name (team), …", as the library keeps it for lists

    bool operator==(const RecordEntry&) const = default;
};

// The file's identity as the index compares it: an unchanged file is not read again.
struct FileStamp {
    int64_t size = 0;
    int64_t modified = 0;
    bool operator==(const FileStamp&) const = default;
};

// Reads the record at `path` (by its extension, as the viewer opens it) and replays it quietly
// to its end. A file that cannot be read or a damaged record gives an entry with `damaged`
// set and what could be read of the file itself.
RecordEntry readRecordEntry(const QString& path);

// The hash of a loaded record's event-log lines: an XML record and the event log converted
// from it are one game, as are copies of either. Bookmarks are kept under it.
QString recordContentHash(const LineList& lines);

// A record time stamp ("yyyy-dd-mm-hh-mm-ss", day before month) as ISO
// "yyyy-mm-dd hh:mm:ss"; empty when it cannot be read.
QString isoTimeOfStamp(QByteArrayView stamp);

} // namespace kx
