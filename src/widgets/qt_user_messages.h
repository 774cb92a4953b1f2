#pragma once

#include "records/user_messages.h"

#include <QPointer>
#include <QWidget>

namespace kx {

// Message boxes over a window, titled with the application's title.
class QtUserMessages : public UserMessages {
  public:
    explicit QtUserMessages(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void showMessage(const QString& text) override;
    bool askYesNo(const QString& caption, const QString& text, bool defaultYes) override;
    QuestionAnswer askYesNoCancel(const QString& caption, const QString& text) override;

  private:
    QPointer<QWidget> parent_;
};

} // namespace kx
