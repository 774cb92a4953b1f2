#include "world_cells.h"

#include "map_icons.h"

namespace kx {

const QPixmap& WorldCells::cellPixmap(int column, int row, qreal devicePixelRatio) const {
    const int icon = world_ ? cellIcon(*world_, column - 1, row - 1, context_) : kIconBlank;
    return mapIcon(icon, devicePixelRatio);
}

} // namespace kx
