#include "map_renderer.h"

#include "mapview/map_zoom.h"
#include "records/cell_address.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPalette>
#include <QPixmap>

#include <algorithm>
#include <array>

namespace kx {

namespace {

constexpr int kCell = MapRenderer::kCellSize;

// Label steps that read naturally: every name, every second, fifth, tenth...
int labelStep(int cell, int needed) {
    constexpr std::array<int, 3> kSteps = {1, 2, 5};
    for (int scale = 1;; scale *= 10)
        for (int step : kSteps)
            if (step * scale * cell >= needed || step * scale >= 100000)
                return step * scale;
}

} // namespace

QFont narrowHeaderFont(const QFont& font, int width) {
    QFont narrow = font;
    narrow.setStretch(QFont::Condensed);
    for (int i = 0; i < 4 && QFontMetrics(narrow).horizontalAdvance("000") > width - 2; ++i) {
        const qreal size = narrow.pointSizeF();
        if (size > 0)
            narrow.setPointSizeF(size - 0.5);
        else
            narrow.setPixelSize(std::max(6, narrow.pixelSize() - 1));
    }
    return narrow;
}

QFont zoomedHeaderFont(const QFont& font, int percent) {
    const int zoom = clampZoom(percent);
    if (zoom <= kZoomDefault)
        return font;
    QFont zoomed = font;
    if (font.pointSizeF() > 0)
        zoomed.setPointSizeF(font.pointSizeF() * zoom / kZoomDefault);
    else
        zoomed.setPixelSize(font.pixelSize() * zoom / kZoomDefault);
    return zoomed;
}

MapLook mapLookAt(const QPalette& palette, const QFont& font, int percent) {
    // The grid's own face up to 100 %, grown above.
    const QFont face = percent > kZoomDefault ? zoomedHeaderFont(font, percent) : font;
    return MapLook{palette.color(QPalette::Button), palette.color(QPalette::WindowText), face,
                   narrowHeaderFont(face, headerSizeAt(percent))};
}

void MapRenderer::setZoom(int percent) {
    cell_ = cellSizeAt(percent);
    header_ = headerSizeAt(percent);
}

int MapRenderer::columnCount() const {
    return std::max(1, cells_.gridSize().width());
}

int MapRenderer::rowCount() const {
    return std::max(1, cells_.gridSize().height());
}

QSize MapRenderer::size() const {
    return QSize(header_ + (columnCount() - 1) * cell_, header_ + (rowCount() - 1) * cell_);
}

QRect MapRenderer::cellRect(int column, int row) const {
    const int x = column <= 0 ? 0 : header_ + cell_ * (column - 1) - scroll_.x();
    const int y = row <= 0 ? 0 : header_ + cell_ * (row - 1) - scroll_.y();
    return QRect(x, y, column <= 0 ? header_ : cell_, row <= 0 ? header_ : cell_);
}

QRect MapRenderer::bodyArea() const {
    return QRect(QPoint(header_, header_),
                 cellRect(columnCount() - 1, rowCount() - 1).bottomRight());
}

bool MapRenderer::isBodyCell(QPoint cell) const {
    return cell.x() >= 1 && cell.y() >= 1 && cell.x() < columnCount() && cell.y() < rowCount();
}

QPoint MapRenderer::gridCellAt(QPoint point) const {
    if (point.x() < 0 || point.y() < 0)
        return QPoint(-1, -1);
    const int column = point.x() < header_ ? 0 : (point.x() - header_ + scroll_.x()) / cell_ + 1;
    const int row = point.y() < header_ ? 0 : (point.y() - header_ + scroll_.y()) / cell_ + 1;
    if (column >= columnCount() || row >= rowCount())
        return QPoint(-1, -1);
    return QPoint(column, row);
}

QPoint MapRenderer::cellAt(QPoint point) const {
    const QPoint cell = gridCellAt(point);
    return isBodyCell(cell) ? cell : QPoint(-1, -1);
}

void MapRenderer::draw(QPainter& painter, const QRect& exposed) const {
    Q_ASSERT(look_);
    painter.fillRect(exposed, Qt::black);
    if (cells_.bodyShown())
        drawBody(painter, exposed);
    drawHeaders(painter, exposed);
}

QImage MapRenderer::image() const {
    QImage image(size(), QImage::Format_RGB32);
    QPainter painter(&image);
    draw(painter, image.rect());
    return image;
}

void MapRenderer::drawBody(QPainter& painter, const QRect& exposed) const {
    const QRect area = exposed & bodyArea();
    if (area.isEmpty())
        return;
    const int firstColumn = (area.left() - header_ + scroll_.x()) / cell_ + 1;
    const int lastColumn =
        std::min(columnCount() - 1, (area.right() - header_ + scroll_.x()) / cell_ + 1);
    const int firstRow = (area.top() - header_ + scroll_.y()) / cell_ + 1;
    const int lastRow =
        std::min(rowCount() - 1, (area.bottom() - header_ + scroll_.y()) / cell_ + 1);
    const qreal deviceRatio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    // The icons are drawn for the zoomed cell, one pixel of theirs to one of the device.
    const qreal ratio = deviceRatio * cell_ / kCell;

    painter.save();
    painter.setClipRect(area);
    for (int column = firstColumn; column <= lastColumn; ++column)
        for (int row = firstRow; row <= lastRow; ++row) {
            const QPixmap& icon = cells_.cellPixmap(column, row, ratio);
            if (cell_ == kCell)
                painter.drawPixmap(cellRect(column, row).topLeft(), icon);
            else
                painter.drawPixmap(cellRect(column, row), icon);
        }
    painter.restore();
}

int MapRenderer::columnLabelStep(const QPainter& painter) const {
    if (cell_ >= kCell)
        return 1;
    const QString widest = columnName(columnCount() - 2).fill(QLatin1Char('W'));
    return labelStep(cell_, painter.fontMetrics().horizontalAdvance(widest) + 4);
}

int MapRenderer::rowLabelStep(const QPainter& painter) const {
    if (cell_ >= kCell)
        return 1;
    return labelStep(cell_, painter.fontMetrics().height());
}

void MapRenderer::drawHeaders(QPainter& painter, const QRect& exposed) const {
    const QRect last = cellRect(columnCount() - 1, rowCount() - 1);
    const QRect headerRow = QRect(0, 0, last.right() + 1, header_) & exposed;
    const QRect headerColumn = QRect(0, 0, header_, last.bottom() + 1) & exposed;
    if (headerRow.isEmpty() && headerColumn.isEmpty())
        return;
    painter.fillRect(headerRow, look_->headerFace);
    painter.fillRect(headerColumn, look_->headerFace);
    painter.save();
    painter.setFont(look_->font);
    painter.setPen(look_->headerText);

    // Texts stay within their header, clear of the corner. Where a name stands for several
    // cells it is centred on the cell it names and may spread over its neighbours.
    if (!headerRow.isEmpty()) {
        painter.save();
        painter.setClipRect(QRect(header_, 0, headerRow.right() + 1 - header_, header_) &
                            headerRow);
        const int step = columnLabelStep(painter);
        const int reach = step == 1 ? 0 : step / 2 + 1; // names reaching in from out of view
        int first = std::max(
            1, (std::max(header_, headerRow.left()) - header_ + scroll_.x()) / cell_ + 1 - reach);
        first += (step - (first - 1) % step) % step;
        const int lastColumn = std::min(
            columnCount() - 1, (headerRow.right() - header_ + scroll_.x()) / cell_ + 1 + reach);
        for (int column = first; column <= lastColumn; column += step) {
            const QRect cell = cellRect(column, 0);
            const QRect text(cell.center().x() - step * cell_ / 2, 0, step * cell_, header_);
            drawHeaderText(painter, step == 1 ? cell : text, columnName(column - 1));
        }
        painter.restore();
    }
    if (!headerColumn.isEmpty()) {
        painter.save();
        painter.setClipRect(QRect(0, header_, header_, headerColumn.bottom() + 1 - header_) &
                            headerColumn);
        const int step = rowLabelStep(painter);
        const int reach = step == 1 ? 0 : step / 2 + 1;
        int first = std::max(
            1, (std::max(header_, headerColumn.top()) - header_ + scroll_.y()) / cell_ + 1 - reach);
        first += (step - (first - 1) % step) % step;
        const int lastRow = std::min(
            rowCount() - 1, (headerColumn.bottom() - header_ + scroll_.y()) / cell_ + 1 + reach);
        for (int row = first; row <= lastRow; row += step) {
            const QRect cell = cellRect(0, row);
            const QRect text(0, cell.center().y() - step * cell_ / 2, header_, step * cell_);
            drawHeaderText(painter, step == 1 ? cell : text, QString::number(row - 1));
        }
        painter.restore();
    }
    painter.restore();
}

void MapRenderer::drawHeaderText(QPainter& painter, const QRect& rect, const QString& text) const {
    const bool narrow = painter.fontMetrics().horizontalAdvance(text) > rect.width() - 2;
    if (narrow) {
        painter.save();
        painter.setFont(look_->narrowFont);
    }
    painter.drawText(rect, Qt::AlignCenter, text);
    if (narrow)
        painter.restore();
}

} // namespace kx
