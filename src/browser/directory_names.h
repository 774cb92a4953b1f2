#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

namespace kx {

// The names of the subdirectories of `path` that a directory outline lists: never one whose
// name begins with '.', never a file. They stand in ascending order compared without regard
// to case by the locale; names equal that way follow the case-sensitive comparison. A
// directory that cannot be read has none.
QStringList subdirectoryNames(const QString& path, const QLocale& locale = QLocale());

} // namespace kx
