#include "world_cells.h"

#include "map_icons.h"

namespace kx {

const QPixmap& WorldCells::cellPixmap(int column, int row, qreal devicePixelRatio) const {
    return mapIcon(icon(column, row), devicePixelRatio);
}

int WorldCells::icon(int column, int row) const {
    return world_ ? cellIcon(*world_, column - 1, row - 1, context_) : kIconBlank;
}

} // namespace kx
