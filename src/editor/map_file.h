#pragma once

#include "editor/map_editor.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

class QIODevice;

namespace kx {

class UserMessages;

// The texts of the editor window that go into a map file, as typed.
struct MapTexts {
    QString edName;
    QString edAuthor;
    QString mPopis; // the description; only its first line is saved
    QString edSpeed;
    QString edLimit;
    QString edMinE;
    QString edMaxE;

    bool operator==(const MapTexts&) const = default;
};

// The file's terrain number of an editor field code: 0 normal, 1 swamp, 2 rock,
// 3 impassable; the units flag does not count, and an unknown code is normal ground.
int32_t fileTerrainType(int32_t code);

// Writes all of `text` to `file`, continuing a write that falls short; false when a write
// fails (the file then tells why).
bool writeText(QIODevice& file, QByteArrayView text);

// Why the texts cannot be saved, as the Czech message that says so, or an empty text when
// they can: a setting that is no integer, an empty name, a character Windows-1250 cannot hold
// or one of '&', '<', '>' and '"' (which would break the XML) in the name, the author or the
// description, or a name that would put the file in another folder.
QString mapTextsRefusal(const MapTexts& texts);

// The map file in writing order: each header line, each field line and the blank line closing
// each row, then "</world>". Windows-1250, LF line ends, no byte-order mark, every value as
// typed. Nothing when a text has a character Windows-1250 cannot hold.
std::optional<QList<QByteArray>> mapFilePieces(const MapEditor& editor, const MapTexts& texts);

// The first of `name`.xml, `name`1.xml, `name`2.xml, ... in `directory` under which nothing
// exists (a dangling link counts as existing), as a path.
QString freeMapFileName(const QString& directory, const QString& name);

// Checks the texts and writes the map into `directory` under a free name; an existing file
// is never replaced. The file is written beside its target under a hidden name and renamed
// into place when complete. A refusal or a failure is told through `messages` (a failure with
// the system's reason) and leaves no file behind. On success nothing is shown and `savedPath`,
// when given, receives the file's path.
bool saveMap(const MapEditor& editor, const MapTexts& texts, const QString& directory,
             UserMessages& messages, QString* savedPath = nullptr);

// The save button: saves, and after a failure offers one retry (No is the default answer).
// Returns whether a map file was written; then the drawing counts as unchanged and
// `savedPath`, when given, receives the file's path.
bool button1Click(MapEditor& editor, const MapTexts& texts, const QString& directory,
                  UserMessages& messages, QString* savedPath = nullptr);

} // namespace kx
