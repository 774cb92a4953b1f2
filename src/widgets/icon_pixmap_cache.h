#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>

#include <array>
#include <map>

namespace kx {

// Picture `index` (0 to Count - 1; anything else is 0) as a pixmap for painting, drawn by
// Render once per device pixel ratio and kept. The pixmaps are released when the
// application ends, before the painting system goes, and never by static destruction.
template <int Count, QImage (*Render)(int, qreal)>
const QPixmap& cachedIconPixmap(int index, qreal devicePixelRatio) {
    using Sets = std::map<qreal, std::array<QPixmap, Count>>;
    static Sets* sets = nullptr;
    if (!sets) {
        sets = new Sets;
        qAddPostRoutine([] {
            delete sets;
            sets = nullptr;
        });
    }
    if (index < 0 || index >= Count)
        index = 0;
    QPixmap& pixmap = (*sets)[devicePixelRatio][static_cast<size_t>(index)];
    if (pixmap.isNull())
        pixmap = QPixmap::fromImage(Render(index, devicePixelRatio));
    return pixmap;
}

} // namespace kx
