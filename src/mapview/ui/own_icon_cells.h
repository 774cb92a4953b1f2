#pragma once

#include "map_renderer.h"
#include "world_cells.h"

#include "mapview/icon_choice.h"

#include <QPixmap>

#include <array>

namespace kx {

// A world's cells with icons of their own, drawn once at one device pixel ratio: for drawing
// away from the window's thread, where the shared icon store may not be used. Made on the
// window's thread; the world must outlive it and may change between draws.
class OwnIconCells : public MapCells {
  public:
    OwnIconCells(const World& world, QSize gridSize, const IconContext& context, qreal ratio);

    QSize gridSize() const override { return cells_.gridSize(); }
    bool bodyShown() const override { return true; }
    const QPixmap& cellPixmap(int column, int row, qreal) const override {
        return iconPixmap(cells_.icon(column, row));
    }
    // The index of the icon body cell (column, row) shows, and an icon's picture.
    int icon(int column, int row) const { return cells_.icon(column, row); }
    const QPixmap& iconPixmap(int index) const {
        return icons_[size_t(index >= 0 && index < kIconCount ? index : 0)];
    }

  private:
    WorldCells cells_;
    std::array<QPixmap, kIconCount> icons_;
};

} // namespace kx
