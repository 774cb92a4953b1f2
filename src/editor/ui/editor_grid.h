#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

namespace kx {

struct MapEditor;

// The editor's map (dgMap): a header row of column names, a header column of row numbers
// and one 20 x 20 picture per map cell, read from the editor when painting. Pressing the left
// button on a cell asks for it to be painted, and so does every cell the pointer then crosses
// while the button is held, in the order crossed; the window decides what painting means.
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

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  Q_SIGNALS:
    void selectCell(int col, int row);

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
    QPoint lastPainted_{-1, -1}; // the last cell of a drag, (-1, -1) while off the map
    QFont narrowFont_;           // for header texts too wide for a cell
};

} // namespace kx
