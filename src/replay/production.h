#pragma once

#include "records/world.h"

#include <cstdint>

namespace kx {

// The nectar a player's fields yield per hour: over every cell owned by player index
// `playerIndex` (owner playerIndex + 1), the yield of its terrain. The HQ counts like any
// other field.
int32_t hourlyProduction(const World& world, int playerIndex);

} // namespace kx
