#pragma once

#include <QString>

namespace kx {

// The path of `name` inside the directory `parent` ("/" + "home" is "/home"). Joined by hand:
// QDir::filePath takes a name beginning with ':' for a resource path and drops the directory.
QString childPath(const QString& parent, const QString& name);

} // namespace kx
