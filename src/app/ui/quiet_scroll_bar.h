#pragma once

#include <QScrollBar>

namespace kx {

// A scroll bar that repaints only when what it shows has changed. A memo whose whole text is
// replaced at every step resets its bar's range on the way and sets it back; each reset
// would repaint the bar, and a styled bar costs more to paint than the step itself. Changes
// are looked at once the event loop comes round, after such a reset has settled.
class QuietScrollBar : public QScrollBar {
  public:
    explicit QuietScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

  protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    struct Shown {
        int minimum = 0;
        int maximum = -1; // never shown yet
        int pageStep = 0;
        int position = 0;
        bool operator==(const Shown&) const = default;
    };
    Shown current() const;

    Shown painted_;
    bool checkPending_ = false;
};

} // namespace kx
