#pragma once

#include "map_renderer.h"

#include "mapview/icon_choice.h"
#include "records/world.h"

namespace kx {

// The body of a replayed world's map: each cell's icon under a view, highlight and HQ switch.
// Without a world it is the blank 20 x 20 map shown before anything is open.
class WorldCells : public MapCells {
  public:
    WorldCells() = default;
    // `gridSize` counts the header column and row; `bodyShown` false leaves the body black.
    WorldCells(const World& world, QSize gridSize, const IconContext& context, bool bodyShown)
        : world_(&world), gridSize_(gridSize), context_(context), bodyShown_(bodyShown) {}

    QSize gridSize() const override { return gridSize_; }
    bool bodyShown() const override { return bodyShown_; }
    const QPixmap& cellPixmap(int column, int row, qreal devicePixelRatio) const override;
    // The index of the icon body cell (column, row) shows.
    int icon(int column, int row) const;

  private:
    const World* world_ = nullptr;
    QSize gridSize_{21, 21};
    IconContext context_;
    bool bodyShown_ = true;
};

} // namespace kx
