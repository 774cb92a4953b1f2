#pragma once

#include <QPointF>
#include <QRectF>
#include <QSize>

namespace kx {

// Where the overview's picture of a world of `cells` (columns x rows) sits in a widget of
// `widget` pixels: as large as fits with square cells, centred; a whole number of pixels per
// cell when a cell gets one pixel or more. Empty for an empty world or widget.
QRectF overviewPicture(QSize widget, QSize cells);

// The world point (in cells, fractional, clamped into the world) under a point of the widget.
QPointF overviewToCells(QPointF point, const QRectF& picture, QSize cells);

// A rectangle of world cells (fractional) as drawn on the picture, clipped to it.
QRectF cellsToOverview(const QRectF& cellsRect, const QRectF& picture, QSize cells);

} // namespace kx
