// The main window's timeline under the map, its event list pane and the replay keys: Left and
// Right one event, with Shift ten, Home the first event, End the last, Space the slide show.
#include "main_window.h"

#include "event_dock.h"
#include "timeline_bar.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace kx {

namespace {

// Controls that take typed text keep every key; the replay keys are theirs there.
bool takesTyping(const QWidget* widget) {
    if (!widget)
        return false;
    if (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget) ||
        qobject_cast<const QComboBox*>(widget))
        return true;
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(widget))
        return !text->isReadOnly();
    if (const auto* text = qobject_cast<const QTextEdit*>(widget))
        return !text->isReadOnly();
    return false;
}

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
    case QEvent::KeyPress: {
        // The window's own controls and the event list, also when it floats on its own.
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && (widget->window() == this || widget->window() == eventDock_))
            return replayKeyPressed(static_cast<QKeyEvent*>(event));
        break;
    }
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
    if (takesTyping(QApplication::focusWidget()))
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
