#pragma once

#include <QStringList>

namespace kx::cli {

inline constexpr const char* kSummaryUsage = "summary SOUBOR";

// kxrtool summary FILE: the record browser's summary pane for FILE as one JSON object: the six
// value labels, the player list lbPl and the message-box texts shown.
int runSummary(const QStringList& args);

} // namespace kx::cli
