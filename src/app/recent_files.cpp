#include "recent_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace kx {

namespace {

const QString kKey = QStringLiteral("recentFiles");

QString normalised(const QString& path) {
    return path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

RecentFiles::RecentFiles(QSettings* settings) : settings_(settings) {
    if (!settings_)
        return;
    // Hand-edited settings may hold anything: keep the first ten distinct non-empty paths.
    for (const QString& stored : settings_->value(kKey).toStringList()) {
        const QString path = normalised(stored);
        if (!path.isEmpty() && !paths_.contains(path) && paths_.size() < kMaxEntries)
            paths_.append(path);
    }
}

void RecentFiles::add(const QString& path) {
    const QString entry = normalised(path);
    if (entry.isEmpty())
        return;
    paths_.removeAll(entry);
    paths_.prepend(entry);
    while (paths_.size() > kMaxEntries)
        paths_.removeLast();
    save();
}

void RecentFiles::remove(const QString& path) {
    if (paths_.removeAll(normalised(path)) > 0)
        save();
}

void RecentFiles::clear() {
    paths_.clear();
    save();
}

void RecentFiles::save() {
    if (!settings_)
        return;
    // An unwritable settings file leaves the list to this run; nothing else depends on it.
    settings_->setValue(kKey, paths_);
    settings_->sync();
}

} // namespace kx
