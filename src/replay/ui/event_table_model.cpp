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
    switch (index.column()) {
    case 0:
        return rows_.timeText(row);
    case 1:
        return rows_.kindText(row);
    case 2:
        return rows_.sentence(row);
    default:
        return QVariant();
    }
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
