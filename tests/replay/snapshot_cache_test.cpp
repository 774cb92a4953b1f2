#include "replay/snapshot_cache.h"

#include <gtest/gtest.h>

using namespace kx;

TEST(SnapshotCache, SpacingKeepsTheCopiesWithinTheirBudget) {
    struct Case {
        qsizetype events;
        int side;
        int64_t budgetBytes;
        int32_t interval;
    };
    // A 1000 x 1000 world's copy takes 8 MB: 96 MiB hold 12 copies whatever the list takes.
    const Case cases[] = {
        {1'000'000, 20, 60 << 20, 256},     // small worlds: the shortest spacing
        {1'000'000, 200, 1 << 20, 62'500},  // 1 MiB is less than 16 copies of 320 kB
        {1'000'000, 200, 20 << 20, 15'385}, // the list's 20 MiB hold 65 copies
        {20'000, 1000, 1 << 20, 1'667},     // a short record in the largest world
        {1'000'000, 1000, 53 << 20, 83'334},
        {1'000'000, 1000, 500 << 20, 83'334}, // the ceiling holds
    };
    for (const Case& c : cases) {
        World world;
        world.allocateWorld(c.side, c.side, 8);
        SnapshotCache cache;
        cache.reset(c.events, world, c.budgetBytes);
        EXPECT_EQ(cache.interval(), c.interval) << c.events << " events, side " << c.side;
    }
}
