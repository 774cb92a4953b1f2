#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace kx {

// The records opened last, newest first, kept in the settings under "recentFiles" so that the
// list outlives the program. Paths are stored absolute and cleaned, each once.
class RecentFiles {
  public:
    static constexpr int kMaxEntries = 10;

    // Reads the list from `settings` (which must outlive this object); without settings the
    // list lives only as long as the object does.
    explicit RecentFiles(QSettings* settings = nullptr);

    const QStringList& paths() const { return paths_; }

    // Puts `path` at the top, dropping its older entry and whatever falls past the tenth.
    void add(const QString& path);
    void remove(const QString& path);
    void clear();

  private:
    void save();

    QSettings* settings_;
    QStringList paths_;
};

} // namespace kx
