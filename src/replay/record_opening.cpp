#include "record_opening.h"

#include "records/record_prefetch.h"

#include <QFileInfo>

#include <utility>

namespace kx {

namespace {

// The parts of the state a load replaces; kept so that a failed load can put them back.
struct PreviousRecord {
    int32_t highlightOwner;
    LineList lbOpen;
    EventList lvData;
    bool mapShown;
    bool summaryShown;

    // The lines and the event list are moved out (a load refills them, and nothing reads
    // them meanwhile); the world stays, as the window may paint it during a load, and the
    // new one is built on a copy.
    static PreviousRecord takeFrom(MainState& s) {
        PreviousRecord taken{s.mapView.highlightOwner, std::move(s.lbOpen), std::move(s.lvData),
                             s.mapShown, s.summaryShown};
        s.lbOpen.clear();
        s.lvData.clear();
        return taken;
    }
    void restoreInto(MainState& s) {
        s.mapView.highlightOwner = highlightOwner;
        s.lbOpen = std::move(lbOpen);
        s.lvData = std::move(lvData);
        s.mapShown = mapShown;
        s.summaryShown = summaryShown;
    }
};

// Reports progress only when the shown value changes, and keeps the window alive now and
// then while long loops run.
class ProgressReporter : public LoadProgress {
  public:
    ProgressReporter(MainState& state, ActivityObserver* observer)
        : state_(state), observer_(observer) {}

    void show(int value) {
        state_.progressVisible = true;
        state_.progressValue = value;
        if (observer_)
            observer_->progressChanged(value, true);
    }
    void set(int value) override {
        if (value != state_.progressValue) {
            state_.progressValue = value;
            if (observer_)
                observer_->progressChanged(value, true);
        }
        if (observer_ && ++ticks_ % 4096 == 0)
            observer_->keepAlive();
    }
    void keepAlive() override {
        if (observer_)
            observer_->keepAlive();
    }
    void hide() {
        state_.progressVisible = false;
        if (observer_)
            observer_->progressChanged(state_.progressValue, false);
    }

  private:
    MainState& state_;
    ActivityObserver* observer_;
    unsigned ticks_ = 0;
};

} // namespace

RecordFormat recordFormatForDialogChoice(const QString& path, int filterIndex) {
    if (path.endsWith(QLatin1String(".kxr2"), Qt::CaseInsensitive))
        return RecordFormat::Xml;
    if (path.endsWith(QLatin1String(".kxr"), Qt::CaseInsensitive))
        return RecordFormat::EventLog;
    return filterIndex == kFilterXml ? RecordFormat::Xml : RecordFormat::EventLog;
}

LoadStatus loadRecord(MainState& state, const QString& path, RecordFormat format,
                      UserMessages& messages, ActivityObserver* observer,
                      RecordPrefetch* prefetch) {
    PreviousRecord previous = PreviousRecord::takeFrom(state);
    ProgressReporter progress(state, observer);

    state.mapView.highlightOwner = 0;
    state.mapShown = true;
    state.summaryShown = false;
    progress.show(0);

    RecordLoad load = prefetch ? prefetch->take(state.converter, progress)
                               : readRecord(path, format, state.world, state.converter, progress);
    progress.hide();
    if (!load.record) {
        previous.restoreInto(state);
        if (!load.error.isEmpty())
            messages.showMessage(load.error);
        return load.status();
    }

    LoadedRecord& record = *load.record;
    state.lbOpen = std::move(record.lines);
    state.lvData = std::move(record.events);
    state.world = std::move(record.world);
    state.cbPlayers = std::move(record.players);
    state.selectedPlayer = -1;
    state.gbPlayersCaption = std::move(record.caption);
    state.mapColumns = record.mapColumns;
    state.mapRows = record.mapRows;
    state.dlgOpen.fileName = path;
    state.recordFormat = format;
    if (!record.warning.isEmpty())
        messages.showMessage(record.warning);
    state.panelEnabled = true;
    return LoadStatus::Loaded;
}

bool buildWorld(MainState& state, UserMessages& messages) {
    const WorldBuild built =
        buildInitialWorld(state.lvData, state.world, state.cbPlayers, state.gbPlayersCaption,
                          state.mapColumns, state.mapRows);
    if (!built.message.isEmpty())
        messages.showMessage(built.message);
    return built.ok;
}

bool mmFileOpenClick(MainState& state, OpenDialog& dialog, UserMessages& messages,
                     ActivityObserver* observer) {
    OpenDialogState request = state.dlgOpen;
    if (!request.fileName.isEmpty()) {
        request.initialDir = QFileInfo(request.fileName).absolutePath();
        request.fileName.clear();
    }
    if (!dialog.exec(request)) {
        state.dlgOpen.initialDir = request.initialDir;
        return false;
    }
    state.dlgOpen.initialDir = request.initialDir;
    state.dlgOpen.filterIndex = request.filterIndex;
    return loadRecord(state, request.fileName,
                      recordFormatForDialogChoice(request.fileName, request.filterIndex), messages,
                      observer) == LoadStatus::Loaded;
}

bool btnNextClick(MainState& state, UserMessages& messages, ActivityObserver* observer) {
    state.mapShown = true;
    state.summaryShown = false;
    return loadRecord(state, state.dlgOpen.fileName, state.recordFormat, messages, observer) ==
           LoadStatus::Loaded;
}

} // namespace kx
