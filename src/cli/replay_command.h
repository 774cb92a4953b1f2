#pragma once

#include <QStringList>

namespace kx {

inline constexpr const char* kReplayUsage = "replay SOUBOR [--as xml|log] [--do AKCE]";

// kxrtool replay FILE [--as xml|log] [--do ACTIONS]: loads FILE as the viewer does, performs
// the actions on the main window's logic and prints its state as JSON.
int replayCommand(const QStringList& args);

} // namespace kx
