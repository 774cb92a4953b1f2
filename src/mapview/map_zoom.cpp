#include "map_zoom.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kx {

namespace {

constexpr int kZoomQuantum = 5; // per cent per pixel of a cell
constexpr int kBaseCell = 20;
constexpr std::array<int, 13> kZoomLadder = {25,  30,  40,  50,  60,  75, 100,
                                             125, 150, 200, 250, 300, 400};

} // namespace

int clampZoom(int percent) {
    return std::clamp(percent, kZoomMin, kZoomMax) / kZoomQuantum * kZoomQuantum;
}

int zoomInStep(int percent) {
    const int zoom = clampZoom(percent);
    const auto* const next = std::upper_bound(kZoomLadder.begin(), kZoomLadder.end(), zoom);
    return next == kZoomLadder.end() ? kZoomMax : *next;
}

int zoomOutStep(int percent) {
    const int zoom = clampZoom(percent);
    const auto* const next = std::lower_bound(kZoomLadder.begin(), kZoomLadder.end(), zoom);
    return next == kZoomLadder.begin() ? kZoomMin : *std::prev(next);
}

int cellSizeAt(int percent) {
    return clampZoom(percent) / kZoomQuantum;
}

int headerSizeAt(int percent) {
    return std::max(kBaseCell, cellSizeAt(percent));
}

int fitZoom(QSize view, QSize cells) {
    const int columns = std::max(1, cells.width());
    const int rows = std::max(1, cells.height());
    for (int zoom = kZoomMax; zoom > kZoomMin; zoom -= kZoomQuantum) {
        const int cell = cellSizeAt(zoom);
        const int header = headerSizeAt(zoom);
        if (header + columns * cell <= view.width() && header + rows * cell <= view.height())
            return zoom;
    }
    return kZoomMin;
}

QPoint BodyGeometry::bodyPoint(QPoint viewPoint) const {
    return viewPoint - QPoint(header, header) + scroll;
}

QRectF BodyGeometry::visibleCells(QSize view) const {
    const double side = std::max(1, cell);
    return QRectF(scroll.x() / side, scroll.y() / side, std::max(0, view.width() - header) / side,
                  std::max(0, view.height() - header) / side);
}

BodyGeometry zoomedAround(const BodyGeometry& from, int percent, QPoint anchor) {
    BodyGeometry to;
    to.cell = cellSizeAt(percent);
    to.header = headerSizeAt(percent);
    // A point over the headers stands for the body's nearest edge, at either zoom.
    auto clamped = [](QPoint point, int header) {
        return QPoint(std::max(point.x(), header), std::max(point.y(), header));
    };
    const QPoint body = from.bodyPoint(clamped(anchor, from.header));
    const QPoint at = clamped(anchor, to.header);
    // Rounded down, the point keeps its place within its cell, so the cell stays under it.
    auto scaled = [&](int value) {
        return static_cast<int>(std::floor(static_cast<double>(value) * to.cell / from.cell));
    };
    to.scroll =
        QPoint(scaled(body.x()) - (at.x() - to.header), scaled(body.y()) - (at.y() - to.header));
    return to;
}

QPoint scrollCentredOn(const BodyGeometry& geometry, QPointF cell, QSize view) {
    const QPointF body = cell * geometry.cell;
    const QPointF half(std::max(0, view.width() - geometry.header) / 2.0,
                       std::max(0, view.height() - geometry.header) / 2.0);
    return (body - half).toPoint();
}

} // namespace kx
