#include "production.h"

#include "records/numbers.h"

#include <algorithm>

namespace kx {

int32_t hourlyProduction(const World& world, int playerIndex) {
    return world.fieldGrid.ownedYield(playerIndex + 1);
}

void hourlyProductionOfAll(const World& world, std::vector<int32_t>& production) {
    const int32_t players = world.playerCount();
    production.resize(static_cast<size_t>(players));
    for (int i = 0; i < players; ++i)
        production[static_cast<size_t>(i)] = world.fieldGrid.ownedYield(i + 1);
}

void applyHourlyRecounts(World& world, int players, int32_t recounts,
                         std::vector<int32_t>& production) {
    const int32_t cap = wrapMul(24, world.movesPerHour);
    players = std::min(players, world.playerCount());
    hourlyProductionOfAll(world, production);
    for (int i = 0; i < players; ++i) {
        PlayerRecord& record = world.playerTable[static_cast<size_t>(i)];
        record[Moves] = wrapAdd(record[Moves], wrapMul(world.movesPerHour, recounts));
        if (record[Moves] > cap)
            record[Moves] = cap;
        record[Nectar] =
            wrapAdd(record[Nectar], wrapMul(production[static_cast<size_t>(i)], recounts));
    }
}

} // namespace kx
