#include "map_zoom_controls.h"

#include "mapview/map_zoom.h"
#include "mapview/ui/map_grid.h"
#include "mapview/ui/map_overview.h"

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

namespace kx {

namespace {

const QString kZoomKey = QStringLiteral("map/zoom");
const QString kOverviewKey = QStringLiteral("map/overview");

// The menu that holds the window's view items ("&Utility", beside the event list), or a menu
// of its own before "&Nápověda" in a window without it.
QMenu* viewMenu(QMainWindow& window) {
    if (auto* menu = window.menuBar()->findChild<QMenu*>(QStringLiteral("mmUtil")))
        return menu;
    auto* menu = new QMenu(QString::fromUtf8("&Zobrazit"), window.menuBar());
    menu->setObjectName(QStringLiteral("mmView"));
    menu->menuAction()->setObjectName(QStringLiteral("mmView"));
    QAction* before = nullptr;
    if (auto* help = window.menuBar()->findChild<QMenu*>(QStringLiteral("mmHelp")))
        before = help->menuAction();
    window.menuBar()->insertMenu(before, menu);
    return menu;
}

} // namespace

MapZoomControls::MapZoomControls(QMainWindow& window, MapGrid& grid)
    : QObject(&window), grid_(grid) {
    overview_ = new MapOverview(grid);
    dock_ = new QDockWidget(QString::fromUtf8("Přehled mapy"), &window);
    dock_->setObjectName(QStringLiteral("dockOverview"));
    dock_->setWidget(overview_);
    window.addDockWidget(Qt::RightDockWidgetArea, dock_);
    dock_->hide();

    QMenu* menu = viewMenu(window);
    if (!menu->isEmpty())
        menu->addSeparator();
    auto addItem = [&](const char* name, const char* caption, const QList<QKeySequence>& keys,
                       auto handler) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QLatin1String(name));
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    // Ctrl+= for keyboards whose plus needs Shift.
    addItem("mmViewZoomIn", "Př&iblížit",
            {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
            [this] { grid_.zoomIn(); });
    addItem("mmViewZoomOut", "O&ddálit", {QKeySequence(Qt::CTRL | Qt::Key_Minus)},
            [this] { grid_.zoomOut(); });
    addItem("mmViewZoomReset", "Skutečná &velikost", {QKeySequence(Qt::CTRL | Qt::Key_0)},
            [this] { grid_.setZoom(kZoomDefault); });
    addItem("mmViewZoomFit", "Přizpůsobit ok&nu", {}, [this] { grid_.fitToWindow(); });
    menu->addSeparator();
    QAction* toggle = dock_->toggleViewAction();
    toggle->setText(QString::fromUtf8("Přehled &mapy"));
    toggle->setObjectName(QStringLiteral("mmViewOverview"));
    toggle->setShortcut(QKeySequence(Qt::Key_F7));
    menu->addAction(toggle);
}

void MapZoomControls::restore(QSettings& settings) {
    bool read = false;
    const int zoom = settings.value(kZoomKey).toInt(&read);
    grid_.setZoom(read ? zoom : kZoomDefault);
    dock_->setVisible(settings.value(kOverviewKey, false).toBool());
}

void MapZoomControls::save(QSettings& settings) const {
    settings.setValue(kZoomKey, grid_.zoom());
    // Asked of the dock, not of its visibility on screen: a minimised window still has it.
    settings.setValue(kOverviewKey, !dock_->isHidden());
}

} // namespace kx
