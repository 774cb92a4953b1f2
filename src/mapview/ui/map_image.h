#pragma once

#include "mapview/icon_choice.h"

#include <QFont>
#include <QImage>
#include <QPalette>
#include <QString>

class QPainter;

namespace kx {

class ReplaySession;

// How the session's current view, highlight and HQ switch choose the icons.
IconContext iconContextOf(const ReplaySession& session);

// A header text centred in its cell, in `narrowFont` when the painter's font would spill over.
void drawMapHeaderText(QPainter& painter, const QRect& cell, const QString& text,
                       const QFont& narrowFont);

// A face narrow enough for three-digit row numbers in a cell.
QFont narrowHeaderFont(const QFont& font);

// The whole map as the grid shows it in the current view, headers included, whatever part of
// it is scrolled into the window. A null image when no world is built.
QImage renderMapImage(const ReplaySession& session, const QPalette& palette, const QFont& font);

} // namespace kx
