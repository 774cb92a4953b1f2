#include "preview_icons.h"

#include "editor/map_editor.h"
#include "mapview/ui/map_icons.h"
#include "widgets/icon_pixmap_cache.h"

#include <QPainter>

namespace kx {

namespace {

// The viewer's pictures of impassable ground and of free grass, swamp and rock.
constexpr int kGroundIcons[] = {0, 2, 3, 4};
// Its pictures of held grass, swamp and rock with units: the corner mark is taken from them.
constexpr int kUnitIcons[] = {11, 12, 13};
// Where that mark lies on the picture, inside the field's frame.
constexpr QRect kUnitMark(11, 11, 8, 8);

} // namespace

QImage renderPreviewIcon(int index, qreal devicePixelRatio) {
    if (index < 0 || index >= kEditorIconCount)
        index = 0;
    const int ground = index >= 4 ? index - 3 : index;
    QImage image = renderMapIcon(kGroundIcons[ground], devicePixelRatio);
    if (index >= 4) {
        const QImage units = renderMapIcon(kUnitIcons[index - 4], devicePixelRatio);
        const QRect source(kUnitMark.topLeft() * devicePixelRatio,
                           kUnitMark.size() * devicePixelRatio);
        QPainter painter(&image);
        painter.drawImage(QRectF(kUnitMark), units, QRectF(source));
    }
    return image;
}

const QPixmap& previewIconPixmap(int index, qreal devicePixelRatio) {
    return cachedIconPixmap<kEditorIconCount, renderPreviewIcon>(index, devicePixelRatio);
}

} // namespace kx
