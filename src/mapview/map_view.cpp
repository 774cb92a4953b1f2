#include "map_view.h"

namespace kx {

QString mapViewName(MapView view) {
    switch (view) {
    case MapView::All:
        return QString::fromUtf8("Vše");
    case MapView::Louka:
        return QStringLiteral("Louka");
    case MapView::Les:
        return QStringLiteral("Les");
    case MapView::Preview:
        return QString::fromUtf8("Náhled");
    }
    return QString();
}

} // namespace kx
