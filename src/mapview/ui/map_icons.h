#pragma once

#include <QImage>
#include <QPixmap>

namespace kx {

// The 26 map icons of 20 x 20 logical pixels, drawn by code. By index:
// 0 blank, 1 hidden, 2-4 free land, 5-7 louka fields, 8-10 les fields, 11-16 the same
// with units, 17-19 HQs, 20-25 highlighted fields without and with units.
inline constexpr int kMapIconSize = 20;

// Draws icon `index` afresh at a device pixel ratio (an image of 20 x ratio device pixels
// carrying that ratio). An index outside 0..25 draws icon 0.
QImage renderMapIcon(int index, qreal devicePixelRatio);

// Icon `index` as a pixmap for painting, drawn once per device pixel ratio and kept.
const QPixmap& mapIcon(int index, qreal devicePixelRatio);

} // namespace kx
