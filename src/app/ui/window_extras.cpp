#include "window_extras.h"

#include "app/startup.h"
#include "clips/ui/clip_dialog.h"
#include "main_window.h"
#include "map_zoom_controls.h"
#include "mapview/ui/map_export.h"
#include "recent_files_menu.h"
#include "record_drop.h"
#include "window_layout.h"

#include <QAction>
#include <QMenu>
#include <QSettings>

namespace kx {

WindowExtras::WindowExtras(TFMain& window, QSettings& settings)
    : QObject(&window), window_(window), settings_(settings), recent_(&settings) {
    const auto open = [this](const QString& path) { window_.openRecord(path); };
    new RecordDrop(&window_, open);

    // The new items go above the separator before "&Konec".
    if (QMenu* file = window_.findChild<QMenu*>(QStringLiteral("mmFile"))) {
        QAction* before = window_.findChild<QAction*>(QStringLiteral("N1"));
        if (before && !file->actions().contains(before))
            before = nullptr;
        auto* recent = new QMenu(QString::fromUtf8("&Naposledy otevřené"), file);
        recent->setObjectName(QStringLiteral("mmFileRecent"));
        recent->menuAction()->setObjectName(QStringLiteral("mmFileRecent"));
        file->insertMenu(before, recent);
        recentMenu_ = new RecentFilesMenu(recent, recent_, open);

        auto* exportMap = new QAction(QString::fromUtf8("&Uložit mapu jako obrázek…"), file);
        exportMap->setObjectName(QStringLiteral("mmFileExportMap"));
        exportMap->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
        connect(exportMap, &QAction::triggered, this,
                [this] { exportMapPicture(window_, window_.session(), window_.messages()); });
        file->insertAction(before, exportMap);

        auto* exportClipAction = new QAction(QString::fromUtf8("Exportovat &klip…"), file);
        exportClipAction->setObjectName(QStringLiteral("mmFileExportClip"));
        exportClipAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
        connect(exportClipAction, &QAction::triggered, this, [this] {
            exportClip(window_, window_.session(), window_.clipEnds(), window_.messages());
        });
        file->insertAction(before, exportClipAction);
    }
    connect(&window_, &TFMain::recordOpened, this, [this](const QString& path) {
        recent_.add(path);
        // Settings that cannot be written are told once; the list lives on in this run.
        reportSettingsTrouble(settings_, window_.messages());
        // A disabled submenu never opens, so it is brought up to date here, not on showing.
        if (recentMenu_)
            recentMenu_->rebuild();
    });
    restoreWindowLayout(window_, settings_);
    if (auto* zoom = window_.findChild<MapZoomControls*>())
        zoom->restore(settings_);
}

void WindowExtras::saveLayout() {
    if (auto* zoom = window_.findChild<MapZoomControls*>())
        zoom->save(settings_);
    saveWindowLayout(window_, settings_);
    reportSettingsTrouble(settings_, window_.messages());
}

} // namespace kx
