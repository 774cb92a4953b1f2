#pragma once

#include "records/world.h"

#include <cstdint>
#include <map>

#include <QtGlobal>

namespace kx {

// Copies of the world taken every so many events while the replay goes forward. The replay
// is deterministic, so a backward jump may start from the nearest copy at or before its
// target instead of from the rebuilt initial world: the result is the same.
class SnapshotCache {
  public:
    struct Snapshot {
        World world;                // grids, player table and counters before the event
        int32_t builtLastEventTime; // the initial world's lastEventTime it was replayed from
        bool slideStopBefore;       // some earlier event asked to stop the slide show
        bool timeErrorBefore;       // some earlier event had an unreadable time stamp
    };

    // Chooses the spacing for a record so that all copies together take at most
    // `budgetBytes`, or the room for 16 copies where that is more, and never more than a fixed
    // ceiling of 96 MiB.
    void reset(qsizetype eventCount, const World& world, int64_t budgetBytes);
    void clear() { snapshots_.clear(); }

    bool wants(int32_t eventIndex) const {
        return eventIndex % interval_ == 0 && snapshots_.find(eventIndex) == snapshots_.end();
    }
    void store(int32_t eventIndex, Snapshot snapshot) {
        snapshots_.emplace(eventIndex, std::move(snapshot));
    }
    // The copy with the greatest index not above `eventIndex`, or null.
    const Snapshot* nearest(int32_t eventIndex, int32_t* foundIndex) const;

    int32_t interval() const { return interval_; }
    // A fixed spacing instead of the automatic one (0 restores the automatic choice).
    void setFixedInterval(int32_t events) { fixedInterval_ = events; }
    size_t size() const { return snapshots_.size(); }

  private:
    std::map<int32_t, Snapshot> snapshots_;
    int32_t interval_ = 1024;
    int32_t fixedInterval_ = 0;
};

} // namespace kx
