#pragma once

#include "app/recent_files.h"

#include <QObject>

class QSettings;

namespace kx {

class RecentFilesMenu;
class TFMain;

// What the main window keeps between runs and its ways in beside the open dialog: the last
// ten records under "&Soubor", opening a record dropped on the window, the window's size and
// dock layout with the map's zoom and overview, and "Uložit mapu jako obrázek…". Lives as a
// child of the window.
class WindowExtras : public QObject {
    Q_OBJECT
  public:
    // Restores the stored layout at once; `settings` must outlive the window.
    WindowExtras(TFMain& window, QSettings& settings);

    RecentFiles& recentFiles() { return recent_; }
    // Stores the window's size and dock layout (when the program ends).
    void saveLayout();

  private:
    TFMain& window_;
    QSettings& settings_;
    RecentFiles recent_;
    RecentFilesMenu* recentMenu_ = nullptr;
};

} // namespace kx
