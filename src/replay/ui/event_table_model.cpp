#include "event_table_model.h"

#include "replay/session.h"

#include <QFont>

namespace kx {

EventTableModel::EventTableModel(ReplaySession& session, QObject* parent)
    : QAbstractTableModel(parent), session_(session), rows_(session),
      generation_(session.recordGeneration()) {}

int EventTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_.rowCount();
}

int EventTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant EventTableModel::data(const QModelIndex& index, int role) const {
    // While a load or a jump runs, the session's lists are being rebuilt.
    // (also before the table has caught up with another record).
    if (!index.isValid() || session_.busy() || generation_ != session_.recordGeneration())
        return QVariant();
    const int32_t row = index.row();
    if (role == Qt::FontRole) {
        if (rows_.eventAt(row) != session_.shownEventIndex())
            return QVariant();
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return QVariant();
    // A bookmarked event: a star before its time, its note before its sentence.
    const auto bookmark = bookmarks_.find(rows_.eventAt(row));
    const bool marked = bookmark != bookmarks_.end();
    switch (index.column()) {
    case 0:
        return marked ? QString::fromUtf8("★ ") + rows_.timeText(row) : rows_.timeText(row);
    case 1:
        return rows_.kindText(row);
    case 2:
        return marked ? QString::fromUtf8("„%1“ %2").arg(bookmark->second, rows_.sentence(row))
                      : rows_.sentence(row);
    default:
        return QVariant();
    }
}

void EventTableModel::setBookmarks(const std::map<int32_t, QString>& bookmarks) {
    if (bookmarks == bookmarks_)
        return;
    bookmarks_ = bookmarks;
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, 2));
}

void EventTableModel::setOnlyEvents(std::optional<std::vector<int32_t>> events) {
    beginResetModel();
    rows_.setOnlyEvents(std::move(events));
    endResetModel();
}

QVariant EventTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return rows_.eventAt(section);
    switch (section) {
    case 0:
        return QString::fromUtf8("Čas");
    case 1:
        return QString::fromUtf8("Druh");
    case 2:
        return QString::fromUtf8("Událost");
    default:
        return QVariant();
    }
}

bool EventTableModel::sync() {
    if (session_.busy() || generation_ == session_.recordGeneration())
        return false;
    beginResetModel();
    rows_.sync();
    generation_ = session_.recordGeneration();
    endResetModel();
    return true;
}

void EventTableModel::setFilter(int playerIndex, std::optional<EventKind> kind) {
    beginResetModel();
    rows_.setFilter(playerIndex, kind);
    endResetModel();
}

int EventTableModel::currentRow() const {
    return rows_.rowAtOrBefore(session_.shownEventIndex());
}

} // namespace kx
