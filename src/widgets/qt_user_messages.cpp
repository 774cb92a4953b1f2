#include "qt_user_messages.h"

#include <QMessageBox>
#include <QPushButton>

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

QuestionAnswer QtUserMessages::askYesNoCancel(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
    box.setObjectName(QStringLiteral("questionBox"));
    box.button(QMessageBox::Yes)->setText(QString::fromUtf8("&Ano"));
    box.button(QMessageBox::No)->setText(QString::fromUtf8("&Ne"));
    box.button(QMessageBox::Cancel)->setText(QString::fromUtf8("&Zrušit"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return QuestionAnswer::Yes;
    case QMessageBox::No:
        return QuestionAnswer::No;
    default:
        return QuestionAnswer::Cancel;
    }
}

} // namespace kx
