#pragma once

#include <QStringList>

namespace kx::cli {

inline constexpr const char* kMapUsage = "map check SOUBOR";

// kxrtool map check FILE: reads FILE as the map editor opens it. A map prints its summary as
// one JSON object (texts, size, settings, fields of each terrain, units of each kind); a file
// the editor would refuse prints the editor's message on standard error and exits 1.
int runMap(const QStringList& args);

} // namespace kx::cli
