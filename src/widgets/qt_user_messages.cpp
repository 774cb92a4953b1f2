#include "qt_user_messages.h"

#include <QMessageBox>

namespace kx {

void QtUserMessages::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kApplicationTitle), text,
                    QMessageBox::Ok, parent_);
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
}

bool QtUserMessages::askYesNo(const QString& caption, const QString& text, bool defaultYes) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent_);
    box.setObjectName(QStringLiteral("questionBox"));
    box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace kx
