#pragma once

#include "generated_log.h"

#include "replay/session.h"

#include <QLocale>

// A replay session over a generated event log of a 20 x 20 world, written into a folder of
// its own.
struct GeneratedSession {
    RecordFiles files;
    kx::RecordedMessages messages;
    kx::ReplaySession session{messages, QLocale::c()};
    QString path;

    // Writes the log and loads it; false when it does not load.
    bool load(uint64_t seed, int events, int players) {
        path = writeGeneratedLog(files, seed, events, players);
        return session.openRecord(path, kx::RecordFormat::EventLog) == kx::LoadStatus::Loaded;
    }
};
