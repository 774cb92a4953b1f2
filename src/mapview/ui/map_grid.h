#pragma once

#include "mapview/icon_choice.h"
#include "replay/replay_context.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace kx {

class ReplaySession;

// The map of the replayed world (dgMap): a header row of column letters and a header column
// of row numbers that stay in place while the body of 20 x 20 icons scrolls beneath them.
// Grid cell (column, row) shows world cell (column - 1, row - 1); column and row 0 are the
// headers. Everything shown is read from the session when painting; the session tells the
// grid what changed through the RepaintSink interface, and a change only marks cells for the
// next paint.
class MapGrid : public QAbstractScrollArea, public RepaintSink {
    Q_OBJECT

  public:
    static constexpr int kCellSize = 20;

    explicit MapGrid(QWidget* parent = nullptr);

    // Shows `session` and registers the grid as its repaint sink (a previous session is
    // released from it). The grid does not touch the session when it is destroyed: a session
    // that outlives the grid must be released first with setSession(nullptr). Without a
    // session the grid shows the blank 20 x 20 world.
    void setSession(ReplaySession* session);
    ReplaySession* session() const { return session_; }

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
    // The mouse moved over a body cell and the session has updated its field inspector.
    void cellPointed();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;

  private:
    IconContext iconContext() const;
    QRect bodyArea() const;
    void paintBody(QPainter& painter, const QRect& exposed);
    void paintHeaders(QPainter& painter, const QRect& exposed);
    void drawHeaderText(QPainter& painter, const QRect& cell, const QString& text);
    void updateScrollBars();
    void chooseHeaderFonts();

    ReplaySession* session_ = nullptr;
    QSize gridSize_;             // columns and rows at the last layout
    int pendingCellUpdates_ = 0; // cells marked since the last paint
    QFont narrowFont_;           // for header texts too wide for a cell
};

} // namespace kx
