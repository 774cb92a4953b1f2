#pragma once

#include "mapview/map_zoom.h"

#include <QSize>
#include <QString>
#include <QStringList>

class QWidget;

namespace kx {

class ReplaySession;
class UserMessages;

// Writes the whole map in its current view as a PNG picture at a zoom (the grid's palette and
// font for the headers), in strips. Returns an empty text on success, else the message to
// show.
QString saveMapPicture(const ReplaySession& session, const QString& path, const QWidget& style,
                       int zoom = kZoomDefault);

// The scales offered for a map of `size` pixels at 100 %: every step of the zoom ladder, with
// the picture's size; `preferred` is set to the largest up to 100 % whose longer side stays
// within kPreferredPictureSide (else the smallest).
inline constexpr int kPreferredPictureSide = 8192;
struct PictureScales {
    QList<int> zooms;
    QStringList texts;
    int preferred = 0;
};
PictureScales pictureScales(const ReplaySession& session);

// Asks for a scale and where to save the map, and saves it on another thread behind a
// progress dialog that can cancel; a failure is reported through `messages`.
void exportMapPicture(QWidget& parent, const ReplaySession& session, UserMessages& messages);

} // namespace kx
