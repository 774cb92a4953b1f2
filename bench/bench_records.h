#pragma once

#include <QString>

#include <cstdint>

namespace kx::bench {

// A generated event log of `events` events on a width x height world, written once per run
// into a temporary folder; returns its path.
QString generatedLog(int64_t events, int width, int height, int players = 8);

} // namespace kx::bench
