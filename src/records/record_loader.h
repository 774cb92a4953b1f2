#pragma once

#include "event_list.h"
#include "line_list.h"
#include "record_file_stream.h"
#include "record_format.h"
#include "user_messages.h"
#include "world.h"
#include "xml_converter.h"

#include <QString>

#include <functional>
#include <optional>

namespace kx {

// Messages of a damaged record.
namespace LoadMessages {
inline const char* const kReadFailed = "Nepodařilo se přečíst záznam.";
inline const char* const kNoHeader = "Záznam je zřejmě poškozen.\nChyba: nenalezena hlavička";
inline const char* const kNoWorld = "Záznam je zřejmě poškozen.\nChyba: nelze definovat svět";
inline const char* const kWorldSize =
    "Záznam je zřejmě poškozen.\nChyba: rozměry světa musí být 1 až 1000 políček";
inline const char* const kPlayerCount =
    "Záznam je zřejmě poškozen.\nChyba: počet hráčů musí být 0 až 99";
inline const char* const kNoMap = "Záznam je zřejmě poškozen\nChyba: svět nelze vytvořit";
inline const char* const kPlayersMismatch =
    "Záznam je zřejmě poškozen\nChyba: počet hráčů neodpovídá";
inline const char* const kHqOutside =
    "Záznam je zřejmě poškozen\nChyba: velení hráče leží mimo svět";
inline const char* const kCannotOpen = "Soubor nelze otevřít:\n";
inline const char* const kTooLarge = "Soubor je příliš velký:\n";
inline const char* const kChangedWhileRead =
    "Soubor se během načítání změnil nebo byl odstraněn, záznam nebyl načten.\n"
    "Otevřete ho prosím znovu, až bude úplný:\n";
} // namespace LoadMessages

// Reads a whole file; on failure returns nullopt and sets *error to a message for the user.
// A file that is cut short, rewritten, removed or replaced while it is read is a failure.
// A large file is read in pieces, calling keepAlive (when given) after each. A splitter, when
// given, splits the text into lines as the pieces come (take the lines from it after a
// successful read). `percent`, when given, is told the share read after each piece.
std::optional<QByteArray> readRecordFile(const QString& path, QString* error,
                                         const std::function<void()>& keepAlive = {},
                                         LineSplitter* lines = nullptr,
                                         const std::function<void(int)>& percent = {});

// A record read and its initial world built, ready to be shown.
struct LoadedRecord {
    LineList lines;      // the event-log lines
    EventList events;    // one item per line; shares the lines' text
    World world;         // the initial world
    QStringList players; // "name (team)" per player index
    QString caption;     // the players' box caption
    int mapColumns = 0;  // the map's columns and rows, the header ones included
    int mapRows = 0;
    QString warning; // a message shown although the record loaded (a bad time stamp)
};

// How a load ended.
enum class LoadStatus { Loaded, Unreadable, Damaged };

// What reading a record gives: the record, or the message that says why not.
struct RecordLoad {
    std::optional<LoadedRecord> record;
    QString error;
    bool unreadable = false; // the file itself could not be read (not a damaged record)

    LoadStatus status() const {
        return record       ? LoadStatus::Loaded
               : unreadable ? LoadStatus::Unreadable
                            : LoadStatus::Damaged;
    }
};

// Receives a load's progress (the bar's value, 0 to 100) and lets a window serve its events.
class LoadProgress {
  public:
    virtual ~LoadProgress() = default;
    virtual void set(int value) = 0;
    virtual void keepAlive() = 0;
};

// Reads the record at `path` and builds its initial world from `world`, which keeps what a
// record does not set (whether the replay is shown; the last event's time when the record's
// is unreadable). An XML record is converted by `converter` while it is read, and the
// converter keeps its lists whatever the outcome, except the record's own lines (see
// restoreConverterLog).
RecordLoad readRecord(const QString& path, RecordFormat format, World world,
                      XmlConverter& converter, LoadProgress& progress);

// Reads again the XML record that `converter` last converted while reading it and converts it
// whole, so that its log holds the record's lines too (for a window that shows them). False
// when there is nothing to do or the file cannot be read (it is not tried again); the lists
// are then as they were.
bool restoreConverterLog(XmlConverter& converter);

// The initial world built from the first items of an event list.
struct WorldBuild {
    bool ok = false;
    QString message; // the error when !ok, else a warning or empty
};

// Builds the initial world into `world` and fills `playerNames`, `caption` and the map's size;
// on an error they may be left half filled.
WorldBuild buildInitialWorld(const EventList& items, World& world, QStringList& playerNames,
                             QString& caption, int& mapColumns, int& mapRows);

} // namespace kx
