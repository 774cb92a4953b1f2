#pragma once

#include "map_renderer.h"
#include "world_cells.h"

#include "records/world.h"

#include <QFont>
#include <QPalette>
#include <QPixmap>
#include <QString>

#include <array>
#include <functional>
#include <memory>

namespace kx {

class ReplaySession;

// The whole map in the session's current view, headers included, at a zoom, taken apart from
// the session: it keeps a copy of the world and icons of its own, so that it can be drawn and
// written on another thread while the window goes on.
class MapPicture {
  public:
    // Strips of at most this many bytes are drawn and written at a time, whatever the map.
    static constexpr qsizetype kStripBytes = qsizetype{16} << 20;

    // Told the share done in per cent; returning false cancels.
    using Progress = std::function<bool(int percent)>;

    // Made on the thread of the window (icons are drawn there). A session without a world
    // gives a null picture.
    MapPicture(const ReplaySession& session, const QPalette& palette, const QFont& font, int zoom);
    ~MapPicture();
    MapPicture(const MapPicture&) = delete;
    MapPicture& operator=(const MapPicture&) = delete;

    bool isNull() const { return !cells_; }
    QSize size() const;

    // Writes the picture as a PNG file, drawn and encoded in strips of at most `stripBytes`.
    // Returns an empty text on success, else the reason; a failed or cancelled write leaves no
    // file and an existing one as it was. May run on any thread, once at a time.
    QString writePng(const QString& path, const Progress& progress = {},
                     qsizetype stripBytes = kStripBytes) const;

    // The text writePng gives when it is cancelled.
    static QString cancelledText();

  private:
    class Cells;

    World world_;
    std::unique_ptr<Cells> cells_;
    MapLook look_;
    int zoom_;
};

} // namespace kx
