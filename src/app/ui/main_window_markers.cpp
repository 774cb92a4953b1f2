// The main window's markers and bookmarks: the quiet pass that finds the markers (on the
// figure worker's thread), stepping from marker to marker, stopping the slide show at one,
// bookmarks made on events, and the slide show's speed control.
#include "main_window.h"

#include "clips/ui/clip_dialog.h"
#include "replay/slide_speed.h"
#include "replay/ui/event_dock.h"
#include "replay/ui/timeline_bar.h"
#include "stats/ui/figure_worker.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QSlider>
#include <QTimer>

namespace kx {

void TFMain::buildMarkers() {
    figures_ = new FigureWorker(session_, this);
    markerProgress_ = new QTimer(this);
    markerProgress_->setInterval(100);
    connect(markerProgress_, &QTimer::timeout, this,
            [this] { timeline_->setMarkerProgress(figures_->progress()); });
    connect(figures_, &FigureWorker::finished, this, [this] { figuresFinished(); });
    connect(timeline_, &TimelineBar::markerStepRequested, this, &TFMain::stepToMarker);
    connect(timeline_, &TimelineBar::markerFilterChanged, this, [this] { showMarkedEvents(); });
    connect(eventDock_, &EventDock::bookmarkAddRequested, this, &TFMain::addBookmark);
    connect(eventDock_, &EventDock::bookmarkRenameRequested, this, &TFMain::renameBookmark);
    connect(eventDock_, &EventDock::bookmarkRemoveRequested, this, &TFMain::removeBookmark);
    noteAsker_ = [this](const QString& title, const QString& note) -> std::optional<QString> {
        bool ok = false;
        const QString text = QInputDialog::getText(this, title, QString::fromUtf8("Poznámka:"),
                                                   QLineEdit::Normal, note, &ok);
        return ok ? std::optional<QString>(text.trimmed()) : std::nullopt;
    };
}

QList<ClipEnd> TFMain::clipEnds() const {
    QList<ClipEnd> ends;
    for (const auto& [event, note] : bookmarks_)
        ends.append({event, note.isEmpty() ? QString::fromUtf8("záložka") : note});
    const WorldFigures* figures = figures_->current();
    if (!figures)
        return ends;
    const MarkerFilter filter = timeline_->markerFilter();
    int count = 0;
    for (const TimelineMarker& marker : figures->markers) {
        if (!filter.accepts(marker))
            continue;
        if (++count > kMaxClipEndMarkers)
            break;
        const QString player = session_.state().cbPlayers.value(marker.player);
        ends.append({marker.event, player.isEmpty()
                                       ? markerKindName(marker.kind)
                                       : markerKindName(marker.kind) + QStringLiteral(" (") +
                                             player + QLatin1Char(')')});
    }
    return ends;
}

void TFMain::addMarkerMenu(QMenu* menu) {
    auto add = [&](const char* name, const char* caption, const QKeySequence& keys, auto handler) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, handler);
    };
    add("mmNextMarker", "&Další značka", QKeySequence(Qt::CTRL | Qt::Key_Right),
        [this] { stepToMarker(1); });
    add("mmPrevMarker", "&Předchozí značka", QKeySequence(Qt::CTRL | Qt::Key_Left),
        [this] { stepToMarker(-1); });
    menu->addSeparator();
    add("mmAddBookmark", "Přidat &záložku…", QKeySequence(Qt::CTRL | Qt::Key_B),
        [this] { addBookmark(session_.shownEventIndex()); });
    add("mmRenameBookmark", "Př&ejmenovat záložku…", QKeySequence(),
        [this] { renameBookmark(session_.shownEventIndex()); });
    add("mmRemoveBookmark", "&Odstranit záložku", QKeySequence(),
        [this] { removeBookmark(session_.shownEventIndex()); });
    menu->addSeparator();
    QMenu* kinds = timeline_->markerKindsMenu();
    kinds->setTitle(QString::fromUtf8("Druhy &značek"));
    menu->addMenu(kinds);
}

QWidget* TFMain::buildSlideSpeed() {
    tbSpeed_ = new QSlider(Qt::Horizontal);
    tbSpeed_->setObjectName(QStringLiteral("tbSpeed"));
    tbSpeed_->setRange(0, kSlideSpeedSteps - 1);
    tbSpeed_->setPageStep(1);
    tbSpeed_->setTickPosition(QSlider::TicksBelow);
    tbSpeed_->setToolTip(QString::fromUtf8("Rychlost přehrávání: 0,25× až 32× intervalu 500 ms"));
    lbSpeed_ = new QLabel;
    lbSpeed_->setObjectName(QStringLiteral("lbSpeed"));
    lbSpeed_->setMinimumWidth(
        lbSpeed_->fontMetrics().horizontalAdvance(QString::fromUtf8("0,25× (2000 ms)")));
    cbStopAtMarkers_ = new QCheckBox(QString::fromUtf8("Zastavit u značek"));
    cbStopAtMarkers_->setObjectName(QStringLiteral("cbStopAtMarkers"));
    // The control writes the interval edit; the edit's interval moves the control (see
    // refreshSlideShow), so both show one pace and the timer follows it while it runs.
    connect(tbSpeed_, &QSlider::valueChanged, this, [this](int step) {
        session_.setEdTimeText(QString::number(slideIntervalOfStep(step)));
        afterAction();
    });
    // The page is narrow: the pace under the control, the check box on a row of its own.
    auto* area = new QWidget;
    auto* layout = new QGridLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setVerticalSpacing(0);
    auto* label = new QLabel(QString::fromUtf8("&Rychlost"));
    label->setBuddy(tbSpeed_);
    layout->addWidget(label, 0, 0);
    layout->addWidget(tbSpeed_, 0, 1);
    layout->addWidget(lbSpeed_, 1, 1, Qt::AlignRight);
    layout->setColumnStretch(1, 1);
    return area;
}

void TFMain::refreshMarkers() {
    if (session_.busy() || session_.recordGeneration() == markersGeneration_)
        return;
    // Another record: its markers and bookmarks come from a new pass.
    markersGeneration_ = session_.recordGeneration();
    timeline_->setMarkers(nullptr);
    bookmarks_.clear();
    timeline_->setBookmarks(bookmarks_);
    eventDock_->setBookmarks(bookmarks_);
    eventDock_->setMarkedEvents({});
    figures_->refresh();
    if (figures_->computing()) {
        timeline_->setMarkerProgress(figures_->progress());
        markerProgress_->start();
    } else {
        figuresFinished();
    }
}

void TFMain::figuresFinished() {
    if (figures_->computing())
        return; // a pass for a newer record runs
    markerProgress_->stop();
    timeline_->setMarkerProgress(-1);
    const WorldFigures* figures = figures_->current();
    timeline_->setMarkers(figures ? &figures->markers : nullptr);
    showMarkedEvents();
    reloadBookmarks();
}

// The events the timeline's filter shows, for the event list's "Jen značky".
void TFMain::showMarkedEvents() {
    const WorldFigures* figures = figures_->current();
    std::vector<int32_t> events;
    if (figures) {
        const MarkerFilter filter = timeline_->markerFilter();
        for (const TimelineMarker& m : figures->markers)
            if (filter.accepts(m) && (events.empty() || events.back() != m.event))
                events.push_back(m.event);
    }
    eventDock_->setMarkedEvents(std::move(events));
}

void TFMain::reloadBookmarks() {
    bookmarks_.clear();
    const QString hash = figures_->contentHash();
    if (!hash.isEmpty())
        for (const Bookmark& b : bookmarkStore_.list(hash))
            bookmarks_[b.event] = b.note;
    timeline_->setBookmarks(bookmarks_);
    eventDock_->setBookmarks(bookmarks_);
}

void TFMain::stepToMarker(int direction) {
    const WorldFigures* figures = figures_->current();
    if (!figures || session_.busy())
        return;
    const int32_t from = session_.shownEventIndex();
    const MarkerFilter filter = timeline_->markerFilter();
    const int32_t to = direction > 0 ? nextMarkerEvent(figures->markers, from, filter)
                                     : previousMarkerEvent(figures->markers, from, filter);
    if (to < 0) {
        QApplication::beep();
        return;
    }
    jumpTo(to);
}

void TFMain::stopSlideShowAtMarker() {
    const WorldFigures* figures = figures_->current();
    if (!cbStopAtMarkers_->isChecked() || !figures || !session_.state().slideShowEnabled)
        return;
    if (isMarkedEvent(figures->markers, session_.shownEventIndex(), timeline_->markerFilter()))
        session_.Button5Click();
}

void TFMain::addBookmark(int32_t event) {
    if (event < session_.firstEventIndex() || event >= session_.eventCount()) {
        messages_->showMessage(QString::fromUtf8("Záložku lze přidat jen k přehrané akci."));
        return;
    }
    if (bookmarks_.contains(event)) {
        renameBookmark(event);
        return;
    }
    const QString hash = figures_->contentHash();
    if (hash.isEmpty()) {
        messages_->showMessage(
            QString::fromUtf8("Záznam se ještě prochází; záložku přidejte za okamžik."));
        return;
    }
    storeNote(hash, event, QString());
}

void TFMain::renameBookmark(int32_t event) {
    const auto at = bookmarks_.find(event);
    const QString hash = figures_->contentHash();
    if (at == bookmarks_.end() || hash.isEmpty())
        return;
    storeNote(hash, event, at->second);
}

// Asks for the bookmark's note, starting from `note`, and keeps it unless the user cancels.
void TFMain::storeNote(const QString& hash, int32_t event, const QString& note) {
    const std::optional<QString> answer =
        noteAsker_(QString::fromUtf8("Záložka u akce %1").arg(event), note);
    if (!answer)
        return;
    if (!bookmarkStore_.set(hash, {event, *answer}))
        messages_->showMessage(bookmarkStore_.lastError());
    reloadBookmarks();
}

void TFMain::removeBookmark(int32_t event) {
    const QString hash = figures_->contentHash();
    if (!bookmarks_.contains(event) || hash.isEmpty())
        return;
    if (!bookmarkStore_.remove(hash, event))
        messages_->showMessage(bookmarkStore_.lastError());
    reloadBookmarks();
}

} // namespace kx
