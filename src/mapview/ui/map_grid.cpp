#include "map_grid.h"

#include "map_renderer.h"
#include "world_cells.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace kx {

namespace {

constexpr int kCell = MapRenderer::kCellSize;

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
    // Row numbers of a large world have three digits; they get a narrower face when the
    // widget's font would spill over the cell.
    narrowFont_ = narrowHeaderFont(font());
    gridSize_ = QSize(columnCount(), rowCount());
    updateScrollBars();
}

MapGrid::~MapGrid() = default;

void MapGrid::setSource(std::unique_ptr<MapSource> source) {
    if (source_)
        source_->setRepaintSink(nullptr);
    source_ = std::move(source);
    if (source_)
        source_->setRepaintSink(this);
    redrawMap();
}

int MapGrid::columnCount() const {
    return cells().gridSize().width();
}

int MapGrid::rowCount() const {
    return cells().gridSize().height();
}

// The body is empty while the replay skips and before a world is built.
WorldCells MapGrid::cells() const {
    if (!source_)
        return WorldCells();
    const World& world = source_->world();
    return WorldCells(world, source_->gridSize(), source_->iconContext(),
                      world.liveDisplay != 0 && world.gridAllocated);
}

MapLook MapGrid::look() const {
    return MapLook{palette().color(QPalette::Button), palette().color(QPalette::WindowText),
                   viewport()->font(), narrowFont_};
}

MapRenderer MapGrid::renderer(const WorldCells& cells, const MapLook* look) const {
    MapRenderer renderer = look ? MapRenderer(cells, *look) : MapRenderer(cells);
    renderer.setScroll(QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()));
    return renderer;
}

QRect MapGrid::cellRect(int column, int row) const {
    const WorldCells current = cells();
    return renderer(current).cellRect(column, row);
}

QPoint MapGrid::cellAt(QPoint point) const {
    if (!viewport()->rect().contains(point))
        return QPoint(-1, -1);
    const WorldCells current = cells();
    return renderer(current).gridCellAt(point);
}

void MapGrid::redrawCell(int column, int row) {
    const WorldCells current = cells();
    const MapRenderer map = renderer(current);
    if (!map.isBodyCell(QPoint(column, row)))
        return;
    if (pendingCellUpdates_ > kMaxPendingCells)
        return; // the whole viewport is marked already
    if (++pendingCellUpdates_ > kMaxPendingCells) {
        viewport()->update();
        return;
    }
    const QRect rect = map.cellRect(column, row) & map.bodyArea() & viewport()->rect();
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
    if (!source_ || !viewport()->rect().contains(event->position().toPoint()))
        return;
    const WorldCells current = cells();
    const QPoint cell = renderer(current).cellAt(event->position().toPoint());
    if (cell.x() < 0)
        return; // a header, or no cell at all
    source_->pointAt(cell.x(), cell.y());
    cellPointed();
}

void MapGrid::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        narrowFont_ = narrowHeaderFont(font());
    QAbstractScrollArea::changeEvent(event);
}

void MapGrid::paintEvent(QPaintEvent* event) {
    pendingCellUpdates_ = 0;
    const WorldCells current = cells();
    const MapLook currentLook = look();
    QPainter painter(viewport());
    renderer(current, &currentLook).draw(painter, event->rect());
}

} // namespace kx
