#pragma once

#include "library.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace kx {

// How far an indexing run has come.
struct IndexProgress {
    int found = 0;     // record files under the folders
    int unchanged = 0; // already indexed with the same size and modification time
    int toRead = 0;    // new or changed files
    int read = 0;      // of those, read and stored
    int damaged = 0;   // of those, listed as damaged
    int removed = 0;   // indexed files that are gone
};

struct IndexResult {
    IndexProgress counts;
    bool cancelled = false;
    QStringList errors; // folders that could not be indexed, a failed write
};

// Indexes every .kxr and .kxr2 file under the folders (recursively) into the library and adds
// the folders to it: new and changed files are read (on `threads` worker threads, 0 for one
// per core), unchanged ones skipped, vanished ones removed. A folder that does not exist is
// reported and its records are kept. `progress` is called on the calling thread now and then;
// setting `cancel` stops reading, and what was read is kept.
IndexResult indexFolders(Library& library, const QStringList& folders,
                         const std::function<void(const IndexProgress&)>& progress = {},
                         const std::atomic<bool>* cancel = nullptr, int threads = 0);

} // namespace kx
