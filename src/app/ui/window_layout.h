#pragma once

class QMainWindow;
class QSettings;

namespace kx {

// The main window's size, position and dock layout between runs, under "window/…" in the
// settings. Without a stored layout, or with one that Qt rejects (another version, a
// hand-edited file), the window keeps its size as built and is centred on the screen.
void restoreWindowLayout(QMainWindow& window, QSettings& settings);
void saveWindowLayout(const QMainWindow& window, QSettings& settings);

} // namespace kx
