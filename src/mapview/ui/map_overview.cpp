#include "map_overview.h"

#include "map_grid.h"
#include "world_cells.h"

#include "mapview/icon_choice.h"
#include "mapview/overview_geometry.h"

#include <QMouseEvent>
#include <QPainter>

#include <array>

namespace kx {

namespace {

// A colour for each map icon, after what the icon shows most: black for impassable, the
// ground for free land, the side's frame colour for held fields (darker with units), white
// for an HQ and red for the highlighted player.
constexpr std::array<QRgb, kIconCount> kIconColours = {
    qRgb(0, 0, 0),       qRgb(36, 70, 36),    qRgb(78, 136, 50),   qRgb(112, 98, 50),
    qRgb(160, 158, 152), qRgb(223, 207, 47),  qRgb(214, 196, 60),  qRgb(206, 196, 110),
    qRgb(0, 111, 208),   qRgb(20, 100, 170),  qRgb(70, 130, 190),  qRgb(176, 150, 20),
    qRgb(166, 142, 30),  qRgb(160, 146, 70),  qRgb(0, 70, 150),    qRgb(10, 64, 124),
    qRgb(40, 84, 140),   qRgb(255, 255, 255), qRgb(255, 255, 255), qRgb(255, 255, 255),
    qRgb(222, 8, 49),    qRgb(200, 30, 50),   qRgb(200, 80, 90),   qRgb(160, 0, 30),
    qRgb(150, 10, 36),   qRgb(150, 50, 60)};

QRgb colourOf(int icon) {
    return icon >= 0 && icon < kIconCount ? kIconColours[static_cast<size_t>(icon)]
                                          : kIconColours[0];
}

} // namespace

MapOverview::MapOverview(MapGrid& grid, QWidget* parent) : QWidget(parent), grid_(&grid) {
    setObjectName(QStringLiteral("mapOverview"));
    setMinimumSize(80, 80);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QString::fromUtf8("Kliknutím nebo tažením přesunete pohled mapy."));
    connect(&grid, &MapGrid::cellChanged, this, &MapOverview::recolour);
    connect(&grid, &MapGrid::mapChanged, this, [this] {
        stale_ = true;
        update();
    });
    connect(&grid, &MapGrid::viewMoved, this, qOverload<>(&QWidget::update));
}

QSize MapOverview::sizeHint() const {
    return QSize(200, 200);
}

QImage MapOverview::picture() {
    rebuildIfStale();
    return picture_;
}

QRectF MapOverview::pictureRect() const {
    return grid_ ? overviewPicture(size(), QSize(grid_->columnCount() - 1, grid_->rowCount() - 1))
                 : QRectF();
}

void MapOverview::rebuildIfStale() {
    if (!stale_ || !grid_)
        return;
    stale_ = false;
    const WorldCells cells = grid_->cells();
    const QSize size(cells.gridSize().width() - 1, cells.gridSize().height() - 1);
    if (size.isEmpty()) {
        picture_ = QImage();
        return;
    }
    if (picture_.size() != size)
        picture_ = QImage(size, QImage::Format_RGB32);
    if (!cells.bodyShown()) {
        picture_.fill(Qt::black);
        return;
    }
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture_.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = colourOf(cells.icon(x + 1, y + 1));
    }
}

void MapOverview::recolour(int column, int row) {
    if (stale_ || !grid_)
        return; // coloured afresh when next shown
    const QPoint at(column - 1, row - 1);
    if (!picture_.valid(at))
        return;
    const WorldCells cells = grid_->cells();
    const QRgb colour = cells.bodyShown() ? colourOf(cells.icon(column, row)) : qRgb(0, 0, 0);
    if (picture_.pixel(at) == colour)
        return;
    picture_.setPixel(at, colour);
    update(cellsToOverview(QRectF(at, QSizeF(1, 1)), pictureRect(), picture_.size())
               .toAlignedRect()
               .adjusted(-1, -1, 1, 1));
}

void MapOverview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    rebuildIfStale();
    if (picture_.isNull() || !grid_)
        return;
    const QRectF target = pictureRect();
    // Shrunk below a pixel per cell, neighbouring cells are blended rather than dropped.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, target.width() < picture_.width());
    painter.drawImage(target, picture_);
    const QRectF view = cellsToOverview(grid_->visibleCells(), target, picture_.size());
    if (view.isEmpty())
        return;
    // A white frame with a dark rim reads on every colour of the picture.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 0, 160), 3));
    painter.drawRect(view.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(view.adjusted(0.5, 0.5, -0.5, -0.5));
}

void MapOverview::moveViewTo(QPointF point) {
    if (!grid_)
        return;
    const QSize cells(grid_->columnCount() - 1, grid_->rowCount() - 1);
    grid_->centreOn(overviewToCells(point, pictureRect(), cells));
}

void MapOverview::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        moveViewTo(event->position());
}

void MapOverview::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        moveViewTo(event->position());
}

} // namespace kx
