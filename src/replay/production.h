#pragma once

#include "records/world.h"

#include <cstdint>
#include <vector>

namespace kx {

// The nectar a player's fields yield per hour: over every cell owned by player index
// `playerIndex` (owner playerIndex + 1), the yield of its terrain. The HQ counts like any
// other field. Read from the fields' running tally, whatever the world's size.
int32_t hourlyProduction(const World& world, int playerIndex);

// The hourly production of every player at once: element i is hourlyProduction(world, i).
void hourlyProductionOfAll(const World& world, std::vector<int32_t>& production);

// The hourly recounts between two events for the first `players` players, destroyed ones
// included: moves grow by the moves per hour up to a day's worth, nectar by the player's
// production. `production` is room for the production figures.
void applyHourlyRecounts(World& world, int players, int32_t recounts,
                         std::vector<int32_t>& production);

} // namespace kx
