#pragma once

#include "app/recent_files.h"

#include <QObject>

#include <functional>

class QMenu;

namespace kx {

// The submenu "Naposledy otevřené" of the file menu: one item per recent record, numbered for
// the keyboard, rebuilt whenever it opens; the last item empties the list.
class RecentFilesMenu : public QObject {
    Q_OBJECT
  public:
    RecentFilesMenu(QMenu* menu, RecentFiles& files, std::function<void(const QString&)> opener);

    // Rebuilds the items from the list (also done each time the menu is about to show).
    void rebuild();

  private:
    QMenu* menu_;
    RecentFiles& files_;
    std::function<void(const QString&)> opener_;
};

} // namespace kx
