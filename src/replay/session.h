#pragma once

#include "main_state.h"
#include "record_opening.h"
#include "replay_context.h"
#include "replayer.h"
#include "snapshot_cache.h"

#include "mapview/map_view.h"
#include "records/record_loader.h"
#include "records/user_messages.h"

#include <QLocale>

#include <memory>
#include <vector>

namespace kx {

// The main window's logic without the window: it owns the logical state (MainState) and
// does what each control's handler does. The viewer binds its widgets to it and kxrtool
// drives it, so both always agree. A step, jump or load never runs inside another one.
class ReplaySession {
  public:
    explicit ReplaySession(UserMessages& messages, const QLocale& locale = QLocale());
    ~ReplaySession();
    ReplaySession(const ReplaySession&) = delete;
    ReplaySession& operator=(const ReplaySession&) = delete;

    // What the window shows; it changes only through the handlers below.
    const MainState& state() const { return state_; }

    void setRepaintSink(RepaintSink* sink) { repaint_ = sink; }
    void setMessages(UserMessages& messages) { messages_ = &messages; }
    void setActivityObserver(ActivityObserver* observer) { observer_ = observer; }

    // Loading. The open dialog starts in `folder` until a record is loaded.
    void setOpenDialogFolder(const QString& folder) { state_.dlgOpen.initialDir = folder; }
    bool loadRecord(const QString& path, RecordFormat format);
    // The world a session shows before any record is loaded.
    static World blankWorld();
    // A read of a record started ahead (at start-up, from blankWorld()): the next load takes
    // it when it is of the same file and format, and drops it otherwise.
    void setPrefetch(std::unique_ptr<RecordPrefetch> prefetch);
    // As loadRecord, and tells an unreadable file from a damaged record (a busy session
    // counts as damaged: nothing is loaded).
    LoadStatus openRecord(const QString& path, RecordFormat format);
    bool mmFileOpenClick(OpenDialog& dialog);
    bool btnNextClick();
    // The last XML conversion's record lines, read again for the converter's window (a load
    // converts while it reads and keeps no copy of them).
    void restoreConversionLog() { restoreConverterLog(state_.converter); }

    // Navigation: "-->", " -- >>", "< --", "<< --".
    void Button1Click();
    void Button2Click();
    void Button6Click();
    void Button7Click();
    void replayStep();
    void stepBack(int count);
    // Jumps to event `eventIndex` (clamped to the record's events): afterwards it is the last
    // event replayed, shown live as a step onto it shows it, and the events before it have
    // been replayed quietly, from the nearest copy of the world (or the current world, when
    // it lies on the way). A jump to the event shown now changes nothing.
    void jumpTo(int32_t eventIndex);

    // The record's events: the first one's item index and the item count (N).
    int32_t firstEventIndex() const { return initialWorld_.eventIndex; }
    int32_t eventCount() const { return static_cast<int32_t>(state_.lvData.size()); }
    // The last event replayed (shown by the window), or -1 before the first one.
    int32_t shownEventIndex() const {
        return state_.world.eventIndex > firstEventIndex() ? state_.world.eventIndex - 1 : -1;
    }
    // The world as the record builds it, before its first event, and the copies taken while
    // replaying; both change only when a record is (re)loaded, which changes the generation.
    const World& initialWorld() const { return initialWorld_; }
    const SnapshotCache& snapshots() const { return snapshots_; }
    bool snapshotsEnabled() const { return snapshotsEnabled_; }
    uint64_t recordGeneration() const { return generation_; }

    // Slide show: "Start!", "Zrušit", the interval edit and a timer tick.
    void Button4Click();
    void Button5Click();
    void setEdTimeText(const QString& text); // typing into edTime (at most 4 characters)
    void edTimeChange();
    void slajdTimer();
    bool slideShowFires() const { return state_.slideShowEnabled && state_.slideShowInterval > 0; }

    // Players: selecting item `index` of the list (the change handler runs), or clearing the
    // selection without a change event.
    void selectPlayer(int index);
    void clearPlayerSelection() { state_.selectedPlayer = -1; }
    void cbPlayersChange();

    // Map view controls and the mouse over the map (grid coordinates).
    void cbViewChange(int item);
    void setHighlightFields(bool checked) { state_.mapView.highlightFields = checked; } // cbHL
    void cbHHClick(bool checked);                                                       // cbHH
    bool highlightFields() const { return state_.mapView.highlightFields; }
    bool hideHq() const { return state_.mapView.hideHq; }
    MapView viewItem() const { return state_.mapView.view; }
    // The owner (player index + 1) whose fields are highlighted, 0 for none.
    int32_t highlightOwner() const { return state_.mapView.highlightOwner; }
    void dgMapMouseMove(int column, int row);
    void edFChange();

    void showWorldEnd();
    bool busy() const { return busy_; }

    // Backward jumps start from copies of the world unless this is off (then they rebuild and
    // replay from the first event, the slow path kept for comparison).
    void setSnapshotsEnabled(bool enabled) { snapshotsEnabled_ = enabled; }
    // Copies every `events` events (0: chosen by the record's size), from the next load on.
    void setSnapshotSpacing(int32_t events) { snapshots_.setFixedInterval(events); }

  private:
    friend struct SessionTestAccess; // tests set up states no record reaches

    void replayOne();
    void redrawMap();
    void afterBuild();
    // Replays up to the target without display, the progress bar counting from progressFrom.
    void replayQuietlyTo(int32_t target, int32_t progressFrom);
    // The end of a jump: the target event live, the bar hidden, the map redrawn.
    void replayTargetLive();
    void jumpForward(int32_t target);

    MainState state_;
    Replayer replayer_{state_.world, state_.lvData, state_.cbPlayers};
    UserMessages* messages_;
    QLocale locale_;
    RepaintSink* repaint_ = nullptr;
    ActivityObserver* observer_ = nullptr;

    bool busy_ = false;

    SnapshotCache snapshots_;
    bool snapshotsEnabled_ = true;
    int32_t builtLastEventTime_ = 0;
    bool slideStopSinceBuild_ = false;
    bool timeErrorSinceBuild_ = false;
    World initialWorld_;
    uint64_t generation_ = 0;
    bool quietTimeError_ = false; // an event replayed quietly had an unreadable time stamp
    std::unique_ptr<RecordPrefetch> prefetch_;
};

} // namespace kx
