#pragma once

#include "library/record_entry.h"

#include <QAbstractTableModel>

#include <vector>

namespace kx {

// The library window's results: one row per record, sortable by every column (the sort role
// gives numbers as numbers).
class RecordTableModel : public QAbstractTableModel {
  public:
    enum Column { Date, Map, World, Size, Players, Events, Length, Winner, ColumnCount };
    static constexpr int kSortRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    void setEntries(std::vector<RecordEntry> entries);
    const RecordEntry& entry(int row) const { return entries_[static_cast<size_t>(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::vector<RecordEntry> entries_;
};

// The game time between a record's first and last event, in minutes (0 when unknown).
int64_t recordLengthMinutes(const RecordEntry& entry);

} // namespace kx
