#pragma once

#include "map_source.h"

#include "mapview/map_zoom.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QRegion>
#include <QSize>

#include <memory>

class QPainter;

namespace kx {

class MapRenderer;
class WorldCells;
struct MapLook;

// The map of the replayed world (dgMap): a header row of column names and a header column
// of row numbers that stay in place while the body of 20 x 20 icons scrolls beneath them.
// Grid cell (column, row) shows world cell (column - 1, row - 1); column and row 0 are the
// headers. Everything shown is read from the source when painting; the source tells the grid
// what changed through the RepaintSink interface, and a change only marks cells for the next
// paint. The map can be zoomed from 25 % to 400 %: Ctrl and the wheel zoom around the cell
// under the mouse, the other ways around the middle of the view.
class MapGrid : public QAbstractScrollArea, public RepaintSink {
    Q_OBJECT

  public:
    explicit MapGrid(QWidget* parent = nullptr);
    ~MapGrid() override;

    // Shows `source` and registers the grid as its repaint sink (a previous source is released
    // from it first). The grid does not touch the source when it is destroyed: whatever the
    // source reads must be released first with setSource(nullptr) if it outlives the grid.
    // Without a source the grid shows the blank 20 x 20 world.
    void setSource(std::unique_ptr<MapSource> source);

    // Columns and rows of the grid, the header ones included (world width + 1, height + 1).
    int columnCount() const;
    int rowCount() const;

    // The rectangle of grid cell (column, row) in viewport coordinates at the current scroll
    // position; a body cell may lie partly or wholly under the headers or outside the viewport.
    QRect cellRect(int column, int row) const;
    // The grid cell under a viewport point, or (-1, -1) over no cell.
    QPoint cellAt(QPoint viewportPoint) const;

    // RepaintSink: one body cell, ignoring header cells and positions outside the grid; or
    // the whole map (after a load the grid's size may have changed too).
    void redrawCell(int column, int row) override;
    void redrawMap() override;

    // The zoom in per cent. Setting it keeps the body point under `anchor` (a viewport point)
    // in place, the middle of the view without one.
    int zoom() const { return zoom_; }
    void setZoom(int percent);
    void setZoom(int percent, QPoint anchor);
    void zoomIn();
    void zoomOut();
    // The whole world in the view, as large as it fits (within the zoom's range).
    void fitToWindow();

    // The world cells (fractional) in view, and moving the view so that a world point is in
    // its middle (as far as the scroll bars go).
    QRectF visibleCells() const;
    void centreOn(QPointF cell);
    // The body as shown now: which icon each cell shows.
    WorldCells cells() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  Q_SIGNALS:
    // The mouse moved over a body cell and the source has been told.
    void cellPointed();
    // The part of the world in view changed: scrolled, zoomed or resized.
    void viewMoved();
    // What the source told: one body cell, or the whole map (and maybe its size), changed.
    void cellChanged(int column, int row);
    void mapChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    MapLook look() const;
    BodyGeometry geometry() const;
    void updateFonts();
    // A renderer over `cells` at the current scroll position; without a look it cannot draw.
    MapRenderer renderer(const WorldCells& cells, const MapLook* look = nullptr) const;
    void updateScrollBars();
    // Zoomed out, a view holds many small cells: what it shows is kept in a picture, and a
    // paint draws into it only the cells marked since (or everything, after the view moved).
    bool usesPicture() const;
    void paintFromPicture(QPainter& painter, const MapRenderer& map, const QRect& exposed);

    std::unique_ptr<MapSource> source_;
    QSize gridSize_;             // columns and rows at the last layout
    int pendingCellUpdates_ = 0; // cells marked since the last paint
    QFont narrowFont_;           // for header texts too wide for a cell
    int zoom_ = kZoomDefault;
    QFont zoomedFont_; // the header faces at the zoom
    QFont zoomedNarrowFont_;
    int wheelAngle_ = 0; // Ctrl+wheel turns not yet worth a zoom step
    QImage picture_;     // the viewport as last drawn, zoomed out
    QRegion pictureStale_;
    QPoint pictureScroll_;
    bool pictureBodyShown_ = false;
};

} // namespace kx
