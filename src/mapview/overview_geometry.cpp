#include "overview_geometry.h"

#include <algorithm>
#include <cmath>

namespace kx {

QRectF overviewPicture(QSize widget, QSize cells) {
    if (cells.isEmpty() || widget.isEmpty())
        return {};
    double scale = std::min(static_cast<double>(widget.width()) / cells.width(),
                            static_cast<double>(widget.height()) / cells.height());
    if (scale >= 1)
        scale = std::floor(scale); // whole pixels per cell: a crisp picture
    const QSizeF size(cells.width() * scale, cells.height() * scale);
    const QPointF origin(std::floor((widget.width() - size.width()) / 2),
                         std::floor((widget.height() - size.height()) / 2));
    return QRectF(origin, size);
}

QPointF overviewToCells(QPointF point, const QRectF& picture, QSize cells) {
    if (picture.isEmpty() || cells.isEmpty())
        return {};
    const double scale = picture.width() / cells.width();
    const QPointF at = (point - picture.topLeft()) / scale;
    return QPointF(std::clamp(at.x(), 0.0, static_cast<double>(cells.width())),
                   std::clamp(at.y(), 0.0, static_cast<double>(cells.height())));
}

QRectF cellsToOverview(const QRectF& cellsRect, const QRectF& picture, QSize cells) {
    if (picture.isEmpty() || cells.isEmpty())
        return {};
    const double scale = picture.width() / cells.width();
    const QRectF drawn(picture.topLeft() + cellsRect.topLeft() * scale, cellsRect.size() * scale);
    return drawn & picture;
}

} // namespace kx
