#pragma once

#include "record_files.h"

#include "record_generator.h"

// Writes a generated event log of a world width x height and gives its path; the file is
// named after the seed and the number of events.
inline QString writeGeneratedLog(RecordFiles& files, uint64_t seed, int events, int players,
                                 int width = 20, int height = 20) {
    kx::RecordGeneratorOptions options;
    options.seed = seed;
    options.events = events;
    options.players = players;
    options.width = width;
    options.height = height;
    return files.writeBytes(QStringLiteral("g%1_%2.kxr").arg(seed).arg(events),
                            kx::generateRecord(options).log);
}
