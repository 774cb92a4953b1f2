#pragma once

#include "player_directory.h"
#include "replay_context.h"

#include "records/event_list.h"
#include "records/world.h"

#include <QStringList>

#include <cstdint>
#include <vector>

namespace kx {

// What one step did besides changing the world.
struct ReplayStep {
    int32_t recounts = 0;        // hourly recounts applied before the event
    bool timeUnreadable = false; // the event's time stamp could not be read (counted as the
                                 // previous event's time)
    bool stopSlideShow = false;  // an unreadable number or cell asks to stop the slide show
};

// The replay engine: a world, the record's events and players, and one step that applies the
// hourly recounts due before an event, the event's operation, and moves on. The viewer, the
// event list's sentences and the charts' figures all replay through it. While
// world().liveDisplay is 1 the step says its sentences and tells the map what changed.
class Replayer {
  public:
    // The world, the events and the player list ("name (team)" per player index) are the
    // caller's: they must outlive the replayer and may be replaced between steps.
    Replayer(World& world, const EventList& events, const QStringList& players);

    World& world() { return world_; }
    const World& world() const { return world_; }
    const EventList& events() const { return events_; }
    const QStringList& players() const { return players_; }
    const PlayerDirectory& directory();

    // Whether world().eventIndex names no event of the record.
    bool atEnd() const { return world_.eventIndex < 0 || world_.eventIndex >= events_.size(); }

    // The hourly recounts the next step applies before its event (0 at the end).
    int32_t recountsDue() const;

    // Replays the event at world().eventIndex (not atEnd()) and moves on to the next one.
    // Sentences go to `info`: the recount sentence when `sayRecounts`, then the event's own.
    ReplayStep step(QStringList& info, RepaintSink* repaint = nullptr, bool sayRecounts = false);

  private:
    const EventList& events_;
    const QStringList& players_;
    PlayerDirectory directory_;       // rebuilt when the player list is replaced
    std::vector<int32_t> production_; // reused by every recount
    World& world_;
};

// The memo's sentence for `count` hourly recounts.
QString recountSentence(int32_t count);

} // namespace kx
