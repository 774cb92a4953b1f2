#pragma once

#include "mapview/icon_choice.h"
#include "records/world.h"
#include "replay/replay_context.h"

#include <QSize>

namespace kx {

// What the map widget shows and whom it tells: the world's grids, the view state that chooses
// the icons, a way to hear which cells change, and where the pointer rests.
class MapSource {
  public:
    virtual ~MapSource() = default;
    // Columns and rows of the grid, the header ones included (world width + 1, height + 1).
    virtual QSize gridSize() const = 0;
    virtual const World& world() const = 0;
    virtual IconContext iconContext() const = 0;
    // `sink` is told which cells change from now on; nullptr stops it.
    virtual void setRepaintSink(RepaintSink* sink) = 0;
    // The pointer rests on body cell (column, row).
    virtual void pointAt(int column, int row) = 0;
};

} // namespace kx
