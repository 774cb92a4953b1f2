#pragma once

#include <QObject>

#include <cstdint>
#include <random>

class QAbstractButton;
class QTimer;

namespace kx {
class TFMain;
}

namespace kx::soak {

// A user at the main window who runs the slide show at its shortest interval and now and then
// jumps back (one or ten events, a double click in the event list, the timeline; now and then
// the timeline forward, so that the show covers the whole record) or changes
// what the map shows (the team views, highlighting, hiding the HQ, zoom, the overview, the
// player list, the field under the mouse). Everything goes through the window's controls.
class ViewerUser : public QObject {
    Q_OBJECT
  public:
    ViewerUser(TFMain& window, uint32_t seed);

    // Opens the event list, goes to the last event and back to the middle, scrolls the list
    // back over many screens and shows every view once (so that the window's bounded caches
    // fill before the run is measured), types the shortest interval that runs the slide show
    // ("01" ms) and presses "Start!"; then acts every `pauseMs` on average.
    void start(int pauseMs);
    void stop();

    int64_t eventsShown() const { return eventsShown_; }
    int64_t jumps() const { return jumps_; } // backward
    int64_t forwardJumps() const { return forwardJumps_; }
    int64_t viewChanges() const { return viewChanges_; }
    int64_t restarts() const { return restarts_; }

  private:
    void act();
    void jumpBack();
    void changeView();
    void warmUpViews();
    void keepSlideShowRunning();
    void slideTick();
    void clickButton(const char* name);
    void doubleClickEvent(int32_t event);
    void dragTimelineTo(int32_t event);
    int below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }

    TFMain& window_;
    std::mt19937 random_;
    QTimer* pause_;
    QTimer* slajd_;
    int pauseMs_ = 500;
    int32_t lastShown_ = -1;
    int64_t eventsShown_ = 0;
    int64_t jumps_ = 0;
    int64_t forwardJumps_ = 0;
    int64_t viewChanges_ = 0;
    int64_t restarts_ = 0;
};

} // namespace kx::soak
