#include "map_image.h"

#include "map_grid.h"
#include "map_icons.h"

#include "records/cell_address.h"
#include "replay/session.h"

#include <QFontMetrics>
#include <QPainter>

namespace kx {

namespace {

constexpr int kCell = MapGrid::kCellSize;

} // namespace

IconContext iconContextOf(const ReplaySession& session) {
    IconContext context;
    const World& world = session.state().world;
    context.viewFilter = mapViewAt(world.viewFilter).value_or(MapView::All);
    context.viewItem = session.viewItem();
    context.highlightFields = session.highlightFields();
    context.hideHq = session.hideHq();
    context.highlightOwner = world.highlightOwner;
    return context;
}

void drawMapHeaderText(QPainter& painter, const QRect& cell, const QString& text,
                       const QFont& narrowFont) {
    const bool narrow = painter.fontMetrics().horizontalAdvance(text) > kCell - 2;
    if (narrow) {
        painter.save();
        painter.setFont(narrowFont);
    }
    painter.drawText(cell, Qt::AlignCenter, text);
    if (narrow)
        painter.restore();
}

QFont narrowHeaderFont(const QFont& font) {
    QFont narrow = font;
    narrow.setStretch(QFont::Condensed);
    for (int i = 0; i < 4 && QFontMetrics(narrow).horizontalAdvance("000") > kCell - 2; ++i) {
        const qreal size = narrow.pointSizeF();
        if (size > 0)
            narrow.setPointSizeF(size - 0.5);
        else
            narrow.setPixelSize(std::max(6, narrow.pixelSize() - 1));
    }
    return narrow;
}

QImage renderMapImage(const ReplaySession& session, const QPalette& palette, const QFont& font) {
    const World& world = session.state().world;
    const int columns = session.state().mapColumns;
    const int rows = session.state().mapRows;
    if (!world.gridAllocated || columns <= 1 || rows <= 1)
        return {};
    QImage image(columns * kCell, rows * kCell, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setFont(font);

    const IconContext context = iconContextOf(session);
    for (int column = 1; column < columns; ++column) {
        for (int row = 1; row < rows; ++row) {
            const int icon = cellIcon(world, column - 1, row - 1, context);
            painter.drawPixmap(column * kCell, row * kCell, mapIcon(icon, 1.0));
        }
    }

    const QFont narrow = narrowHeaderFont(font);
    painter.fillRect(0, 0, image.width(), kCell, palette.color(QPalette::Button));
    painter.fillRect(0, 0, kCell, image.height(), palette.color(QPalette::Button));
    painter.setPen(palette.color(QPalette::WindowText));
    for (int column = 1; column < columns; ++column)
        drawMapHeaderText(painter, QRect(column * kCell, 0, kCell, kCell), columnName(column - 1),
                          narrow);
    for (int row = 1; row < rows; ++row)
        drawMapHeaderText(painter, QRect(0, row * kCell, kCell, kCell), QString::number(row - 1),
                          narrow);
    return image;
}

} // namespace kx
