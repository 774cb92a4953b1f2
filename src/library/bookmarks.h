#pragma once

#include "bookmark.h"

#include <QString>

#include <vector>

namespace kx {

// The user's bookmarks, kept per record by its content hash, never in the record file: in the
// record library when it exists, otherwise in a small JSON file in the user's data folder. A
// list merges both, so that bookmarks made before the library was created stay.
class Bookmarks {
  public:
    // The default library file and bookmark file unless given (tests give their own).
    explicit Bookmarks(QString libraryFile = {}, QString file = {});

    std::vector<Bookmark> list(const QString& hash);
    // Adds a bookmark, or renames the one at its event.
    bool set(const QString& hash, const Bookmark& bookmark);
    bool remove(const QString& hash, int32_t event);
    // Why the last change failed.
    QString lastError() const { return lastError_; }

  private:
    bool libraryExists() const;
    // Removes the bookmark from the file alone.
    bool removeFromFile(const QString& hash, int32_t event);

    QString libraryFile_;
    QString file_;
    QString lastError_;
};

// The bookmark file beside the default library.
QString defaultBookmarkFile();

} // namespace kx
