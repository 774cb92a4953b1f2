#pragma once

#include "records/world.h"

// The fields of player index `player`, counted cell by cell (independently of the replay).
inline int32_t fieldsOwned(const kx::World& world, int player) {
    int32_t fields = 0;
    for (int x = 0; x < world.width(); ++x)
        for (int y = 0; y < world.height(); ++y)
            fields += kx::fieldOwner(world.fieldGrid(x, y)) == player + 1 ? 1 : 0;
    return fields;
}
