#include "production.h"

#include "records/numbers.h"

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

} // namespace kx
