#include "world.h"

namespace kx {

int32_t terrainFromLetter(char letter) {
    switch (letter) {
    case 'B':
        return 2;
    case 'N':
        return 1;
    case 'S':
        return 3;
    default:
        return -1;
    }
}

QString terrainName(int32_t terrain) {
    switch (terrain) {
    case 1:
        return QString::fromUtf8("normální");
    case 2:
        return QString::fromUtf8("bažina");
    case 3:
        return QString::fromUtf8("skála");
    default:
        return QString();
    }
}

int32_t terrainYield(int32_t terrain) {
    switch (terrain) {
    case 1:
        return 12;
    case 2:
        return 7;
    case 3:
        return 5;
    default:
        return 0;
    }
}

void World::allocateWorld(int width, int height, int players) {
    // A rebuild of the same world (every step back) reuses the grids' memory.
    fieldGrid.reset(width, height, kImpassable);
    unitGrid.reset(width, height, 0);
    // The loader fills every record it uses; unfilled ones read as 0.
    playerTable.assign(static_cast<size_t>(players), PlayerRecord{});
    gridAllocated = true;
    gridColumns = width;
}

} // namespace kx
