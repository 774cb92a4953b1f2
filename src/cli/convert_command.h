#pragma once

#include <QStringList>

namespace kx::cli {

inline constexpr const char* kConvertUsage = "convert SOUBOR";

// kxrtool convert FILE: prints the event-log lines of an XML record as the bytes of a .kxr
// file (Windows-1250, CR LF).
int runConvert(const QStringList& args);

} // namespace kx::cli
