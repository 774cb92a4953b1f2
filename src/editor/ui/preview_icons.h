#pragma once

#include <QImage>
#include <QPixmap>

namespace kx {

// The editor's seven cell kinds (editorIcon in map_editor.h) as the replay's map draws them:
// the viewer's impassable tile and free grass, swamp and rock, and for placed units the same
// ground with the viewer's corner mark for units (taken from its pictures of held fields with
// units). An index outside 0..6 draws the impassable tile.
QImage renderPreviewIcon(int index, qreal devicePixelRatio);

// Picture `index` as a pixmap for painting, drawn once per device pixel ratio and kept.
const QPixmap& previewIconPixmap(int index, qreal devicePixelRatio);

} // namespace kx
