#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

class QIODevice;

namespace kx {

// Limits of the generator; worlds and records beyond them are refused.
inline constexpr int kMaxGeneratedPlayers = 30;
inline constexpr int kMaxGeneratedSide = 1000; // the largest world a record may hold
inline constexpr int kMaxGeneratedSpeed = 1000;
inline constexpr int64_t kMaxGeneratedEvents = 50'000'000;
// The latest creation time: leaves the longest record room before 32-bit Unix time ends.
inline constexpr int64_t kMaxGeneratedStart = 2'000'000'000;
// 2026-11-14 09:00 local (07:00 UTC).
inline constexpr int64_t kDefaultGeneratedStart = 1'794'639'600;

// What to generate. The same options give the same bytes with every compiler and library.
struct RecordGeneratorOptions {
    uint64_t seed = 1;
    int64_t events = 1000;
    int players = 4;
    int width = 20;
    int height = 20;
    int speed = 4; // moves per hour
    QString name = QStringLiteral("Kopretinová louka");
    int64_t start = kDefaultGeneratedStart; // creation time, Unix seconds
};

// Empty when the options can be generated, otherwise what is wrong with them.
QString checkGeneratorOptions(const RecordGeneratorOptions& options);

// How many columns from the left of a world `width` columns wide have addresses that read back
// as the same column: the column letter is the byte 'A' + x, and the reader upper-cases it and
// takes it as a signed byte, so lower-case letters and bytes above 127 name other columns.
// Generated events use only these columns; the map itself always has the full width.
int addressableColumns(int width);

// Generates a world and writes it as an XML record (.kxr2) to `xml` and as the event log
// (.kxr) that converting that XML record gives to `log`; either device may be null. Both are
// Windows-1250 with CR LF line ends and are written in chunks as the events are made. On
// failure returns false and sets *error (when given).
bool writeGeneratedRecord(const RecordGeneratorOptions& options, QIODevice* xml, QIODevice* log,
                          QString* error = nullptr);

// Both files in memory; `error` is set and the texts are empty when the options are refused.
struct GeneratedRecord {
    QByteArray xml;
    QByteArray log;
    QString error;
};
GeneratedRecord generateRecord(const RecordGeneratorOptions& options);

} // namespace kx
