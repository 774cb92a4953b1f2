#include "map_grid.h"

#include "map_icons.h"
#include "map_image.h"

#include "records/cell_address.h"
#include "replay/session.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace kx {

namespace {

constexpr int kCell = MapGrid::kCellSize;
constexpr int kBlankSide = 21; // the blank 20 x 20 world with its headers

// Past this many single cells between two paints, repainting everything is cheaper than
// keeping track of a ragged region (a highlight change can touch thousands of cells).
constexpr int kMaxPendingCells = 512;

} // namespace

MapGrid::MapGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName(QStringLiteral("dgMap"));
    setFrameShape(QFrame::NoFrame);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    horizontalScrollBar()->setSingleStep(kCell);
    verticalScrollBar()->setSingleStep(kCell);
    chooseHeaderFonts();
    gridSize_ = QSize(columnCount(), rowCount());
    updateScrollBars();
}

void MapGrid::setSession(ReplaySession* session) {
    if (session_ && session_ != session)
        session_->setRepaintSink(nullptr);
    session_ = session;
    if (session_)
        session_->setRepaintSink(this);
    redrawMap();
}

int MapGrid::columnCount() const {
    return session_ ? std::max(1, session_->state().mapColumns) : kBlankSide;
}

int MapGrid::rowCount() const {
    return session_ ? std::max(1, session_->state().mapRows) : kBlankSide;
}

QRect MapGrid::cellRect(int column, int row) const {
    const int x = column <= 0 ? 0 : kCell * column - horizontalScrollBar()->value();
    const int y = row <= 0 ? 0 : kCell * row - verticalScrollBar()->value();
    return QRect(x, y, kCell, kCell);
}

QPoint MapGrid::cellAt(QPoint point) const {
    if (!viewport()->rect().contains(point))
        return QPoint(-1, -1);
    const int column = point.x() < kCell ? 0 : (point.x() + horizontalScrollBar()->value()) / kCell;
    const int row = point.y() < kCell ? 0 : (point.y() + verticalScrollBar()->value()) / kCell;
    if (column >= columnCount() || row >= rowCount())
        return QPoint(-1, -1);
    return QPoint(column, row);
}

// The part of the viewport where body cells show: right of and below the headers, up to the
// end of the grid.
QRect MapGrid::bodyArea() const {
    const QRect last = cellRect(columnCount() - 1, rowCount() - 1);
    const QRect area(QPoint(kCell, kCell), last.bottomRight());
    return area & viewport()->rect();
}

IconContext MapGrid::iconContext() const {
    return session_ ? iconContextOf(*session_) : IconContext();
}

void MapGrid::redrawCell(int column, int row) {
    if (column <= 0 || row <= 0 || column >= columnCount() || row >= rowCount())
        return;
    if (pendingCellUpdates_ > kMaxPendingCells)
        return; // the whole viewport is marked already
    if (++pendingCellUpdates_ > kMaxPendingCells) {
        viewport()->update();
        return;
    }
    const QRect rect = cellRect(column, row) & bodyArea();
    if (!rect.isEmpty())
        viewport()->update(rect);
}

void MapGrid::redrawMap() {
    const QSize size(columnCount(), rowCount());
    if (size != gridSize_) {
        gridSize_ = size;
        updateGeometry();
    }
    updateScrollBars();
    viewport()->update();
}

QSize MapGrid::sizeHint() const {
    const int frame = 2 * frameWidth();
    return QSize(columnCount() * kCell + frame, rowCount() * kCell + frame);
}

QSize MapGrid::minimumSizeHint() const {
    // The headers and a few cells; scroll bars give the rest.
    const int frame = 2 * frameWidth();
    return QSize(4 * kCell + frame, 4 * kCell + frame);
}

void MapGrid::updateScrollBars() {
    const QSize view = viewport()->size();
    const int width = (columnCount() - 1) * kCell;
    const int height = (rowCount() - 1) * kCell;
    const int visibleWidth = std::max(0, view.width() - kCell);
    const int visibleHeight = std::max(0, view.height() - kCell);
    horizontalScrollBar()->setRange(0, std::max(0, width - visibleWidth));
    horizontalScrollBar()->setPageStep(std::max(kCell, visibleWidth));
    verticalScrollBar()->setRange(0, std::max(0, height - visibleHeight));
    verticalScrollBar()->setPageStep(std::max(kCell, visibleHeight));
}

void MapGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void MapGrid::scrollContentsBy(int dx, int dy) {
    // Move the pixels already drawn and paint only what comes into view; the row headers
    // stay for a sideways scroll, the column headers for an upward or downward one.
    const QRect view = viewport()->rect();
    if (dx != 0)
        viewport()->scroll(dx, 0, QRect(kCell, 0, view.width() - kCell, view.height()));
    if (dy != 0)
        viewport()->scroll(0, dy, QRect(0, kCell, view.width(), view.height() - kCell));
}

void MapGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint cell = cellAt(event->position().toPoint());
    if (!session_ || cell.x() <= 0 || cell.y() <= 0)
        return; // a header, or no cell at all
    session_->dgMapMouseMove(cell.x(), cell.y());
    cellPointed();
}

void MapGrid::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        chooseHeaderFonts();
    QAbstractScrollArea::changeEvent(event);
}

void MapGrid::chooseHeaderFonts() {
    // Row numbers of a large world have three digits; they get a narrower face when the
    // widget's font would spill over the cell.
    narrowFont_ = narrowHeaderFont(font());
}

void MapGrid::paintEvent(QPaintEvent* event) {
    pendingCellUpdates_ = 0;
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    painter.fillRect(exposed, Qt::black);
    paintBody(painter, exposed);
    paintHeaders(painter, exposed);
}

void MapGrid::paintBody(QPainter& painter, const QRect& exposed) {
    if (session_) {
        const World& world = session_->state().world;
        if (world.liveDisplay == 0 || !world.gridAllocated)
            return; // nothing in the body while the replay skips, nothing before a world
    }
    const QRect area = exposed & bodyArea();
    if (area.isEmpty())
        return;
    const int dx = horizontalScrollBar()->value();
    const int dy = verticalScrollBar()->value();
    const int firstColumn = (area.left() + dx) / kCell;
    const int lastColumn = std::min(columnCount() - 1, (area.right() + dx) / kCell);
    const int firstRow = (area.top() + dy) / kCell;
    const int lastRow = std::min(rowCount() - 1, (area.bottom() + dy) / kCell);
    const qreal ratio = viewport()->devicePixelRatioF();
    const IconContext context = iconContext();

    painter.save();
    painter.setClipRect(area);
    for (int column = firstColumn; column <= lastColumn; ++column) {
        for (int row = firstRow; row <= lastRow; ++row) {
            const int icon = session_
                                 ? cellIcon(session_->state().world, column - 1, row - 1, context)
                                 : kIconBlank;
            painter.drawPixmap(cellRect(column, row).topLeft(), mapIcon(icon, ratio));
        }
    }
    painter.restore();
}

void MapGrid::paintHeaders(QPainter& painter, const QRect& exposed) {
    const QRect last = cellRect(columnCount() - 1, rowCount() - 1);
    const QRect headerRow = QRect(0, 0, last.right() + 1, kCell) & exposed;
    const QRect headerColumn = QRect(0, 0, kCell, last.bottom() + 1) & exposed;
    if (headerRow.isEmpty() && headerColumn.isEmpty())
        return;
    const QColor face = palette().color(QPalette::Button);
    painter.fillRect(headerRow, face);
    painter.fillRect(headerColumn, face);
    painter.setPen(palette().color(QPalette::WindowText));

    const int dx = horizontalScrollBar()->value();
    const int dy = verticalScrollBar()->value();
    if (!headerRow.isEmpty()) {
        painter.save();
        painter.setClipRect(QRect(kCell, 0, headerRow.right() + 1 - kCell, kCell) & headerRow);
        const int first = std::max(1, (std::max(kCell, headerRow.left()) + dx) / kCell);
        const int lastColumn = std::min(columnCount() - 1, (headerRow.right() + dx) / kCell);
        for (int column = first; column <= lastColumn; ++column)
            drawHeaderText(painter, cellRect(column, 0), columnName(column - 1));
        painter.restore();
    }
    if (!headerColumn.isEmpty()) {
        painter.save();
        painter.setClipRect(QRect(0, kCell, kCell, headerColumn.bottom() + 1 - kCell) &
                            headerColumn);
        const int first = std::max(1, (std::max(kCell, headerColumn.top()) + dy) / kCell);
        const int lastRow = std::min(rowCount() - 1, (headerColumn.bottom() + dy) / kCell);
        for (int row = first; row <= lastRow; ++row)
            drawHeaderText(painter, cellRect(0, row), QString::number(row - 1));
        painter.restore();
    }
}

void MapGrid::drawHeaderText(QPainter& painter, const QRect& cell, const QString& text) {
    drawMapHeaderText(painter, cell, text, narrowFont_);
}

} // namespace kx
