#pragma once

#include <QString>

#include <cstdint>

namespace kx::bench {

// Events of the largest benchmark records: a million, or KX_BENCH_EVENTS for a quick smoke run.
int64_t recordEvents();

// A generated record of `events` events on a width x height world, an XML record or an event
// log, written once per run into a temporary folder; returns its path.
QString generatedRecord(int64_t events, int width, int height, int players, bool xml);

inline QString generatedLog(int64_t events, int width, int height, int players = 8) {
    return generatedRecord(events, width, height, players, false);
}

} // namespace kx::bench
