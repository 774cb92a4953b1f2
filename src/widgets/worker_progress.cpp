#include "worker_progress.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <thread>

namespace kx {

QString runWithProgress(QWidget& parent, const QString& title, const QString& label,
                        const QString& objectName,
                        const std::function<QString(const WorkProgress&)>& work) {
    QProgressDialog dialog(label, QString::fromUtf8("Zrušit"), 0, 100, &parent);
    dialog.setObjectName(objectName);
    dialog.setWindowTitle(title);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(300);
    dialog.setValue(0);
    std::atomic<int> percent{0};
    std::atomic<bool> cancelled{false};
    std::atomic<bool> done{false};
    QString result;
    std::thread worker([&] {
        result = work([&](int value) {
            percent = value;
            return !cancelled.load();
        });
        done = true;
    });
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (dialog.wasCanceled())
            cancelled = true;
        if (done) {
            loop.quit();
            return;
        }
        dialog.setValue(std::min(percent.load(), 99));
    });
    poll.start(30);
    loop.exec();
    worker.join();
    dialog.reset();
    return result;
}

} // namespace kx
