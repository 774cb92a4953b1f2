#include "own_icon_cells.h"

#include "map_icons.h"

namespace kx {

OwnIconCells::OwnIconCells(const World& world, QSize gridSize, const IconContext& context,
                           qreal ratio)
    : cells_(world, gridSize, context, true) {
    for (int i = 0; i < kIconCount; ++i)
        icons_[size_t(i)] = QPixmap::fromImage(renderMapIcon(i, ratio));
}

} // namespace kx
