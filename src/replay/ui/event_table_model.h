#pragma once

#include "replay/event_rows.h"

#include <QAbstractTableModel>

#include <map>

namespace kx {

class ReplaySession;

// The event list as a table: time, kind and sentence of each row of EventRows. Rows are
// asked for only as the view shows them, so a record of any length opens at once.
class EventTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit EventTableModel(ReplaySession& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Follows the session to another record; true when the rows were rebuilt.
    bool sync();
    void setFilter(int playerIndex, std::optional<EventKind> kind);
    // Only the marked events (sorted), or every event for nullopt.
    void setOnlyEvents(std::optional<std::vector<int32_t>> events);
    bool onlyEvents() const { return rows_.onlyEvents(); }
    // The record's bookmarks by event, shown with their events.
    void setBookmarks(const std::map<int32_t, QString>& bookmarks);
    const std::map<int32_t, QString>& bookmarks() const { return bookmarks_; }
    // The row showing the current event (the last one replayed), or the one before it.
    int currentRow() const;
    int32_t eventAt(int row) const { return rows_.eventAt(row); }
    int playerFilter() const { return rows_.playerFilter(); }
    std::optional<EventKind> kindFilter() const { return rows_.kindFilter(); }

  private:
    ReplaySession& session_;
    mutable EventRows rows_;
    uint64_t generation_ = 0;
    std::map<int32_t, QString> bookmarks_;
};

} // namespace kx
