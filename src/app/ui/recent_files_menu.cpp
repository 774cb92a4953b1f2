#include "recent_files_menu.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace kx {

RecentFilesMenu::RecentFilesMenu(QMenu* menu, RecentFiles& files,
                                 std::function<void(const QString&)> opener)
    : QObject(menu), menu_(menu), files_(files), opener_(std::move(opener)) {
    connect(menu_, &QMenu::aboutToShow, this, &RecentFilesMenu::rebuild);
    rebuild();
}

void RecentFilesMenu::rebuild() {
    menu_->clear();
    const QStringList paths = files_.paths();
    menu_->setEnabled(!paths.isEmpty());
    for (int i = 0; i < paths.size(); ++i) {
        const QString& path = paths[i];
        // "&1" … "&9", then "1&0": each item has its own key.
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QStringLiteral("1&0");
        QString name = QFileInfo(path).fileName();
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = menu_->addAction(number + QLatin1Char(' ') + name);
        action->setObjectName(QStringLiteral("mmFileRecent%1").arg(i + 1));
        action->setToolTip(QDir::toNativeSeparators(path));
        action->setStatusTip(QDir::toNativeSeparators(path));
        connect(action, &QAction::triggered, this, [this, path] {
            // A record that is gone leaves the list; the loader still says why it cannot open.
            if (!QFileInfo::exists(path))
                files_.remove(path);
            if (opener_)
                opener_(path);
        });
    }
    if (!paths.isEmpty()) {
        menu_->addSeparator();
        QAction* clear = menu_->addAction(QString::fromUtf8("&Vymazat seznam"));
        clear->setObjectName(QStringLiteral("mmFileRecentClear"));
        connect(clear, &QAction::triggered, this, [this] {
            files_.clear();
            rebuild();
        });
    }
}

} // namespace kx
