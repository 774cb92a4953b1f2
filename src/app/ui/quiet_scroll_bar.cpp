#include "quiet_scroll_bar.h"

#include <QMetaObject>

namespace kx {

QuietScrollBar::QuietScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {}

QuietScrollBar::Shown QuietScrollBar::current() const {
    return {minimum(), maximum(), pageStep(), sliderPosition()};
}

void QuietScrollBar::sliderChange(SliderChange) {
    if (checkPending_)
        return;
    checkPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            checkPending_ = false;
            if (current() != painted_)
                update();
        },
        Qt::QueuedConnection);
}

void QuietScrollBar::paintEvent(QPaintEvent* event) {
    painted_ = current();
    QScrollBar::paintEvent(event);
}

} // namespace kx
