#include "map_renderer.h"

#include "records/cell_address.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace kx {

namespace {

constexpr int kCell = MapRenderer::kCellSize;

} // namespace

QFont narrowHeaderFont(const QFont& font) {
    QFont narrow = font;
    narrow.setStretch(QFont::Condensed);
    for (int i = 0; i < 4 && QFontMetrics(narrow).horizontalAdvance("000") > kCell - 2; ++i) {
        const qreal size = narrow.pointSizeF();
        if (size > 0)
            narrow.setPointSizeF(size - 0.5);
        else
            narrow.setPixelSize(std::max(6, narrow.pixelSize() - 1));
    }
    return narrow;
}

int MapRenderer::columnCount() const {
    return std::max(1, cells_.gridSize().width());
}

int MapRenderer::rowCount() const {
    return std::max(1, cells_.gridSize().height());
}

QSize MapRenderer::size() const {
    return QSize(columnCount() * kCell, rowCount() * kCell);
}

QRect MapRenderer::cellRect(int column, int row) const {
    const int x = column <= 0 ? 0 : kCell * column - scroll_.x();
    const int y = row <= 0 ? 0 : kCell * row - scroll_.y();
    return QRect(x, y, kCell, kCell);
}

QRect MapRenderer::bodyArea() const {
    return QRect(QPoint(kCell, kCell), cellRect(columnCount() - 1, rowCount() - 1).bottomRight());
}

bool MapRenderer::isBodyCell(QPoint cell) const {
    return cell.x() >= 1 && cell.y() >= 1 && cell.x() < columnCount() && cell.y() < rowCount();
}

QPoint MapRenderer::gridCellAt(QPoint point) const {
    if (point.x() < 0 || point.y() < 0)
        return QPoint(-1, -1);
    const int column = point.x() < kCell ? 0 : (point.x() + scroll_.x()) / kCell;
    const int row = point.y() < kCell ? 0 : (point.y() + scroll_.y()) / kCell;
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
    const int firstColumn = (area.left() + scroll_.x()) / kCell;
    const int lastColumn = std::min(columnCount() - 1, (area.right() + scroll_.x()) / kCell);
    const int firstRow = (area.top() + scroll_.y()) / kCell;
    const int lastRow = std::min(rowCount() - 1, (area.bottom() + scroll_.y()) / kCell);
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;

    painter.save();
    painter.setClipRect(area);
    for (int column = firstColumn; column <= lastColumn; ++column)
        for (int row = firstRow; row <= lastRow; ++row)
            painter.drawPixmap(cellRect(column, row).topLeft(),
                               cells_.cellPixmap(column, row, ratio));
    painter.restore();
}

void MapRenderer::drawHeaders(QPainter& painter, const QRect& exposed) const {
    const QRect last = cellRect(columnCount() - 1, rowCount() - 1);
    const QRect headerRow = QRect(0, 0, last.right() + 1, kCell) & exposed;
    const QRect headerColumn = QRect(0, 0, kCell, last.bottom() + 1) & exposed;
    if (headerRow.isEmpty() && headerColumn.isEmpty())
        return;
    painter.fillRect(headerRow, look_->headerFace);
    painter.fillRect(headerColumn, look_->headerFace);
    painter.save();
    painter.setFont(look_->font);
    painter.setPen(look_->headerText);

    // Texts stay within their header, clear of the corner.
    if (!headerRow.isEmpty()) {
        painter.save();
        painter.setClipRect(QRect(kCell, 0, headerRow.right() + 1 - kCell, kCell) & headerRow);
        const int first = std::max(1, (std::max(kCell, headerRow.left()) + scroll_.x()) / kCell);
        const int lastColumn =
            std::min(columnCount() - 1, (headerRow.right() + scroll_.x()) / kCell);
        for (int column = first; column <= lastColumn; ++column)
            drawHeaderText(painter, cellRect(column, 0), columnName(column - 1));
        painter.restore();
    }
    if (!headerColumn.isEmpty()) {
        painter.save();
        painter.setClipRect(QRect(0, kCell, kCell, headerColumn.bottom() + 1 - kCell) &
                            headerColumn);
        const int first = std::max(1, (std::max(kCell, headerColumn.top()) + scroll_.y()) / kCell);
        const int lastRow = std::min(rowCount() - 1, (headerColumn.bottom() + scroll_.y()) / kCell);
        for (int row = first; row <= lastRow; ++row)
            drawHeaderText(painter, cellRect(0, row), QString::number(row - 1));
        painter.restore();
    }
    painter.restore();
}

void MapRenderer::drawHeaderText(QPainter& painter, const QRect& cell, const QString& text) const {
    const bool narrow = painter.fontMetrics().horizontalAdvance(text) > kCell - 2;
    if (narrow) {
        painter.save();
        painter.setFont(look_->narrowFont);
    }
    painter.drawText(cell, Qt::AlignCenter, text);
    if (narrow)
        painter.restore();
}

} // namespace kx
