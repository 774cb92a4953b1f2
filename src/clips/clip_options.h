#pragma once

#include "mapview/map_view.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace kx {

// What a clip's file holds, chosen by its name's extension.
enum class ClipFormat { Mp4, WebM, Gif, WebP };

// The format of an output name ending in .mp4, .webm, .gif or .webp (any letter case).
std::optional<ClipFormat> clipFormatFor(const QString& path);
// The extension of a format, without the dot.
QString clipExtension(ClipFormat format);

// One frame per event, or one per game hour (the last event of each hour, the range's ends
// always included).
enum class FramePace { Event, Hour };

// Everything a picture or clip is drawn with besides the record.
struct ClipSettings {
    int32_t from = 0; // event item indexes, both included, as "Akce i z N" numbers them
    int32_t to = 0;
    FramePace pace = FramePace::Event;
    int fps = 10;
    MapView view = MapView::All;
    int32_t highlightOwner = 0; // player index + 1, 0 for none
    int zoom = 100;             // per cent of the 20-pixel cell
    bool caption = false;       // a caption line and a legend of the players under the map
};

// The longest side of a clip's frame and of a rendered picture, in pixels: a frame is held
// whole (at most 64 MB, a picture 256 MB).
inline constexpr int kMaxClipSide = 4096;
inline constexpr int kMaxPictureSide = 8192;
// Why a frame of `size` is too large for a side of at most `limit`; empty when it is not.
QString frameSizeError(QSize size, int limit);

inline constexpr int kClipFpsMin = 1;
inline constexpr int kClipFpsMax = 60;

// A view by its command-line name: all, louka, les or nahled.
std::optional<MapView> mapViewNamed(const QString& name);
// A scale given as a factor of the 20-pixel cell ("1", "0.5", "2.5") as a zoom in per cent:
// nothing unless it is a zoom the map has (25 % to 400 % in steps of 5 %).
std::optional<int> zoomOfScale(const QString& scale);
// The owner (player index + 1) of a player named as the player list shows it, "name (team)",
// or by the name alone; nothing when no player or more than one has that name.
std::optional<int32_t> playerOwnerNamed(const QStringList& players, const QString& name);

// Why events `from` to `to` cannot be a clip of a record whose events are items `first` to
// `count` - 1; empty when they can.
QString clipRangeError(int32_t from, int32_t to, int32_t first, int32_t count);

} // namespace kx
