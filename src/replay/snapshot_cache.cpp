#include "snapshot_cache.h"

#include <algorithm>

namespace kx {

namespace {
constexpr int64_t kMemoryBudget = int64_t{96} << 20; // bytes for all copies of one record
constexpr int64_t kMinInterval = 256;
// Copies allowed whatever the event list takes (within kMemoryBudget): in a large world a
// short record's list leaves no room for one copy, and a step back would replay it all.
constexpr int64_t kMinCopies = 16;
} // namespace

void SnapshotCache::reset(qsizetype eventCount, const World& world, int64_t budgetBytes) {
    snapshots_.clear();
    const int64_t worldBytes =
        int64_t{world.width()} * world.height() * 8 + int64_t{world.playerCount()} * 32 + 256;
    const int64_t budget = std::min(kMemoryBudget, std::max(budgetBytes, worldBytes * kMinCopies));
    const int64_t copies = std::max<int64_t>(1, budget / worldBytes);
    const int64_t spacing = (int64_t{eventCount} + copies - 1) / copies;
    interval_ =
        fixedInterval_ > 0
            ? fixedInterval_
            : static_cast<int32_t>(std::clamp<int64_t>(spacing, kMinInterval, INT32_MAX / 2));
}

const SnapshotCache::Snapshot* SnapshotCache::nearest(int32_t eventIndex,
                                                      int32_t* foundIndex) const {
    auto it = snapshots_.upper_bound(eventIndex);
    if (it == snapshots_.begin())
        return nullptr;
    --it;
    if (foundIndex)
        *foundIndex = it->first;
    return &it->second;
}

} // namespace kx
