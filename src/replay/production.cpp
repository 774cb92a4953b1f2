#include "production.h"

#include "records/numbers.h"

#include <algorithm>

namespace kx {

int32_t hourlyProduction(const World& world, int playerIndex) {
    const int64_t owner = int64_t{playerIndex} + 1;
    int32_t sum = 0;
    for (int x = 0; x < world.width(); ++x) {
        const int32_t* column = world.fieldGrid.column(x);
        for (int y = 0; y < world.height(); ++y)
            if (fieldOwner(column[y]) == owner)
                sum = wrapAdd(sum, terrainYield(fieldTerrain(column[y])));
    }
    return sum;
}

void hourlyProductionOfAll(const World& world, std::vector<int32_t>& production) {
    production.assign(static_cast<size_t>(world.playerCount()), 0);
    const int32_t players = world.playerCount();
    for (int x = 0; x < world.width(); ++x) {
        const int32_t* column = world.fieldGrid.column(x);
        for (int y = 0; y < world.height(); ++y) {
            const int32_t owner = fieldOwner(column[y]);
            if (owner >= 1 && owner <= players) {
                int32_t& sum = production[static_cast<size_t>(owner - 1)];
                sum = wrapAdd(sum, terrainYield(fieldTerrain(column[y])));
            }
        }
    }
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
