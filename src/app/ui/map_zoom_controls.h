#pragma once

#include <QObject>

class QDockWidget;
class QMainWindow;
class QSettings;

namespace kx {

class MapGrid;
class MapOverview;

// The map's zoom and overview in the main window: the zoom items of the view menu (the
// window's "&Utility", where the event list is shown from) with their keys (Ctrl+plus or
// Ctrl+=, Ctrl+minus, Ctrl+0), fitting the world to the window, and the overview dock with its
// item (F7). Both are kept in the settings under "map/…". Lives as a child of the window.
class MapZoomControls : public QObject {
    Q_OBJECT
  public:
    // Adds the items to the window's menu "mmUtil" (or a menu "mmView" made before
    // "&Nápověda" in a window without it) and the hidden overview dock to its right.
    MapZoomControls(QMainWindow& window, MapGrid& grid);

    QDockWidget* overviewDock() const { return dock_; }
    MapOverview* overview() const { return overview_; }

    // Brings back the stored zoom and the overview's visibility; stores them.
    void restore(QSettings& settings);
    void save(QSettings& settings) const;

  private:
    MapGrid& grid_;
    QDockWidget* dock_ = nullptr;
    MapOverview* overview_ = nullptr;
};

} // namespace kx
