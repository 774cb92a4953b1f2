#include "map_grid.h"

#include "map_renderer.h"
#include "world_cells.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

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
    updateFonts();
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
    if (zoom_ > kZoomDefault)
        return MapLook{palette().color(QPalette::Button), palette().color(QPalette::WindowText),
                       zoomedFont_, zoomedNarrowFont_};
    return MapLook{palette().color(QPalette::Button), palette().color(QPalette::WindowText),
                   viewport()->font(), narrowFont_};
}

void MapGrid::updateFonts() {
    zoomedFont_ = zoomedHeaderFont(viewport()->font(), zoom_);
    zoomedNarrowFont_ = narrowHeaderFont(zoomedFont_, headerSizeAt(zoom_));
}

MapRenderer MapGrid::renderer(const WorldCells& cells, const MapLook* look) const {
    MapRenderer renderer = look ? MapRenderer(cells, *look) : MapRenderer(cells);
    renderer.setScroll(QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()));
    renderer.setZoom(zoom_);
    return renderer;
}

BodyGeometry MapGrid::geometry() const {
    return BodyGeometry{cellSizeAt(zoom_), headerSizeAt(zoom_),
                        QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value())};
}

void MapGrid::setZoom(int percent) {
    setZoom(percent, viewport()->rect().center());
}

void MapGrid::setZoom(int percent, QPoint anchor) {
    const int zoom = clampZoom(percent);
    if (zoom == zoom_)
        return;
    const BodyGeometry to = zoomedAround(geometry(), zoom, anchor);
    zoom_ = zoom;
    pictureStale_ = viewport()->rect();
    updateFonts();
    horizontalScrollBar()->setSingleStep(to.cell);
    verticalScrollBar()->setSingleStep(to.cell);
    updateGeometry();
    updateScrollBars();
    horizontalScrollBar()->setValue(to.scroll.x());
    verticalScrollBar()->setValue(to.scroll.y());
    viewport()->update();
    viewMoved();
}

void MapGrid::zoomIn() {
    setZoom(zoomInStep(zoom_));
}

void MapGrid::zoomOut() {
    setZoom(zoomOutStep(zoom_));
}

void MapGrid::fitToWindow() {
    // Measured without scroll bars: a world that fits needs none.
    setZoom(fitZoom(maximumViewportSize(), QSize(columnCount() - 1, rowCount() - 1)));
}

QRectF MapGrid::visibleCells() const {
    return geometry().visibleCells(viewport()->size());
}

void MapGrid::centreOn(QPointF cell) {
    const QPoint scroll = scrollCentredOn(geometry(), cell, viewport()->size());
    horizontalScrollBar()->setValue(scroll.x());
    verticalScrollBar()->setValue(scroll.y());
}

void MapGrid::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        wheelAngle_ = 0;
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // One step per notch of a wheel; a touch pad's small turns add up to one.
    constexpr int kNotch = 120;
    wheelAngle_ += event->angleDelta().y();
    const QPoint anchor = event->position().toPoint();
    while (wheelAngle_ >= kNotch) {
        wheelAngle_ -= kNotch;
        setZoom(zoomInStep(zoom_), anchor);
    }
    while (wheelAngle_ <= -kNotch) {
        wheelAngle_ += kNotch;
        setZoom(zoomOutStep(zoom_), anchor);
    }
    event->accept();
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
    cellChanged(column, row);
    if (pendingCellUpdates_ > kMaxPendingCells)
        return; // the whole viewport is marked already
    if (++pendingCellUpdates_ > kMaxPendingCells) {
        pictureStale_ = viewport()->rect();
        viewport()->update();
        return;
    }
    const QRect rect = map.cellRect(column, row) & map.bodyArea() & viewport()->rect();
    if (!rect.isEmpty()) {
        if (!picture_.isNull())
            pictureStale_ += rect;
        viewport()->update(rect);
    }
}

void MapGrid::redrawMap() {
    const QSize size(columnCount(), rowCount());
    if (size != gridSize_) {
        gridSize_ = size;
        updateGeometry();
    }
    updateScrollBars();
    pictureStale_ = viewport()->rect();
    viewport()->update();
    mapChanged();
    viewMoved();
}

QSize MapGrid::sizeHint() const {
    const int frame = 2 * frameWidth();
    const WorldCells current = cells();
    return renderer(current).size() + QSize(frame, frame);
}

QSize MapGrid::minimumSizeHint() const {
    // The headers and a few cells; scroll bars give the rest.
    const int frame = 2 * frameWidth();
    return QSize(4 * kCell + frame, 4 * kCell + frame);
}

void MapGrid::updateScrollBars() {
    const int cell = cellSizeAt(zoom_);
    const int header = headerSizeAt(zoom_);
    const int width = (columnCount() - 1) * cell;
    const int height = (rowCount() - 1) * cell;
    // A map that fits the room without scroll bars gets rid of those it has.
    QSize view = viewport()->size();
    const QSize room = maximumViewportSize();
    if (header + width <= room.width() && header + height <= room.height())
        view = room;
    const int visibleWidth = std::max(0, view.width() - header);
    const int visibleHeight = std::max(0, view.height() - header);
    horizontalScrollBar()->setRange(0, std::max(0, width - visibleWidth));
    horizontalScrollBar()->setPageStep(std::max(cell, visibleWidth));
    verticalScrollBar()->setRange(0, std::max(0, height - visibleHeight));
    verticalScrollBar()->setPageStep(std::max(cell, visibleHeight));
}

void MapGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    viewMoved();
}

void MapGrid::scrollContentsBy(int dx, int dy) {
    // Move the pixels already drawn and paint only what comes into view; the row headers
    // stay for a sideways scroll, the column headers for an upward or downward one.
    const QRect view = viewport()->rect();
    const int header = headerSizeAt(zoom_);
    if (dx != 0)
        viewport()->scroll(dx, 0, QRect(header, 0, view.width() - header, view.height()));
    if (dy != 0)
        viewport()->scroll(0, dy, QRect(0, header, view.width(), view.height() - header));
    viewMoved();
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
    picture_ = QImage(); // a new face, palette or style
    if (event->type() == QEvent::FontChange) {
        narrowFont_ = narrowHeaderFont(font());
        updateFonts();
    }
    QAbstractScrollArea::changeEvent(event);
}

void MapGrid::paintEvent(QPaintEvent* event) {
    pendingCellUpdates_ = 0;
    const WorldCells current = cells();
    const MapLook currentLook = look();
    QPainter painter(viewport());
    const MapRenderer map = renderer(current, &currentLook);
    if (usesPicture()) {
        paintFromPicture(painter, map, event->rect());
    } else {
        picture_ = QImage();
        map.draw(painter, event->rect());
    }
}

bool MapGrid::usesPicture() const {
    return cellSizeAt(zoom_) < kCell;
}

void MapGrid::paintFromPicture(QPainter& painter, const MapRenderer& map, const QRect& exposed) {
    const qreal ratio = viewport()->devicePixelRatioF();
    const QSize size = viewport()->size() * ratio;
    const QPoint scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const bool bodyShown = cells().bodyShown();
    // The picture is drawn again whole after a scroll, but into the same memory: a new image
    // of over a megabyte at every step of the slide show left holes in the heap that grew it.
    if (picture_.size() != size) {
        picture_ = QImage(); // freed first: the new picture may take its place in the heap
        picture_ = QImage(size, QImage::Format_RGB32);
        pictureStale_ = viewport()->rect();
    }
    picture_.setDevicePixelRatio(ratio);
    if (pictureScroll_ != scroll || pictureBodyShown_ != bodyShown) {
        pictureStale_ = viewport()->rect();
        pictureScroll_ = scroll;
        pictureBodyShown_ = bodyShown;
    }
    if (!pictureStale_.isEmpty()) {
        QPainter picture(&picture_);
        for (const QRect& rect : pictureStale_)
            map.draw(picture, rect);
        pictureStale_ = QRegion();
    }
    painter.drawImage(QPointF(exposed.topLeft()), picture_,
                      QRectF(QPointF(exposed.topLeft()) * ratio, QSizeF(exposed.size()) * ratio));
}

} // namespace kx
