#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace kx {

// Long work of a window's command on a thread of its own, behind a window-modal progress
// dialog whose "Zrušit" cancels it: the window stays served meanwhile. `work` is told how to
// report progress (a share in per cent; false back means cancel) and gives its result, which
// this returns when it has ended.
using WorkProgress = std::function<bool(int percent)>;
QString runWithProgress(QWidget& parent, const QString& title, const QString& label,
                        const QString& objectName,
                        const std::function<QString(const WorkProgress&)>& work);

} // namespace kx
