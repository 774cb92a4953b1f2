#pragma once

#include "stats/timeline_markers.h"

#include <QWidget>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class QLabel;
class QMenu;
class QSlider;
class QToolButton;

namespace kx {

class EventRows;
class MarkerStrip;
class ReplaySession;

// The timeline under the map: a slider over all events of the record, with the record's
// markers and bookmarks drawn over it and buttons to the previous and the next marker. While
// the handle is dragged the label (and a tool tip at the handle) shows the time of the event
// under it; releasing the handle, clicking the groove or clicking a mark asks to jump there.
class TimelineBar : public QWidget {
    Q_OBJECT
  public:
    explicit TimelineBar(ReplaySession& session, QWidget* parent = nullptr);
    ~TimelineBar() override;

    // Follows the session: the record's events, the current event, enabled with a record.
    void refresh();

    // The record's markers (nullptr while there are none); they stay the caller's.
    void setMarkers(const std::vector<TimelineMarker>* markers);
    // Percent of the markers' pass while it runs, -1 when it does not.
    void setMarkerProgress(int percent);
    void setBookmarks(const std::map<int32_t, QString>& bookmarks);
    // The kinds checked in the markers' menu and the player chosen in the player list.
    MarkerFilter markerFilter() const;
    QMenu* markerKindsMenu() const { return kindsMenu_; }
    // The tool tip of a marked event: its time, what is marked and its sentence.
    QString describe(int32_t event);

  Q_SIGNALS:
    void jumpRequested(int32_t eventIndex);
    // -1 for the previous marker, 1 for the next.
    void markerStepRequested(int direction);
    void markerFilterChanged();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void showEventUnderHandle(int value, bool tip);
    void placeStrip();
    void filterChanged();

    ReplaySession& session_;
    QSlider* slider_;
    QLabel* label_;
    MarkerStrip* strip_;
    QToolButton* previous_;
    QToolButton* next_;
    QToolButton* kinds_;
    QMenu* kindsMenu_;
    const std::vector<TimelineMarker>* markers_ = nullptr;
    std::map<int32_t, QString> bookmarks_;
    std::unique_ptr<EventRows> sentences_;
    int shownPlayer_ = -2;
    bool updating_ = false;
};

// Where the handle of `slider` stands when it shows `value`.
QRect sliderHandleRect(const QSlider* slider, int value);

} // namespace kx
