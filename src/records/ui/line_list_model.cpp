#include "line_list_model.h"

namespace kx {

void LineListModel::setLines(const LineList& lines) {
    beginResetModel();
    lines_ = lines;
    endResetModel();
}

int LineListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(std::min<qsizetype>(lines_.size(), INT_MAX));
}

QVariant LineListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= lines_.size())
        return {};
    return lines_.textAt(index.row());
}

} // namespace kx
