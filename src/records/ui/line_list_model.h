#pragma once

#include "records/line_list.h"

#include <QAbstractListModel>

namespace kx {

// Shows a list of record lines without copying them: each row is decoded when it is drawn,
// so a list of a million lines costs nothing until it is scrolled to.
class LineListModel : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    void setLines(const LineList& lines);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    LineList lines_;
};

} // namespace kx
