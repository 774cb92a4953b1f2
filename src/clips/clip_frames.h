#pragma once

#include "clip_options.h"

#include "records/event_list.h"
#include "records/world.h"
#include "replay/scratch_replay.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace kx {

class ReplaySession;

// What a clip is made of, taken from a loaded record: the world before its first event, the
// events and the player list. Cheap to take: the events share the session's memory.
struct ClipRecord {
    World initialWorld;
    EventList events;
    QStringList players;    // "name (team)" per player index
    int32_t firstEvent = 0; // the first event's item index
    QSize gridSize;         // the map grid's columns and rows, the header ones included

    int32_t eventCount() const { return static_cast<int32_t>(events.size()); }
};

// The session's record; a session without one gives a record with no events.
ClipRecord clipRecordOf(const ReplaySession& session);

// The frames of a clip: the record replayed on a world of its own, as the session replays it,
// stopping at every event of the range (or at the last event of every game hour in it, and at
// its ends). The world at a frame is the one the window shows at "Akce i z N" for that event.
class ClipFrames {
  public:
    // `from` and `to` must lie within the record (clipRangeError says nothing).
    ClipFrames(const ClipRecord& record, int32_t from, int32_t to, FramePace pace);

    // Replays up to the next frame (the first time, the events before the range quietly);
    // false when the last one has been shown.
    bool next();

    const World& world() const { return replay_.world(); }
    // The event the current frame shows.
    int32_t eventIndex() const { return shown_; }
    // The caption of the current frame: the event's time and its sentences.
    QString caption() const;
    // How much of the range has been replayed, in per cent.
    int percentDone() const;

  private:
    const ClipRecord& record_;
    ScratchReplay replay_;
    int32_t to_;
    FramePace pace_;
    int32_t from_;
    int32_t shown_ = -1;
    QStringList sentences_;
};

} // namespace kx
