#include "viewer_user.h"

#include "app/ui/main_window.h"
#include "mapview/ui/map_grid.h"
#include "replay/ui/timeline_bar.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace kx::soak {

namespace {

// The farthest a jump back on the timeline goes: the user looks at the recent past.
constexpr int32_t kFarBack = 100'000;
// Rows the event list's scroll bar moves back at each warm-up step, and the steps: more rows
// than the list keeps sentences for.
constexpr int kListWarmUpStride = 200;
constexpr int kListWarmUpSteps = 120;
// More zoom steps than the map has between its smallest and largest zoom.
constexpr int kZoomSteps = 16;

template <typename T> T* control(TFMain& window, const char* name) {
    T* found = window.findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("the main window has no control %s", name);
    return found;
}

} // namespace

ViewerUser::ViewerUser(TFMain& window, uint32_t seed)
    : QObject(&window), window_(window), random_(seed), pause_(new QTimer(this)),
      slajd_(control<QTimer>(window, "slajd")) {
    pause_->setSingleShot(true);
    connect(pause_, &QTimer::timeout, this, &ViewerUser::act);
    // Connected after the window's own handler: counts the step the tick has just shown.
    connect(slajd_, &QTimer::timeout, this, &ViewerUser::slideTick);
}

void ViewerUser::start(int pauseMs) {
    pauseMs_ = std::max(2, pauseMs);
    control<QAction>(window_, "mmUtilEvents")->trigger();
    // The bounded caches are filled at once rather than bit by bit over the run, where they
    // would count as growth: every view once, once to the last event and back to the middle on the
    // timeline takes the copies of the world that backward jumps start from, and the event list's
    // scroll bar dragged back over many screens replays the sentences the list keeps.
    const ReplaySession& session = window_.session();
    const int32_t first = session.firstEventIndex();
    dragTimelineTo(session.eventCount() - 1);
    dragTimelineTo(first + (session.eventCount() - first) / 2);
    QScrollBar* list = control<QTableView>(window_, "tvEvents")->verticalScrollBar();
    for (int i = 0; i < kListWarmUpSteps; ++i) {
        list->setValue(list->value() - kListWarmUpStride);
        QCoreApplication::processEvents();
    }
    warmUpViews();
    auto* edit = control<QLineEdit>(window_, "edTime");
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, QStringLiteral("01"));
    clickButton("Button4");
    lastShown_ = window_.session().shownEventIndex();
    pause_->start(pauseMs_);
}

void ViewerUser::stop() {
    pause_->stop();
    clickButton("Button5");
}

void ViewerUser::act() {
    // A jump lets the window handle events while it runs; the user waits for it.
    if (!window_.session().busy()) {
        if (below(2) == 0)
            jumpBack();
        else
            changeView();
        keepSlideShowRunning();
        lastShown_ = window_.session().shownEventIndex();
    }
    pause_->start(pauseMs_ / 2 + below(pauseMs_));
}

void ViewerUser::jumpBack() {
    const ReplaySession& session = window_.session();
    const int32_t before = session.shownEventIndex();
    const int32_t first = session.firstEventIndex();
    if (before <= first)
        return;
    switch (below(4)) {
    case 0:
        clickButton("Button6"); // "< --"
        break;
    case 1:
        clickButton("Button7"); // "<< --"
        break;
    case 2: // an event a little way up the list
        doubleClickEvent(before - 1 - below(std::min(300, before - first)));
        break;
    default: // back on the timeline, now and then forward
        if (below(8) == 0)
            dragTimelineTo(before + below(std::max(1, session.eventCount() - before)));
        else
            dragTimelineTo(before - 1 - below(std::min(kFarBack, before - first)));
        break;
    }
    if (session.shownEventIndex() < before)
        ++jumps_;
    else if (session.shownEventIndex() > before + 1)
        ++forwardJumps_;
}

void ViewerUser::changeView() {
    const Qt::Key upOrDown = below(2) ? Qt::Key_Down : Qt::Key_Up;
    switch (below(7)) {
    case 0: // "Vše", "Louka", "Les", "Náhled"
        QTest::keyClick(control<QComboBox>(window_, "cbView"), upOrDown);
        break;
    case 1:
        QTest::keyClick(control<QComboBox>(window_, "cbPlayers"), upOrDown);
        break;
    case 2:
        control<QCheckBox>(window_, "cbHL")->click();
        break;
    case 3:
        control<QCheckBox>(window_, "cbHH")->click();
        break;
    case 4: {
        static const char* const kZoomItems[] = {"mmViewZoomIn",    "mmViewZoomIn",
                                                 "mmViewZoomOut",   "mmViewZoomOut",
                                                 "mmViewZoomReset", "mmViewZoomFit"};
        control<QAction>(window_, kZoomItems[below(6)])->trigger();
        break;
    }
    case 5:
        control<QAction>(window_, "mmViewOverview")->trigger();
        break;
    default: { // the inspector follows the field under the mouse
        QWidget* map = control<MapGrid>(window_, "dgMap")->viewport();
        QTest::mouseMove(
            map, QPoint(below(std::max(1, map->width())), below(std::max(1, map->height()))));
        break;
    }
    }
    ++viewChanges_;
}

void ViewerUser::warmUpViews() {
    // Every zoom, team view and player once, the check boxes and the overview both ways: what
    // the window draws and keeps for each of them is there before the run is measured.
    auto trigger = [this](const char* item, int times) {
        for (int i = 0; i < times; ++i) {
            control<QAction>(window_, item)->trigger();
            QCoreApplication::processEvents();
        }
    };
    trigger("mmViewZoomOut", kZoomSteps);
    trigger("mmViewZoomIn", 2 * kZoomSteps);
    trigger("mmViewZoomFit", 1);
    trigger("mmViewZoomReset", 1);
    trigger("mmViewOverview", 2);
    for (const char* name : {"cbView", "cbPlayers"}) {
        auto* list = control<QComboBox>(window_, name);
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up})
            for (int i = 0; i < list->count(); ++i) {
                QTest::keyClick(list, key);
                QCoreApplication::processEvents();
            }
    }
    for (const char* name : {"cbHL", "cbHH"})
        for (int i = 0; i < 2; ++i) {
            control<QCheckBox>(window_, name)->click();
            QCoreApplication::processEvents();
        }
}

void ViewerUser::keepSlideShowRunning() {
    // After the last event the summary replaces the map; the user goes back to the map.
    if (window_.session().state().summaryShown) {
        clickButton("Button7");
        ++jumps_;
    }
    if (!slajd_->isActive()) {
        clickButton("Button4"); // "Start!"
        ++restarts_;
    }
}

void ViewerUser::slideTick() {
    const int32_t shown = window_.session().shownEventIndex();
    if (shown != lastShown_)
        ++eventsShown_;
    lastShown_ = shown;
}

void ViewerUser::clickButton(const char* name) {
    QTest::mouseClick(control<QPushButton>(window_, name), Qt::LeftButton);
}

void ViewerUser::doubleClickEvent(int32_t event) {
    auto* table = control<QTableView>(window_, "tvEvents");
    const QModelIndex index = table->model()->index(event - window_.session().firstEventIndex(), 1);
    table->scrollTo(index);
    QCoreApplication::processEvents();
    const QPoint at = table->visualRect(index).center();
    // The view takes a double click only on the item its first press hit.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void ViewerUser::dragTimelineTo(int32_t event) {
    auto* slider = control<QSlider>(window_, "timeline");
    QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier,
                      sliderHandleRect(slider, slider->value()).center());
    QTest::mouseMove(slider, sliderHandleRect(slider, event).center());
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier,
                        sliderHandleRect(slider, event).center());
}

} // namespace kx::soak
