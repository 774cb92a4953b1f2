#pragma once

#include "replay/record_opening.h"

#include <QPointer>
#include <QWidget>

namespace kx {

// The open dialog with the two record filters.
class RecordOpenDialog : public OpenDialog {
  public:
    explicit RecordOpenDialog(QWidget* parent) : parent_(parent) {}
    bool exec(OpenDialogState& dialog) override;

    static QStringList filters();

  private:
    QPointer<QWidget> parent_;
};

} // namespace kx
