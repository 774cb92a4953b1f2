#pragma once

#include <QWidget>

#include <cstdint>

class QLabel;
class QSlider;

namespace kx {

class ReplaySession;

// The timeline under the map: a slider over all events of the record. While the handle is
// dragged the label (and a tool tip at the handle) shows the time of the event under it;
// releasing the handle, or clicking the groove, asks to jump there.
class TimelineBar : public QWidget {
    Q_OBJECT
  public:
    explicit TimelineBar(ReplaySession& session, QWidget* parent = nullptr);

    // Follows the session: the record's events, the current event, enabled with a record.
    void refresh();

  Q_SIGNALS:
    void jumpRequested(int32_t eventIndex);

  private:
    void showEventUnderHandle(int value, bool tip);

    ReplaySession& session_;
    QSlider* slider_;
    QLabel* label_;
    bool updating_ = false;
};

} // namespace kx
