#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

class QPainter;
class QPalette;
class QPixmap;

namespace kx {

// What a map shows in its body cells. Grid cell (column, row) shows map cell (column - 1,
// row - 1); column and row 0 are the headers.
class MapCells {
  public:
    virtual ~MapCells() = default;
    // Columns and rows of the grid, the header ones included (map width + 1, height + 1).
    virtual QSize gridSize() const = 0;
    // Whether the body shows at all; when it does not, it stays black.
    virtual bool bodyShown() const = 0;
    // The picture of body cell (column, row), 20 x 20 logical pixels at a device pixel ratio.
    virtual const QPixmap& cellPixmap(int column, int row, qreal devicePixelRatio) const = 0;
};

// How the headers look: the face they are filled with, the colour of their texts and the
// fonts of those texts.
struct MapLook {
    QColor headerFace;
    QColor headerText;
    QFont font;
    QFont narrowFont; // for a text too wide for its cell in `font`
};

// A face narrow enough for three-digit row numbers in a header `width` pixels wide.
QFont narrowHeaderFont(const QFont& font, int width = 20);
// The header face at a zoom: the widget's face up to 100 %, grown with the cells above.
QFont zoomedHeaderFont(const QFont& font, int percent);
// The look of a grid drawn in a widget's palette and font at a zoom.
MapLook mapLookAt(const QPalette& palette, const QFont& font, int percent);

// Draws a map: a header row of column names and a header column of row numbers around 20 x 20
// body cells, on any paint device. The body may be scrolled under headers that stay in place,
// as a window's view does; coordinates are then those of the view. A zoom other than 100 %
// changes the side of the cells (the icons are drawn afresh at that size) and the headers with
// them; where the cells are too narrow for every name, every second, fifth or tenth is shown.
// The renderer keeps references to its cells and look, which must outlive it, and reads them
// when asked, so it is cheap to make for each paint.
class MapRenderer {
  public:
    static constexpr int kCellSize = 20;

    MapRenderer(const MapCells& cells, const MapLook& look) : cells_(cells), look_(&look) {}
    // A renderer for geometry and hit testing only: it cannot draw.
    explicit MapRenderer(const MapCells& cells) : cells_(cells) {}

    // Moves the body by -offset under the headers.
    void setScroll(QPoint offset) { scroll_ = offset; }
    QPoint scroll() const { return scroll_; }
    // The zoom in per cent (see map_zoom.h); 100 % is 20-pixel cells.
    void setZoom(int percent);

    int columnCount() const;
    int rowCount() const;
    // The whole grid, headers included, as drawn without scrolling.
    QSize size() const;

    // The rectangle of grid cell (column, row); a body cell may lie partly or wholly under the
    // headers when the body is scrolled.
    QRect cellRect(int column, int row) const;
    // Where body cells show: right of and below the headers, up to the end of the grid.
    QRect bodyArea() const;
    bool isBodyCell(QPoint cell) const;

    // The grid cell under a point, headers included, or (-1, -1) over no cell.
    QPoint gridCellAt(QPoint point) const;
    // The body cell under a point, or (-1, -1) over a header or no cell.
    QPoint cellAt(QPoint point) const;

    // Paints what lies in `exposed`: black, the body cells that meet it and the headers. Cells
    // outside it are not even asked for their pictures. Needs a look.
    void draw(QPainter& painter, const QRect& exposed) const;
    // The whole grid at device pixel ratio 1.
    QImage image() const;

  private:
    void drawBody(QPainter& painter, const QRect& exposed) const;
    void drawHeaders(QPainter& painter, const QRect& exposed) const;
    void drawHeaderText(QPainter& painter, const QRect& rect, const QString& text) const;
    // Every how many columns and rows a header names one, so that the names do not overlap.
    int columnLabelStep(const QPainter& painter) const;
    int rowLabelStep(const QPainter& painter) const;

    const MapCells& cells_;
    const MapLook* look_ = nullptr;
    QPoint scroll_;
    int cell_ = kCellSize;
    int header_ = kCellSize;
};

} // namespace kx
