#pragma once

#include "map_view.h"

#include "records/world.h"

#include <cstdint>

namespace kx {

// Indexes into the map's icon set (26 pictures of 20 x 20 pixels).
inline constexpr int kIconCount = 26;
inline constexpr int kIconBlank = 0;  // impassable cell, or a code no table lists
inline constexpr int kIconHidden = 1; // field type 0, or a cell the current view hides

// Everything besides the world that decides which icon a cell shows.
struct IconContext {
    MapView viewFilter = MapView::All; // which neighbour rule applies (the view shown)
    MapView viewItem = MapView::All;   // cbView's item: which units fieldIcon hides
    bool highlightFields = true;       // cbHL checked
    bool hideHq = true;                // cbHH checked
    int32_t highlightOwner = 0;        // the highlighted owner, 0 = none
};

// Icon of a field type (field code mod 100) regardless of view, highlight and HQ switch.
int typeIcon(int32_t type);

// Icon of a visible cell: the owner highlight, the view's unit hiding and the HQ switch.
// `owner` is the field code div 100.
int fieldIcon(int32_t type, int32_t owner, const IconContext& context);

// Icon of world cell (x, y) as the map shows it under the current view. A cell outside the
// world shows the blank icon.
int cellIcon(const World& world, int x, int y, const IconContext& context);

} // namespace kx
