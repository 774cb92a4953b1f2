#pragma once

class QMainWindow;
class QSettings;

namespace kx {

// The main window's size, position and dock layout between runs, under "window/…" in the
// settings. A stored layout that Qt rejects (another version, a hand-edited file) leaves the
// window as built.
void restoreWindowLayout(QMainWindow& window, QSettings& settings);
void saveWindowLayout(const QMainWindow& window, QSettings& settings);

} // namespace kx
