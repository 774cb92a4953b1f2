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

} // namespace kx
