#include "description_edit.h"

#include <algorithm>

#include <QKeyEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>

namespace kx {

DescriptionEdit::DescriptionEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("mPopis"));
    setTabChangesFocus(true);
}

int DescriptionEdit::room() const {
    // The document counts one character more than the text holds (its closing paragraph).
    const QTextCursor cursor = textCursor();
    const int kept =
        document()->characterCount() - 1 - (cursor.selectionEnd() - cursor.selectionStart());
    return std::max(0, kMaxLength - kept);
}

void DescriptionEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed[0].isPrint() && room() < typed.size()) {
        event->accept(); // full: the character is not taken
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void DescriptionEdit::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText())
        return;
    static const QRegularExpression lineBreaks(QStringLiteral("\\r\\n|[\\r\\n\\x{2028}\\x{2029}]"));
    QString text = source->text();
    text.replace(lineBreaks, QStringLiteral(" "));
    insertPlainText(text.left(room()));
}

} // namespace kx
