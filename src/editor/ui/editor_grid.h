#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

namespace kx {

struct MapEditor;

// The editor's map (dgMap): a header row of column names, a header column of row numbers
// and one 20 x 20 picture per map cell, read from the editor when painting; in the preview
// the pictures are the replay map's. Pressing the left button on a cell asks for it to be
// painted, and so does every cell the pointer then crosses while the button is held, in the
// order crossed. With Ctrl held the press starts a rectangle that follows the pointer; with
// Shift held, or in fill mode, it asks for a fill. A stroke (press to release) is announced
// at both ends, so the window can take it as one step; the window decides what painting
// means.
class EditorGrid : public QWidget {
    Q_OBJECT

  public:
    explicit EditorGrid(const MapEditor& editor, QWidget* parent = nullptr);

    // The map changed its size: takes the new size and repaints everything.
    void mapResized();
    // Repaints one body cell; header cells and positions outside the map are ignored.
    void redrawCell(int col, int row);

    QRect cellRect(int col, int row) const;
    // The grid cell under a point, or (-1, -1) over no cell.
    QPoint cellAt(QPoint point) const;

    // Whether the cells show as the replay's map draws them.
    void setPreview(bool preview);
    bool preview() const { return preview_; }
    // Whether a plain press fills instead of painting.
    void setFillMode(bool fill) { fillMode_ = fill; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  Q_SIGNALS:
    void strokeStarted(bool rectangle);
    void selectCell(int col, int row);
    // The rectangle of a Ctrl drag so far, from the cell pressed to the cell under the pointer.
    void rectangleDragged(int col1, int row1, int col2, int row2);
    void strokeFinished();
    void fillRequested(int col, int row);

  protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool isBodyCell(QPoint cell) const;
    void paintTowards(QPoint cell);
    QString cellDescription(QPoint cell) const;

    const MapEditor& editor_;
    bool painting_ = false;
    bool rectangle_ = false; // the stroke draws a rectangle from anchor_
    QPoint anchor_;
    bool preview_ = false;
    bool fillMode_ = false;
    QPoint lastPainted_{-1, -1}; // the last cell of a drag, (-1, -1) while off the map
    QFont narrowFont_;           // for header texts too wide for a cell
};

} // namespace kx
