#pragma once

#include "records/user_messages.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressBar>

namespace kx {

// Moves the progress bar and serves the window's event loop during long work, at most
// every few milliseconds so that the work itself stays fast.
class WindowActivity : public ActivityObserver {
  public:
    explicit WindowActivity(QProgressBar* bar) : bar_(bar) { clock_.start(); }

    void progressChanged(int value, bool visible) override;
    void keepAlive() override;

  private:
    void serveEvents();

    QPointer<QProgressBar> bar_;
    QElapsedTimer clock_;
};

} // namespace kx
