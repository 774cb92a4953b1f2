#include "window_activity.h"

#include <QCoreApplication>

namespace kx {

namespace {
constexpr qint64 kServeEveryMs = 10;
}

void WindowActivity::progressChanged(int value, bool visible) {
    if (!bar_)
        return;
    bar_->setValue(value);
    bar_->setVisible(visible);
    serveEvents();
}

void WindowActivity::keepAlive() {
    serveEvents();
}

void WindowActivity::serveEvents() {
    if (clock_.elapsed() < kServeEveryMs)
        return;
    clock_.restart();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace kx
