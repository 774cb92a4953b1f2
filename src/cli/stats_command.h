#pragma once

#include <QStringList>

namespace kx::cli {

inline constexpr const char* kStatsUsage = "stats SOUBOR [--as xml|log] --csv [--summary]";

// kxrtool stats FILE [--as xml|log] --csv [--summary]: loads FILE as the viewer does, replays
// it quietly and prints every player's figures per game hour as CSV, the same numbers the
// charts window exports; with --summary, the end-of-world summary as CSV instead.
int runStats(const QStringList& args);

} // namespace kx::cli
