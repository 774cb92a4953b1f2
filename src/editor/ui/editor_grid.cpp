#include "editor_grid.h"

#include "editor_icons.h"
#include "preview_icons.h"

#include "editor/map_editor.h"
#include "mapview/ui/map_renderer.h"
#include "records/cell_address.h"
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

// The editor's map as the renderer reads it: the editor's pictures, none before the grids
// exist.
class EditorCells : public MapCells {
  public:
    EditorCells(const MapEditor& editor, bool preview = false)
        : editor_(editor), preview_(preview) {}
    QSize gridSize() const override { return QSize(editor_.columnCount(), editor_.rowCount()); }
    bool bodyShown() const override { return editor_.editAllocated; }
    const QPixmap& cellPixmap(int column, int row, qreal devicePixelRatio) const override {
        const int icon = editor_.cellIcon(column, row);
        return preview_ ? previewIconPixmap(icon, devicePixelRatio)
                        : editorIconPixmap(icon, devicePixelRatio);
    }

  private:
    const MapEditor& editor_;
    bool preview_;
};

} // namespace

EditorGrid::EditorGrid(const MapEditor& editor, QWidget* parent)
    : QWidget(parent), editor_(editor) {
    setObjectName(QStringLiteral("dgMap"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);
    narrowFont_ = narrowHeaderFont(font());
    mapResized();
}

void EditorGrid::mapResized() {
    setFixedSize(sizeHint());
    updateGeometry();
    update();
}

void EditorGrid::setPreview(bool preview) {
    if (preview_ == preview)
        return;
    preview_ = preview;
    update();
}

void EditorGrid::redrawCell(int col, int row) {
    if (isBodyCell(QPoint(col, row)))
        update(cellRect(col, row));
}

QRect EditorGrid::cellRect(int col, int row) const {
    const EditorCells cells(editor_);
    return MapRenderer(cells).cellRect(col, row);
}

QPoint EditorGrid::cellAt(QPoint point) const {
    const EditorCells cells(editor_);
    return MapRenderer(cells).gridCellAt(point);
}

bool EditorGrid::isBodyCell(QPoint cell) const {
    const EditorCells cells(editor_);
    return MapRenderer(cells).isBodyCell(cell);
}

QSize EditorGrid::sizeHint() const {
    const EditorCells cells(editor_);
    return MapRenderer(cells).size();
}

void EditorGrid::paintEvent(QPaintEvent* event) {
    const EditorCells cells(editor_, preview_);
    const MapLook look{palette().color(QPalette::Button), palette().color(QPalette::ButtonText),
                       font(), narrowFont_};
    QPainter painter(this);
    MapRenderer(cells, look).draw(painter, event->rect());
}

void EditorGrid::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        narrowFont_ = narrowHeaderFont(font());
    QWidget::changeEvent(event);
}

void EditorGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const QPoint cell = cellAt(event->position().toPoint());
    if (!isBodyCell(cell) || painting_)
        return;
    if (fillMode_ || event->modifiers().testFlag(Qt::ShiftModifier)) {
        fillRequested(cell.x(), cell.y());
        return;
    }
    painting_ = true;
    rectangle_ = event->modifiers().testFlag(Qt::ControlModifier);
    anchor_ = cell;
    lastPainted_ = cell;
    strokeStarted(rectangle_);
    if (rectangle_)
        rectangleDragged(cell.x(), cell.y(), cell.x(), cell.y());
    else
        selectCell(cell.x(), cell.y());
}

void EditorGrid::mouseMoveEvent(QMouseEvent* event) {
    if (!painting_ || !(event->buttons() & Qt::LeftButton))
        return QWidget::mouseMoveEvent(event);
    const QPoint cell = cellAt(event->position().toPoint());
    if (!rectangle_)
        return paintTowards(cell);
    // The rectangle keeps its last corner while the pointer is off the map.
    if (isBodyCell(cell) && cell != lastPainted_) {
        lastPainted_ = cell;
        rectangleDragged(anchor_.x(), anchor_.y(), cell.x(), cell.y());
    }
}

void EditorGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && painting_) {
        painting_ = false;
        rectangle_ = false;
        strokeFinished();
    }
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
    QString text = cellAddressText(x, y) + QStringLiteral(": ") +
                   terrainCaption(field == kEditorImpassable ? field : field % 5);
    const int32_t units = editor_.editUnits(x, y);
    if (units % 10 != 0)
        text += QStringLiteral(", ") + QString::number(units / 10) + QString::fromUtf8(" × ") +
                unitName(units % 10);
    return text;
}

} // namespace kx
