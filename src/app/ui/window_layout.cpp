#include "window_layout.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>

namespace kx {

namespace {

const QString kGeometryKey = QStringLiteral("window/geometry");
const QString kStateKey = QStringLiteral("window/state");
constexpr int kLayoutVersion = 1; // raise when the docks change in a way old layouts break

} // namespace

void restoreWindowLayout(QMainWindow& window, QSettings& settings) {
    const QByteArray geometry = settings.value(kGeometryKey).toByteArray();
    if (geometry.isEmpty() || !window.restoreGeometry(geometry)) {
        // As built, centred on the screen.
        const QScreen* screen =
            window.screen() ? window.screen() : QGuiApplication::primaryScreen();
        if (screen) {
            QRect placed(QPoint(), window.size());
            placed.moveCenter(screen->availableGeometry().center());
            window.move(placed.topLeft());
        }
    }
    const QByteArray state = settings.value(kStateKey).toByteArray();
    if (!state.isEmpty())
        window.restoreState(state, kLayoutVersion);
}

void saveWindowLayout(const QMainWindow& window, QSettings& settings) {
    settings.setValue(kGeometryKey, window.saveGeometry());
    settings.setValue(kStateKey, window.saveState(kLayoutVersion));
    settings.sync();
}

} // namespace kx
