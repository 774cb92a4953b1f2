#pragma once

#include "replay/replay_context.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace kx {

// Operations of the unit and ground events. `row` is the index of the event's item in the
// event list. The world changes the same way whether the display is live or not; while it is
// live, the operation also appends its sentence and repaints the cells it touched.
//
// Records are hostile input: an event naming a cell outside the world still writes its
// sentence but changes neither the world nor the player table. Where an owner has no player
// record (free land, a broken code), the cell part of the event still happens and no player
// record is touched.
void applyBuy(ReplayContext& ctx, int row);
void applyAttack(ReplayContext& ctx, int row);
void applyMove(ReplayContext& ctx, int row);
void applyConvertGround(ReplayContext& ctx, int row);
void applyRetreat(ReplayContext& ctx, int row);

// Removes player number `owner` (player index + 1) from the game after its HQ was taken:
// its fields become free land and its units vanish. An owner below 1 names nobody and does
// nothing.
void destroyHq(ReplayContext& ctx, int owner);

// Moves an attack costs: floor(sqrt(m^2 (dx^2 + dy^2)) + 0.5), m the terrain factor of the
// target (4 on rock, 5 elsewhere).
int32_t attackCost(int64_t dx, int64_t dy, int32_t terrainFactor);
// Moves a move costs: floor(sqrt(dx^2 + dy^2)); no terrain factor and no rounding.
int32_t moveCost(int64_t dx, int64_t dy);

// Helpers shared by the event operations.

struct CellRef {
    int x = 0;
    int y = 0;
};

// The cell of an address sub-item; an unreadable row reads as 0 and stops the slide show.
CellRef readCell(ReplayContext& ctx, QByteArrayView address);
// A number sub-item; one that is not an integer stops the slide show and counts as 0.
int32_t readCount(ReplayContext& ctx, QByteArrayView text);

// The player record of a player index, or nullptr when the table holds no such player.
PlayerRecord* playerRecord(ReplayContext& ctx, int playerIndex);
// The player list entry "name (team)" of a player index; empty when there is none.
QString playerEntry(const ReplayContext& ctx, int playerIndex);

// Repaints world cell (x, y), that is grid cell (x + 1, y + 1), if it lies in the grid.
void repaintCell(ReplayContext& ctx, int x, int y);
// Repaints the 3 x 3 block around (x, y), columns outer and rows inner, skipping the grid
// cells beyond the map.
void repaintAround(ReplayContext& ctx, int x, int y);

} // namespace kx
