#pragma once

#include <QImage>
#include <QPixmap>

namespace kx {

// The editor's seven pictures of 20 x 20 logical pixels (editorIcon in map_editor.h gives
// the index): 0 the impassable tile, 1-3 grass, swamp and rock as the map draws free land,
// 4-6 the same grounds with a large black A on a light halo for placed units. An index
// outside 0..6 draws picture 0.
QImage renderEditorIcon(int index, qreal devicePixelRatio);

// Picture `index` as a pixmap for painting, drawn once per device pixel ratio and kept.
const QPixmap& editorIconPixmap(int index, qreal devicePixelRatio);

} // namespace kx
