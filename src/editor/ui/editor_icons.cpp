#include "editor_icons.h"

#include "editor/map_editor.h"
#include "mapview/ui/map_icons.h"
#include "widgets/icon_pixmap_cache.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>

#include <array>

namespace kx {

namespace {

// Map icons of the same grounds: blank tile, grass, swamp, rock.
constexpr std::array<int, 4> kGroundIcons = {0, 2, 3, 4};

// A large A filling the middle of the tile, drawn as two strokes and a bar.
QPainterPath letterA() {
    const QRectF box(4.6, 3.8, 10.8, 12.4);
    QPainterPath path;
    path.moveTo(box.left(), box.bottom());
    path.lineTo(box.center().x(), box.top());
    path.lineTo(box.right(), box.bottom());
    const double bar = box.top() + box.height() * 0.64;
    const double inset = box.width() * 0.16;
    path.moveTo(box.left() + inset, bar);
    path.lineTo(box.right() - inset, bar);
    return path;
}

void unitsMark(QPainter& p) {
    const QPainterPath path = letterA();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 236, 190), 4.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(Qt::black, 2.4, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
    p.drawPath(path);
}

} // namespace

QImage renderEditorIcon(int index, qreal devicePixelRatio) {
    if (index < 0 || index >= kEditorIconCount)
        index = 0;
    const int ground = index >= 4 ? index - 3 : index;
    QImage image = renderMapIcon(kGroundIcons[static_cast<size_t>(ground)], devicePixelRatio);
    if (index >= 4) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        unitsMark(painter);
    }
    return image;
}

const QPixmap& editorIconPixmap(int index, qreal devicePixelRatio) {
    return cachedIconPixmap<kEditorIconCount, renderEditorIcon>(index, devicePixelRatio);
}

} // namespace kx
