#include "map_image.h"

#include "map_renderer.h"
#include "session_map_source.h"
#include "world_cells.h"

#include "replay/session.h"

namespace kx {

QImage renderMapImage(const ReplaySession& session, const QPalette& palette, const QFont& font) {
    const World& world = session.state().world;
    const QSize gridSize(session.state().mapColumns, session.state().mapRows);
    if (!world.gridAllocated || gridSize.width() <= 1 || gridSize.height() <= 1)
        return {};
    const WorldCells cells(world, gridSize, iconContextOf(session), true);
    const MapLook look{palette.color(QPalette::Button), palette.color(QPalette::WindowText), font,
                       narrowHeaderFont(font)};
    return MapRenderer(cells, look).image();
}

} // namespace kx
