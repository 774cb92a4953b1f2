#include "map_picture.h"

#include "own_icon_cells.h"
#include "session_map_source.h"

#include "mapview/map_zoom.h"
#include "replay/session.h"
#include "widgets/png_stream_writer.h"

#include <QDir>
#include <QPainter>

#include <algorithm>

namespace kx {

// The world's cells with icons drawn for this picture alone.
class MapPicture::Cells : public OwnIconCells {
  public:
    using OwnIconCells::OwnIconCells;
};

MapPicture::MapPicture(const ReplaySession& session, const QPalette& palette, const QFont& font,
                       int zoom)
    : world_(session.state().world), zoom_(clampZoom(zoom)) {
    const QSize gridSize(session.state().mapColumns, session.state().mapRows);
    if (!world_.gridAllocated || gridSize.width() <= 1 || gridSize.height() <= 1)
        return;
    look_ = mapLookAt(palette, font, zoom_);
    cells_ = std::make_unique<Cells>(world_, gridSize, iconContextOf(session),
                                     qreal(cellSizeAt(zoom_)) / MapRenderer::kCellSize);
}

MapPicture::~MapPicture() = default;

QSize MapPicture::size() const {
    if (!cells_)
        return {};
    MapRenderer renderer(*cells_);
    renderer.setZoom(zoom_);
    return renderer.size();
}

QString MapPicture::cancelledText() {
    return QString::fromUtf8("Ukládání mapy bylo zrušeno.");
}

QString MapPicture::writePng(const QString& path, const Progress& progress,
                             qsizetype stripBytes) const {
    if (!cells_)
        return QString::fromUtf8("Není otevřen žádný záznam, mapu nelze uložit.");
    MapRenderer renderer(*cells_, look_);
    renderer.setZoom(zoom_);
    const QSize whole = renderer.size();
    const int stripRows =
        int(std::clamp<qsizetype>(stripBytes / (qsizetype(whole.width()) * 4), 1, whole.height()));
    PngStreamWriter writer;
    bool written = writer.open(path, whole.width(), whole.height());
    for (int top = 0; written && top < whole.height(); top += stripRows) {
        if (progress && !progress(int(qint64(top) * 100 / whole.height())))
            return cancelledText();
        QImage strip(whole.width(), std::min(stripRows, whole.height() - top),
                     QImage::Format_RGB32);
        {
            QPainter painter(&strip);
            painter.translate(0, -top);
            renderer.draw(painter, QRect(0, top, strip.width(), strip.height()));
        }
        written = writer.write(strip);
    }
    if (written)
        written = writer.finish();
    if (!written)
        return QString::fromUtf8("Mapu nelze uložit do souboru %1: %2")
            .arg(QDir::toNativeSeparators(path), writer.errorString());
    if (progress)
        progress(100);
    return {};
}

} // namespace kx
