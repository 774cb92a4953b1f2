#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

namespace kx {

class MapGrid;

// A small picture of the whole world the grid shows, one pixel per cell coloured by the icon
// the cell shows (its side, terrain, units, highlight), with the part in the grid's view
// framed. Clicking or dragging in it moves the grid's view there. A changed cell recolours
// its pixel; only a change of the whole map colours the picture afresh, and not before it is
// shown.
class MapOverview : public QWidget {
    Q_OBJECT
  public:
    explicit MapOverview(MapGrid& grid, QWidget* parent = nullptr);

    // The picture as it stands, one pixel per cell.
    QImage picture();
    // Where the picture is drawn in the widget.
    QRectF pictureRect() const;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void recolour(int column, int row);
    void rebuildIfStale();
    void moveViewTo(QPointF point);

    QPointer<MapGrid> grid_;
    QImage picture_;
    bool stale_ = true;
};

} // namespace kx
