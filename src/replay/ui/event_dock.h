#pragma once

#include <QDockWidget>
#include <QStringList>

#include <cstdint>
#include <map>
#include <vector>

class QCheckBox;
class QComboBox;
class QTableView;

namespace kx {

class EventTableModel;
class ReplaySession;

// The event list pane: every event with its time, kind and sentence, the current one marked
// and kept in view, narrowed by player and kind. A double click asks to jump to an event.
class EventDock : public QDockWidget {
    Q_OBJECT
  public:
    EventDock(ReplaySession& session, QWidget* parent = nullptr);

    // Shows the session's record and current event; does nothing while hidden.
    void refresh();
    // The pane's height with a screenful of rows in its list.
    int preferredHeight() const;
    // The events the timeline marks (sorted), which "Jen značky" keeps; empty while unknown.
    void setMarkedEvents(std::vector<int32_t> events);
    void setBookmarks(const std::map<int32_t, QString>& bookmarks);

  Q_SIGNALS:
    void jumpRequested(int32_t eventIndex);
    // The list's context menu: a bookmark to add, rename or remove at an event.
    void bookmarkAddRequested(int32_t eventIndex);
    void bookmarkRenameRequested(int32_t eventIndex);
    void bookmarkRemoveRequested(int32_t eventIndex);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void applyFilter();
    void applyMarkersOnly();
    void refreshPlayers();
    void showContextMenu(const QPoint& position);

    ReplaySession& session_;
    EventTableModel* model_;
    QTableView* table_;
    QComboBox* player_;
    QComboBox* kind_;
    QCheckBox* markersOnly_;
    std::vector<int32_t> markedEvents_;
    QStringList shownPlayers_;
    int32_t shownEvent_ = -2;
};

} // namespace kx
