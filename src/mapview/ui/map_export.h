#pragma once

#include <QString>

class QWidget;

namespace kx {

class ReplaySession;
class UserMessages;

// Writes the whole map in its current view as a PNG picture (the grid's palette and font for
// the headers). Returns an empty text on success, else the message to show.
QString saveMapPicture(const ReplaySession& session, const QString& path, const QWidget& style);

// Asks where to save the map and saves it, reporting a failure through `messages`.
void exportMapPicture(QWidget& parent, const ReplaySession& session, UserMessages& messages);

} // namespace kx
