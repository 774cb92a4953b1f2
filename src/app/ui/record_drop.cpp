#include "record_drop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace kx {

RecordDrop::RecordDrop(QWidget* window, std::function<void(const QString&)> opener)
    : QObject(window), opener_(std::move(opener)) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

QString RecordDrop::droppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            return url.toLocalFile();
    }
    return {};
}

bool RecordDrop::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (droppedFile(drag->mimeData()).isEmpty())
            drag->ignore();
        else
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = droppedFile(drop->mimeData());
        if (path.isEmpty())
            return QObject::eventFilter(watched, event);
        drop->acceptProposedAction();
        // Load after the drop has finished, so the dragging program is not held up by a long
        // load and a message box does not open inside the drag.
        QTimer::singleShot(0, this, [this, path] {
            if (opener_)
                opener_(path);
        });
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace kx
