#include "editor_grid.h"

#include "editor_icons.h"

#include "editor/map_editor.h"
#include "records/unit_kinds.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cstdlib>

namespace kx {

namespace {

constexpr int kCell = EditorGrid::kCellSize;

QString columnLetter(int col) {
    return QString(QChar(u'A' + (col - 1)));
}

} // namespace

EditorGrid::EditorGrid(const MapEditor& editor, QWidget* parent)
    : QWidget(parent), editor_(editor) {
    setObjectName(QStringLiteral("dgMap"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);
    mapResized();
}

void EditorGrid::mapResized() {
    setFixedSize(sizeHint());
    updateGeometry();
    update();
}

void EditorGrid::redrawCell(int col, int row) {
    if (isBodyCell(QPoint(col, row)))
        update(cellRect(col, row));
}

QRect EditorGrid::cellRect(int col, int row) const {
    return QRect(col * kCell, row * kCell, kCell, kCell);
}

QPoint EditorGrid::cellAt(QPoint point) const {
    if (point.x() < 0 || point.y() < 0)
        return QPoint(-1, -1);
    const QPoint cell(point.x() / kCell, point.y() / kCell);
    if (cell.x() >= editor_.columnCount() || cell.y() >= editor_.rowCount())
        return QPoint(-1, -1);
    return cell;
}

bool EditorGrid::isBodyCell(QPoint cell) const {
    return cell.x() >= 1 && cell.y() >= 1 && cell.x() < editor_.columnCount() &&
           cell.y() < editor_.rowCount();
}

QSize EditorGrid::sizeHint() const {
    return QSize(editor_.columnCount() * kCell, editor_.rowCount() * kCell);
}

void EditorGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect exposed = event->rect();
    painter.fillRect(exposed, Qt::black);
    const int firstCol = std::max(0, exposed.left() / kCell);
    const int lastCol = std::min(editor_.columnCount() - 1, exposed.right() / kCell);
    const int firstRow = std::max(0, exposed.top() / kCell);
    const int lastRow = std::min(editor_.rowCount() - 1, exposed.bottom() / kCell);
    for (int col = firstCol; col <= lastCol; ++col)
        for (int row = firstRow; row <= lastRow; ++row)
            dgMapDrawCell(painter, col, row, cellRect(col, row));
}

void EditorGrid::dgMapDrawCell(QPainter& painter, int col, int row, const QRect& rect) {
    if (col == 0 || row == 0) {
        painter.fillRect(rect, palette().color(QPalette::Button));
        if (col == row)
            return; // the corner has no text
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(rect, Qt::AlignCenter,
                         col == 0 ? QString::number(row - 1) : columnLetter(col));
        return;
    }
    if (editor_.editAllocated)
        painter.drawPixmap(rect.topLeft(),
                           editorIconPixmap(editor_.cellIcon(col, row), devicePixelRatioF()));
}

void EditorGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const QPoint cell = cellAt(event->position().toPoint());
    if (!isBodyCell(cell))
        return;
    painting_ = true;
    lastPainted_ = cell;
    selectCell(cell.x(), cell.y());
}

void EditorGrid::mouseMoveEvent(QMouseEvent* event) {
    if (!painting_ || !(event->buttons() & Qt::LeftButton))
        return QWidget::mouseMoveEvent(event);
    paintTowards(cellAt(event->position().toPoint()));
}

void EditorGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        painting_ = false;
    QWidget::mouseReleaseEvent(event);
}

// Paints the cells on the way from the last painted cell to `cell`, one step at a time along
// the longer axis, so that a quick stroke leaves no gaps. Leaving the map ends the stroke
// until the pointer comes back.
void EditorGrid::paintTowards(QPoint cell) {
    if (!isBodyCell(cell)) {
        lastPainted_ = QPoint(-1, -1);
        return;
    }
    if (cell == lastPainted_)
        return;
    if (!isBodyCell(lastPainted_)) {
        lastPainted_ = cell;
        selectCell(cell.x(), cell.y());
        return;
    }
    const QPoint from = lastPainted_;
    const int dx = cell.x() - from.x();
    const int dy = cell.y() - from.y();
    const int steps = std::max(std::abs(dx), std::abs(dy));
    for (int i = 1; i <= steps; ++i) {
        // Rounded to the nearest cell, halves away from the start.
        const int col = from.x() + (2 * dx * i + (dx >= 0 ? steps : -steps)) / (2 * steps);
        const int row = from.y() + (2 * dy * i + (dy >= 0 ? steps : -steps)) / (2 * steps);
        selectCell(col, row);
    }
    lastPainted_ = cell;
}

bool EditorGrid::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QPoint cell = cellAt(help->pos());
        if (isBodyCell(cell))
            QToolTip::showText(help->globalPos(), cellDescription(cell), this,
                               cellRect(cell.x(), cell.y()));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

// "C12: bažina, 5 × Hovado": what the cell will be saved as.
QString EditorGrid::cellDescription(QPoint cell) const {
    const int x = cell.x() - 1;
    const int y = cell.y() - 1;
    const int32_t field = editor_.editFields(x, y);
    QString text = columnLetter(cell.x()) + QString::number(y) + QStringLiteral(": ") +
                   terrainCaption(field == kEditorImpassable ? field : field % 5);
    const int32_t units = editor_.editUnits(x, y);
    if (units % 10 != 0)
        text += QStringLiteral(", ") + QString::number(units / 10) + QString::fromUtf8(" × ") +
                unitName(units % 10);
    return text;
}

} // namespace kx
