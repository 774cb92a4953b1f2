#pragma once

#include <QWidget>

#include <functional>

namespace kx {

// One picture of the terrain palette: a 20 x 20 editor picture in a thin margin that shows a
// frame while its terrain is the chosen one. A left click calls `clicked`.
class PaletteImage : public QWidget {
  public:
    PaletteImage(int icon, int tag, QWidget* parent = nullptr);

    int tag() const { return tag_; }
    void setChosen(bool chosen);
    bool isChosen() const { return chosen_; }

    std::function<void(int tag)> clicked;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    int icon_;
    int tag_;
    bool chosen_ = false;
};

} // namespace kx
