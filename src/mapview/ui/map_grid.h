#pragma once

#include "map_source.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <memory>

namespace kx {

class MapRenderer;
class WorldCells;
struct MapLook;

// The map of the replayed world (dgMap): a header row of column names and a header column
// of row numbers that stay in place while the body of 20 x 20 icons scrolls beneath them.
// Grid cell (column, row) shows world cell (column - 1, row - 1); column and row 0 are the
// headers. Everything shown is read from the source when painting; the source tells the grid
// what changed through the RepaintSink interface, and a change only marks cells for the next
// paint.
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

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  Q_SIGNALS:
    // The mouse moved over a body cell and the source has been told.
    void cellPointed();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;

  private:
    WorldCells cells() const;
    MapLook look() const;
    // A renderer over `cells` at the current scroll position; without a look it cannot draw.
    MapRenderer renderer(const WorldCells& cells, const MapLook* look = nullptr) const;
    void updateScrollBars();

    std::unique_ptr<MapSource> source_;
    QSize gridSize_;             // columns and rows at the last layout
    int pendingCellUpdates_ = 0; // cells marked since the last paint
    QFont narrowFont_;           // for header texts too wide for a cell
};

} // namespace kx
