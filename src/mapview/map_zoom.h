#pragma once

#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QSize>

namespace kx {

// The map's zoom, in per cent of the 20-pixel cell. Every zoom is a multiple of 5 %, so that
// a cell is a whole number of pixels (5 % is one pixel) and the cells tile without seams.
inline constexpr int kZoomMin = 25;
inline constexpr int kZoomMax = 400;
inline constexpr int kZoomDefault = 100;

// A zoom within 25 % to 400 %, rounded down to a multiple of 5 %.
int clampZoom(int percent);
// The next step of the zoom ladder above or below `percent`; the ends stay where they are.
int zoomInStep(int percent);
int zoomOutStep(int percent);

// The side of a body cell and the thickness of the headers, in pixels, at a zoom. The headers
// grow with the cells but never shrink below 20 pixels, where their texts stay legible.
int cellSizeAt(int percent);
int headerSizeAt(int percent);

// The largest zoom at which a world of `cells` (columns x rows, headers not counted) and its
// headers fit a view of `view` pixels, within 25 % to 400 %.
int fitZoom(QSize view, QSize cells);

// The geometry of the map's body at one zoom and scroll position: the body starts right of
// and below the headers and is moved by -scroll under them.
struct BodyGeometry {
    int cell = 20;
    int header = 20;
    QPoint scroll;

    // The body point (in pixels from the body's origin) under a view point.
    QPoint bodyPoint(QPoint viewPoint) const;
    // The world cells (fractional) that a view of `view` pixels shows, headers excluded.
    QRectF visibleCells(QSize view) const;
};

// The geometry of `from` brought to the zoom `percent`, scrolled so that the body point under
// `anchor` (a view point; one over the headers counts as the body's nearest edge) stays under
// it. The scroll is not clamped to the body's extent.
BodyGeometry zoomedAround(const BodyGeometry& from, int percent, QPoint anchor);

// The scroll that puts world point `cell` (in cells, fractional) in the middle of a view of
// `view` pixels, headers excluded.
QPoint scrollCentredOn(const BodyGeometry& geometry, QPointF cell, QSize view);

} // namespace kx
