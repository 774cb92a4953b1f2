#pragma once

#include "editor/map_file.h"
#include "records/world.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace kx {

// A map file as the editor takes it back: the drawing in editor codes and the texts as held.
struct LoadedMap {
    Grid editFields;
    Grid editUnits;
    MapTexts texts;
};

// The result of reading a map: the map, or the Czech message that says what is wrong.
struct MapReading {
    std::optional<LoadedMap> map;
    QString error;
};

// Reads the bytes of a map file (Windows-1250 XML, as saveMap writes it). Header elements
// may come in any order, fields in any order; every header element and every field of the
// map must be there exactly once. Refused: anything that is not well-formed XML or not a
// <world>, an encoding other than Windows-1250, a side outside 3..20, a setting that is no
// integer, a class other than 0, a field outside the map or missing, an unknown terrain or
// unit, a unit count that is not a positive integer, units on an impassable field, and any
// element the editor does not write.
MapReading readMap(QByteArrayView bytes);

// Reads a map file from disk; a file that cannot be read or is far too large for a map is
// refused with a message naming it.
MapReading readMapFile(const QString& path);

} // namespace kx
