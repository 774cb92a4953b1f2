// The main window's timeline under the map, its event list pane and the replay keys: Left and
// Right one event, with Shift ten, Home the first event, End the last, Space the slide show.
// The replay keys are the map's, the timeline's and the window's: another focused control
// keeps the keys it uses, and those it leaves reach the window.
#include "main_window.h"

#include "replay/ui/event_dock.h"
#include "replay/ui/timeline_bar.h"

#include "mapview/ui/map_grid.h"

#include <QAction>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace kx {

namespace {

// Safety net: a step that paints nothing must not hold off repeated keys for good.
constexpr int kKeyStepTimeoutMs = 250;

} // namespace

QWidget* TFMain::buildTimeline(QWidget* mapArea) {
    timeline_ = new TimelineBar(session_);
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mapArea, 1);
    layout->addWidget(timeline_);
    connect(timeline_, &TimelineBar::jumpRequested, this, &TFMain::jumpTo);

    keyStepTimeout_ = new QTimer(this);
    keyStepTimeout_->setSingleShot(true);
    keyStepTimeout_->setInterval(kKeyStepTimeoutMs);
    connect(keyStepTimeout_, &QTimer::timeout, this, [this] { keyStepPending_ = false; });
    return column;
}

void TFMain::buildEventDock() {
    eventDock_ = new EventDock(session_, this);
    addDockWidget(Qt::BottomDockWidgetArea, eventDock_);
    eventDock_->hide();
    connect(eventDock_, &EventDock::jumpRequested, this, &TFMain::jumpTo);
    connect(eventDock_, &QDockWidget::visibilityChanged, this, &TFMain::eventDockVisibilityChanged);
}

void TFMain::eventDockVisibilityChanged(bool visible) {
    if (!isVisible() || eventDock_->isFloating())
        return;
    if (visible) {
        // The window has grown as far as the list's few rows need, if at all: that growth
        // stays on the screen. The list's usual height comes out of the map.
        const QScreen* screen = this->screen();
        if (screen && height() > sizeWithoutEventDock_.height()) {
            const QRect room = screen->availableGeometry();
            const int below = frameGeometry().bottom() - room.bottom();
            if (below > 0)
                move(x(), std::max(room.top(), y() - below));
        }
        resizeDocks({eventDock_}, {eventDock_->preferredHeight()}, Qt::Vertical);
    } else if (size() == sizeWithoutEventDock_.expandedTo(minimumSize())) {
        // The list's room goes back to the map, and a window the list made grow (and that has
        // not been resized since) shrinks back.
        layout()->invalidate(); // the minimum size without the list, now
        layout()->activate();
        resize(sizeWithoutEventDock_);
    }
}

void TFMain::addViewMenuItems(QMenu* menu) {
    menu->addSeparator();
    QAction* events = eventDock_->toggleViewAction();
    events->setText(QString::fromUtf8("&Seznam událostí"));
    events->setObjectName(QStringLiteral("mmUtilEvents"));
    events->setShortcut(QKeySequence(Qt::Key_F6));
    menu->addAction(events);
    QAction* charts = menu->addAction(QString::fromUtf8("&Grafy…"));
    charts->setObjectName(QStringLiteral("mmUtilCharts"));
    connect(charts, &QAction::triggered, this, [this] { showModal(charts_); });
}

void TFMain::jumpTo(int32_t eventIndex) {
    session_.jumpTo(eventIndex);
    afterAction();
}

bool TFMain::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        // The map, the summary in its place and the timeline use none of these keys
        // themselves. Keys that reach the window are taken in keyPressEvent.
        if (inReplayKeyArea(qobject_cast<QWidget*>(watched)))
            return replayKeyPressed(static_cast<QKeyEvent*>(event));
        break;
    case QEvent::Resize:
        if (watched == gbPlayers_)
            refreshPlayersTitle();
        // Showing the docked list may make the window grow before it tells it is shown.
        else if (watched == this && (eventDock_->isHidden() || eventDock_->isFloating()))
            sizeWithoutEventDock_ = size();
        break;
    case QEvent::Paint:
        // The window paints what the last key's step changed: the next repeat may step.
        if (keyStepPending_) {
            const auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && widget->window() == this) {
                keyStepPending_ = false;
                keyStepTimeout_->stop();
            }
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TFMain::inReplayKeyArea(const QWidget* widget) const {
    if (!widget)
        return false;
    for (const QWidget* area :
         {static_cast<const QWidget*>(dgMap_), static_cast<const QWidget*>(mRes_),
          static_cast<const QWidget*>(timeline_)})
        if (widget == area || area->isAncestorOf(widget))
            return true;
    return false;
}

bool TFMain::replayKeyPressed(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool shift = modifiers == Qt::ShiftModifier;
    if (modifiers != Qt::NoModifier && !shift)
        return false;
    const int key = event->key();
    const bool arrow = key == Qt::Key_Left || key == Qt::Key_Right;
    const bool plain = key == Qt::Key_Home || key == Qt::Key_End || key == Qt::Key_Space;
    if (!(arrow || (plain && !shift)))
        return false;
    // A held key repeats faster than a long step paints: repeats wait for the paint.
    if (event->isAutoRepeat() && keyStepPending_)
        return true;
    switch (key) {
    case Qt::Key_Left:
        shift ? session_.Button7Click() : session_.Button6Click();
        break;
    case Qt::Key_Right:
        shift ? session_.Button2Click() : session_.Button1Click();
        break;
    case Qt::Key_Home:
        session_.jumpTo(session_.firstEventIndex());
        break;
    case Qt::Key_End:
        session_.jumpTo(session_.eventCount() - 1);
        break;
    case Qt::Key_Space:
        session_.state().slideShowEnabled ? session_.Button5Click() : session_.Button4Click();
        break;
    default:
        break;
    }
    keyStepPending_ = true;
    keyStepTimeout_->start();
    afterAction();
    return true;
}

} // namespace kx
