#include "bookmarks.h"

#include "library.h"

#include "records/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <map>

namespace kx {

namespace {

// The bookmark file: {"records": {hash: [{"event": n, "note": text}, …]}}. A file that is
// not such JSON gives nullopt and is never written over.
std::optional<QJsonObject> readFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.exists())
        return QJsonObject();
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QString::fromUtf8("Soubor záložek nelze číst:\n%1\n%2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        return std::nullopt;
    }
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parse);
    if (parse.error != QJsonParseError::NoError || !document.isObject()) {
        *error = QString::fromUtf8("Soubor záložek je poškozen a nebyl změněn:\n%1")
                     .arg(QDir::toNativeSeparators(path));
        return std::nullopt;
    }
    return document.object();
}

bool writeFile(const QString& path, const QJsonObject& root, QString* error) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString failure =
        writeFileAtomically(path, QJsonDocument(root).toJson(QJsonDocument::Indented));
    if (!failure.isEmpty()) {
        *error = QString::fromUtf8("Záložky nelze uložit:\n%1\n%2")
                     .arg(QDir::toNativeSeparators(path), failure);
        return false;
    }
    return true;
}

std::vector<Bookmark> bookmarksIn(const QJsonObject& root, const QString& hash) {
    std::vector<Bookmark> result;
    for (const QJsonValue value :
         root.value(QLatin1String("records")).toObject().value(hash).toArray()) {
        const QJsonObject item = value.toObject();
        if (item.value(QLatin1String("event")).isDouble())
            result.push_back({item.value(QLatin1String("event")).toInt(),
                              item.value(QLatin1String("note")).toString()});
    }
    return result;
}

// Replaces the record's list in the file (removing the record when the list is empty).
void putBookmarks(QJsonObject& root, const QString& hash, const std::vector<Bookmark>& list) {
    QJsonObject records = root.value(QLatin1String("records")).toObject();
    if (list.empty()) {
        records.remove(hash);
    } else {
        QJsonArray array;
        for (const Bookmark& b : list)
            array.append(
                QJsonObject{{QStringLiteral("event"), b.event}, {QStringLiteral("note"), b.note}});
        records.insert(hash, array);
    }
    root.insert(QStringLiteral("records"), records);
}

std::unique_ptr<Library> openLibraryFile(const QString& path, QString* error) {
    LibraryLocation location;
    location.file = path;
    return Library::open(location, error);
}

} // namespace

QString defaultBookmarkFile() {
    return QFileInfo(defaultLibraryFile()).absolutePath() + QStringLiteral("/bookmarks.json");
}

Bookmarks::Bookmarks(QString libraryFile, QString file)
    : libraryFile_(libraryFile.isEmpty() ? defaultLibraryFile() : std::move(libraryFile)),
      file_(file.isEmpty() ? defaultBookmarkFile() : std::move(file)) {}

bool Bookmarks::libraryExists() const {
    return QFileInfo(libraryFile_).isFile();
}

std::vector<Bookmark> Bookmarks::list(const QString& hash) {
    std::map<int32_t, QString> merged;
    QString error;
    if (const auto root = readFile(file_, &error))
        for (const Bookmark& b : bookmarksIn(*root, hash))
            merged[b.event] = b.note;
    if (libraryExists())
        if (const auto library = openLibraryFile(libraryFile_, &error))
            for (const Bookmark& b : library->bookmarks(hash))
                merged[b.event] = b.note; // the library's note is the newer one
    std::vector<Bookmark> result;
    result.reserve(merged.size());
    for (const auto& [event, note] : merged)
        result.push_back({event, note});
    return result;
}

bool Bookmarks::set(const QString& hash, const Bookmark& bookmark) {
    lastError_.clear();
    if (libraryExists()) {
        std::unique_ptr<Library> library = openLibraryFile(libraryFile_, &lastError_);
        if (!library)
            return false;
        if (!library->setBookmark(hash, bookmark)) {
            lastError_ = library->lastError();
            return false;
        }
        // A note of the same event in the file would come back when the library's is removed.
        return removeFromFile(hash, bookmark.event);
    }
    std::optional<QJsonObject> root = readFile(file_, &lastError_);
    if (!root)
        return false;
    std::vector<Bookmark> list = bookmarksIn(*root, hash);
    auto at = std::find_if(list.begin(), list.end(),
                           [&](const Bookmark& b) { return b.event == bookmark.event; });
    if (at != list.end())
        at->note = bookmark.note;
    else
        list.push_back(bookmark);
    std::sort(list.begin(), list.end(),
              [](const Bookmark& a, const Bookmark& b) { return a.event < b.event; });
    putBookmarks(*root, hash, list);
    return writeFile(file_, *root, &lastError_);
}

bool Bookmarks::remove(const QString& hash, int32_t event) {
    lastError_.clear();
    if (libraryExists()) {
        std::unique_ptr<Library> library = openLibraryFile(libraryFile_, &lastError_);
        if (!library)
            return false;
        if (!library->removeBookmark(hash, event)) {
            lastError_ = library->lastError();
            return false;
        }
    }
    return removeFromFile(hash, event);
}

bool Bookmarks::removeFromFile(const QString& hash, int32_t event) {
    if (!QFileInfo::exists(file_))
        return true;
    std::optional<QJsonObject> root = readFile(file_, &lastError_);
    if (!root)
        return false;
    std::vector<Bookmark> list = bookmarksIn(*root, hash);
    const auto kept = std::remove_if(list.begin(), list.end(),
                                     [&](const Bookmark& b) { return b.event == event; });
    if (kept == list.end())
        return true;
    list.erase(kept, list.end());
    putBookmarks(*root, hash, list);
    return writeFile(file_, *root, &lastError_);
}

} // namespace kx
