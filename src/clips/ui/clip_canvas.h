#pragma once

#include "clips/clip_options.h"
#include "mapview/ui/map_renderer.h"
#include "mapview/ui/own_icon_cells.h"

#include <QFont>
#include <QImage>
#include <QPalette>
#include <QStringList>

#include <vector>

namespace kx {

// Draws a clip's frames: the map of a world in a view at a zoom, drawn by the window's map
// renderer, and under it, when asked, a caption line and a legend of the players. The first
// frame is drawn whole; later ones redraw only the cells whose icons changed, which gives the
// same picture. Made on the window's thread (its icons are drawn there); draws on any thread.
class ClipCanvas {
  public:
    // `world` is the one the frames show; it must outlive the canvas and may change between
    // frames. `players` names the legend's players ("name (team)" per player index).
    ClipCanvas(const World& world, QSize gridSize, const QStringList& players,
               const ClipSettings& settings, const QPalette& palette, const QFont& font,
               bool evenSize = false, int largestSide = kMaxClipSide);

    QSize size() const { return size_; }
    // A frame larger than the largest side asked is not drawn: frameSizeError(size()) says why.
    // The frame of the world as it is now, with `caption` under the map when captions are on.
    const QImage& draw(const QString& caption = {});
    // The next frame is drawn whole.
    void forgetDrawn() { icons_.clear(); }
    // Every colour a frame may show: the icons, the headers' colours, the first frame.
    QImage paletteSample();

  private:
    void drawCaption(const QString& caption);
    void drawLegend(QPainter& painter, QRect area) const;

    OwnIconCells cells_;
    MapLook look_;
    MapRenderer renderer_;
    QStringList players_;
    QFont textFont_;
    int32_t highlightOwner_;
    bool caption_;
    int lineHeight_ = 0;
    QSize size_;
    QImage image_;
    std::vector<int> icons_; // per body cell as last drawn; empty before the first frame
};

// The icon context of a clip's settings.
IconContext clipIconContext(const ClipSettings& settings);

} // namespace kx
