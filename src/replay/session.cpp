#include "session.h"

#include "player_stats.h"
#include "world_end.h"

#include "records/cell_address.h"
#include "records/numbers.h"
#include "records/record_prefetch.h"
#include "records/time_stamp.h"
#include "records/unit_kinds.h"
#include "records/windows1250.h"

#include <algorithm>
#include <optional>

namespace kx {

namespace {

// Holds off every other step, jump or load while one runs (the window serves its event loop
// during long work, so clicks and timer ticks can arrive in the middle).
class BusyGuard {
  public:
    explicit BusyGuard(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyGuard() { busy_ = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

  private:
    bool& busy_;
};

} // namespace

ReplaySession::ReplaySession(UserMessages& messages, const QLocale& locale)
    : messages_(&messages), locale_(locale) {
    state_.world = blankWorld();
}

ReplaySession::~ReplaySession() = default;

World ReplaySession::blankWorld() {
    World world;
    world.allocateWorld(20, 20, 0);
    world.liveDisplay = 1;
    return world;
}

void ReplaySession::setPrefetch(std::unique_ptr<RecordPrefetch> prefetch) {
    prefetch_ = std::move(prefetch);
}

// ---- Loading ---------------------------------------------------------------------------

void ReplaySession::afterBuild() {
    // The copies of the world may take as much memory as the event list itself.
    snapshots_.reset(state_.lvData.size(), state_.world, state_.lvData.memoryBytes());
    builtLastEventTime_ = state_.world.lastEventTime;
    initialWorld_ = state_.world;
    ++generation_;
    slideStopSinceBuild_ = false;
    timeErrorSinceBuild_ = false;
    // The new world starts with nothing of the old one shown: no event, no player's figures,
    // no field described until the mouse points at one.
    state_.info.clear();
    state_.lbTime.clear();
    state_.stats = {};
    state_.inspector = {};
    redrawMap();
}

bool ReplaySession::loadRecord(const QString& path, RecordFormat format) {
    return openRecord(path, format) == LoadStatus::Loaded;
}

LoadStatus ReplaySession::openRecord(const QString& path, RecordFormat format) {
    if (busy_)
        return LoadStatus::Damaged;
    BusyGuard guard(busy_);
    // A read started ahead serves this load only when it is of the same file and format.
    std::unique_ptr<RecordPrefetch> prefetch = std::move(prefetch_);
    if (prefetch && !prefetch->isFor(path, format))
        prefetch.reset();
    const LoadStatus status =
        kx::loadRecord(state_, path, format, *messages_, observer_, prefetch.get());
    if (status == LoadStatus::Loaded)
        afterBuild();
    else
        redrawMap();
    return status;
}

bool ReplaySession::mmFileOpenClick(OpenDialog& dialog) {
    if (busy_)
        return false;
    bool loaded = false;
    {
        BusyGuard guard(busy_);
        loaded = kx::mmFileOpenClick(state_, dialog, *messages_, observer_);
    }
    if (loaded)
        afterBuild();
    return loaded;
}

bool ReplaySession::btnNextClick() {
    if (busy_ || !state_.summaryShown)
        return false;
    bool loaded = false;
    {
        BusyGuard guard(busy_);
        loaded = kx::btnNextClick(state_, *messages_, observer_);
    }
    if (loaded)
        afterBuild();
    else
        redrawMap();
    return loaded;
}

// ---- Stepping --------------------------------------------------------------------------

void ReplaySession::Button1Click() {
    if (busy_ || !state_.panelEnabled)
        return;
    BusyGuard guard(busy_);
    replayOne();
}

void ReplaySession::Button2Click() {
    if (busy_ || !state_.panelEnabled)
        return;
    BusyGuard guard(busy_);
    for (int i = 0; i < 10; ++i)
        replayOne();
}

void ReplaySession::Button6Click() {
    if (state_.panelEnabled)
        stepBack(1);
}

void ReplaySession::Button7Click() {
    if (state_.panelEnabled)
        stepBack(10);
}

void ReplaySession::replayStep() {
    if (busy_)
        return;
    BusyGuard guard(busy_);
    replayOne();
}

void ReplaySession::replayOne() {
    World& world = state_.world;
    const qsizetype count = state_.lvData.size();
    if (replayer_.atEnd()) {
        showWorldEnd();
        return;
    }
    if (snapshotsEnabled_ && snapshots_.wants(world.eventIndex))
        snapshots_.store(world.eventIndex,
                         {world, builtLastEventTime_, slideStopSinceBuild_, timeErrorSinceBuild_});

    const bool live = world.liveDisplay == 1;
    if (live) {
        state_.info.clear();
        state_.lbTime = eventTimeLabel(state_.lvData.item(world.eventIndex).subItem(0));
    }
    const int32_t row = world.eventIndex;
    const ReplayStep step = replayer_.step(state_.info, repaint_, true);

    // A live step shows the message of an unreadable time stamp; a jump shows it once for all
    // the events it replays quietly rather than one box per damaged time stamp.
    if (step.timeUnreadable) {
        timeErrorSinceBuild_ = true;
        if (live)
            messages_->showMessage(QString::fromUtf8(kTimeFormatError));
        else
            quietTimeError_ = true;
    }
    if (step.stopSlideShow) {
        state_.slideShowEnabled = false;
        slideStopSinceBuild_ = true;
    }
    if (live) {
        state_.info.append(QStringLiteral("Akce %1 z %2").arg(row).arg(count));
        if (state_.selectedPlayer != -1)
            cbPlayersChange();
        if (state_.inspector.lbFN.size() > 1)
            edFChange();
    }
}

void ReplaySession::stepBack(int count) {
    if (busy_)
        return;
    BusyGuard guard(busy_);
    World& world = state_.world;
    const int32_t before = world.eventIndex;
    const int selected = state_.selectedPlayer;
    // A step back from the summary returns to the map, which shows the target event.
    state_.summaryShown = false;
    state_.mapShown = true;

    state_.cbPlayers.clear();
    state_.selectedPlayer = -1;
    buildWorld(state_, *messages_);
    // An unreadable last create_hq time keeps the time the world had before the rebuild, so
    // this replay may start from another time than the load's: the copies of the world it
    // stores are marked with the time it starts from.
    builtLastEventTime_ = world.lastEventTime;
    const int32_t target = before - count - 1;

    // Start from the nearest copy of the world at or before the target when it was replayed
    // from the same initial world; the events before it need not be replayed again.
    int32_t snapshotIndex = 0;
    const SnapshotCache::Snapshot* snapshot =
        snapshotsEnabled_ ? snapshots_.nearest(target, &snapshotIndex) : nullptr;
    if (snapshot && snapshotIndex >= world.eventIndex &&
        snapshot->builtLastEventTime == world.lastEventTime) {
        world = snapshot->world;
        if (snapshot->slideStopBefore)
            state_.slideShowEnabled = false;
        slideStopSinceBuild_ = snapshot->slideStopBefore;
        timeErrorSinceBuild_ = snapshot->timeErrorBefore;
    } else {
        slideStopSinceBuild_ = false;
        timeErrorSinceBuild_ = false;
    }

    world.liveDisplay = 0;
    replayQuietlyTo(target, 0);
    if (timeErrorSinceBuild_)
        messages_->showMessage(QString::fromUtf8(kTimeFormatError));
    replayTargetLive();
    if (selected >= 0 && selected < state_.cbPlayers.size()) {
        state_.selectedPlayer = selected;
        cbPlayersChange();
    }
}

void ReplaySession::jumpTo(int32_t eventIndex) {
    if (busy_ || !state_.panelEnabled)
        return;
    const int32_t first = firstEventIndex();
    const int32_t count = eventCount();
    if (count <= first)
        return;
    const int32_t target = std::clamp(eventIndex, first, count - 1);
    if (target == shownEventIndex())
        return;
    if (target >= state_.world.eventIndex)
        jumpForward(target);
    else // a backward jump of the right length lands on the target
        stepBack(state_.world.eventIndex - target - 1);
}

void ReplaySession::jumpForward(int32_t target) {
    BusyGuard guard(busy_);
    World& world = state_.world;
    const bool errorsBefore = timeErrorSinceBuild_;
    bool skippedTimeError = false;

    // A copy of the world beyond the current position saves replaying the events up to it.
    int32_t snapshotIndex = 0;
    const SnapshotCache::Snapshot* snapshot =
        snapshotsEnabled_ ? snapshots_.nearest(target, &snapshotIndex) : nullptr;
    if (snapshot && snapshotIndex > world.eventIndex &&
        snapshot->builtLastEventTime == builtLastEventTime_) {
        world = snapshot->world;
        // The skipped events would have stopped the slide show as they were replayed.
        if (snapshot->slideStopBefore && !slideStopSinceBuild_)
            state_.slideShowEnabled = false;
        skippedTimeError = snapshot->timeErrorBefore && !errorsBefore;
        slideStopSinceBuild_ = snapshot->slideStopBefore;
        timeErrorSinceBuild_ = snapshot->timeErrorBefore;
    }

    quietTimeError_ = false;
    world.liveDisplay = 0;
    replayQuietlyTo(target, world.eventIndex);
    // One message for the whole jump, as a backward jump shows it.
    if (quietTimeError_ || skippedTimeError)
        messages_->showMessage(QString::fromUtf8(kTimeFormatError));
    replayTargetLive();
}

void ReplaySession::replayTargetLive() {
    state_.world.liveDisplay = 1;
    replayOne();
    state_.progressVisible = false;
    if (observer_)
        observer_->progressChanged(state_.progressValue, false);
    redrawMap();
}

void ReplaySession::replayQuietlyTo(int32_t target, int32_t progressFrom) {
    const int32_t start = state_.world.eventIndex;
    state_.progressVisible = true;
    state_.progressValue = 0;
    if (observer_)
        observer_->progressChanged(0, true);
    unsigned ticks = 0;
    for (int32_t i = start; i < target; ++i) {
        replayOne();
        const int value =
            static_cast<int>(int64_t{i - progressFrom} * 100 / (target - progressFrom));
        if (value != state_.progressValue) {
            state_.progressValue = value;
            if (observer_)
                observer_->progressChanged(value, true);
        }
        if (observer_ && ++ticks % 4096 == 0)
            observer_->keepAlive();
    }
}

// ---- Slide show ------------------------------------------------------------------------

void ReplaySession::Button4Click() {
    state_.slideShowEnabled = true;
}

void ReplaySession::Button5Click() {
    state_.slideShowEnabled = false;
}

void ReplaySession::setEdTimeText(const QString& text) {
    const QString kept = text.left(4);
    if (kept == state_.edTime)
        return;
    state_.edTime = kept;
    edTimeChange();
}

void ReplaySession::edTimeChange() {
    if (state_.edTime.size() < 2)
        return;
    if (const auto interval = parseDecimalInt(QStringView(state_.edTime))) {
        // Zero or a negative interval keeps the timer from firing.
        state_.slideShowInterval = *interval;
    } else {
        state_.slideShowInterval = 500;
        setEdTimeText(QStringLiteral("500"));
    }
}

void ReplaySession::slajdTimer() {
    if (slideShowFires())
        replayStep();
}

// ---- Players ---------------------------------------------------------------------------

void ReplaySession::selectPlayer(int index) {
    if (index < 0 || index >= state_.cbPlayers.size())
        return;
    state_.selectedPlayer = index;
    cbPlayersChange();
}

void ReplaySession::cbPlayersChange() {
    if (state_.selectedPlayer == -1)
        return;
    if (const auto stats = playerStats(state_.world, state_.selectedPlayer))
        state_.stats = {stats->lbPT, stats->lbPN, stats->lbPP,
                        stats->lbPH, stats->lbPA, stats->lbPD};
}

// ---- Map view --------------------------------------------------------------------------

void ReplaySession::redrawMap() {
    if (repaint_)
        repaint_->redrawMap();
}

void ReplaySession::cbViewChange(int item) {
    const std::optional<MapView> view = mapViewAt(item);
    if (!view)
        return;
    state_.mapView.view = *view;
    redrawMap();
}

void ReplaySession::cbHHClick(bool checked) {
    state_.mapView.hideHq = checked;
    redrawMap();
}

void ReplaySession::dgMapMouseMove(int column, int row) {
    World& world = state_.world;
    if (column <= 0 || row <= 0 || column >= state_.mapColumns || row >= state_.mapRows)
        return;
    const int x = column - 1;
    const int y = row - 1;
    if (!world.contains(x, y))
        return;
    state_.inspector.lbFN = cellAddressText(x, y);
    edFChange();

    const int32_t newOwner = world.fieldGrid(x, y) / 100;
    int32_t& highlighted = state_.mapView.highlightOwner;
    if (!highlightFields() || newOwner == highlighted)
        return;
    auto redrawOwned = [&](int32_t owner) {
        if (!repaint_ || world.liveDisplay != 1)
            return;
        for (int i = 0; i < world.width(); ++i)
            for (int j = 0; j < world.height(); ++j)
                if (world.fieldGrid(i, j) / 100 == owner)
                    repaint_->redrawCell(i + 1, j + 1);
    };
    const int32_t oldOwner = highlighted;
    highlighted = newOwner;
    if (oldOwner != 0)
        redrawOwned(oldOwner);
    if (newOwner != 0)
        redrawOwned(newOwner);
}

void ReplaySession::edFChange() {
    InspectorLabels& panel = state_.inspector;
    const QString& address = panel.lbFN;
    if (address.size() < 2)
        return;
    const auto cell = cellOfAddressText(address);
    const World& world = state_.world;
    if (!cell || !world.contains(cell->first, cell->second))
        return;
    const auto [x, y] = *cell;
    const int32_t units = world.unitGrid(x, y);
    panel.lbFU = unitName(units % 10);
    panel.lbFC = QString::number(units / 10);
    const int32_t field = world.fieldGrid(x, y);
    const int owner = fieldOwner(field);
    panel.lbFO = field > 100 && owner >= 1 && owner <= state_.cbPlayers.size()
                     ? state_.cbPlayers[owner - 1]
                     : QString();
    panel.lbFT = terrainName(field % 5);
}

// ---- End of world ----------------------------------------------------------------------

void ReplaySession::showWorldEnd() {
    if (state_.summaryShown)
        return;
    state_.summary.clear();
    state_.slideShowEnabled = false;
    state_.mapShown = false;
    state_.summaryShown = true;
    state_.summary = worldEndSummary(state_.world, state_.cbPlayers, locale_);
}

} // namespace kx
