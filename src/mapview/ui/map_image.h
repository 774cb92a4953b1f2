#pragma once

#include <QFont>
#include <QImage>
#include <QPalette>

namespace kx {

class ReplaySession;

// The whole map as the grid shows it in the current view, headers included, whatever part of
// it is scrolled into the window. A null image when no world is built.
QImage renderMapImage(const ReplaySession& session, const QPalette& palette, const QFont& font);

} // namespace kx
