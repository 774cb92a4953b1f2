#include "file_path.h"

namespace kx {

QString childPath(const QString& parent, const QString& name) {
    return parent.endsWith(QLatin1Char('/')) ? parent + name : parent + QLatin1Char('/') + name;
}

} // namespace kx
