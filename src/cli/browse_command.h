#pragma once

#include <QStringList>

namespace kx::cli {

inline constexpr const char* kBrowseUsage = "browse SLOŽKA";

// kxrtool browse DIR: the rows the record browser lists for DIR, in the list's order, as a
// JSON array of {"map", "date", "base", "type"}.
int runBrowse(const QStringList& args);

} // namespace kx::cli
