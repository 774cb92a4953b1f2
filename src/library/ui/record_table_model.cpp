#include "record_table_model.h"

#include <QDateTime>

namespace kx {

int64_t recordLengthMinutes(const RecordEntry& entry) {
    const QDateTime first = QDateTime::fromString(entry.firstTime, Qt::ISODate);
    const QDateTime last = QDateTime::fromString(entry.lastTime, Qt::ISODate);
    if (!first.isValid() || !last.isValid())
        return 0;
    return std::max<int64_t>(0, first.secsTo(last) / 60);
}

void RecordTableModel::setEntries(std::vector<RecordEntry> entries) {
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
}

int RecordTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int RecordTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() ||
        (role != Qt::DisplayRole && role != kSortRole && role != Qt::ToolTipRole))
        return {};
    const RecordEntry& e = entry(index.row());
    if (role == Qt::ToolTipRole)
        return e.damaged.isEmpty() ? e.path : e.path + u'\n' + e.damaged;
    const bool sort = role == kSortRole;
    switch (index.column()) {
    case Date:
        return e.date;
    case Map:
        return e.map;
    case World:
        return e.world;
    case Size:
        if (sort)
            return QVariant::fromValue(qint64{e.width} * e.height);
        return e.damaged.isEmpty() ? QVariant(QStringLiteral("%1 x %2").arg(e.width).arg(e.height))
                                   : QVariant(QString());
    case Players:
        return sort ? QVariant(e.limit) : QVariant(e.playerList);
    case Events:
        return e.events;
    case Length: {
        const int64_t minutes = recordLengthMinutes(e);
        if (sort)
            return QVariant::fromValue(minutes);
        return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QChar(u'0'));
    }
    case Winner:
        if (!e.damaged.isEmpty())
            return QString::fromUtf8("poškozen");
        return e.ended ? e.winner : QString::fromUtf8("nedohráno");
    default:
        return {};
    }
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const kTitles[ColumnCount] = {"Datum", "Mapa",     "Svět",  "Rozměr",
                                                     "Hráči", "Událostí", "Délka", "Vítěz"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(kTitles[section]) : QVariant();
}

} // namespace kx
