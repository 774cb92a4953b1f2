#pragma once

#include "replayer.h"

#include "records/event_list.h"
#include "records/world.h"

#include <QStringList>

#include <array>
#include <cstdint>

namespace kx {

// The players an event concerns: for a transfer the sender and the receiver, for an event on
// cells the owner of its first cell and, for an attack, the owner of the target as they were
// before the event. -1 where there is none.
using EventPlayers = std::array<int8_t, 2>;

// Replays events on a world of its own, as the session replays them, without touching the
// session: the event list learns from it the sentences of the events it shows and who took
// part in each. Sentences are those of the event itself (not the recount or counter lines).
class ScratchReplay {
  public:
    ScratchReplay(const EventList& events, const QStringList& players);

    // Starts from a copy of a world of the same record.
    void reset(const World& from);
    const World& world() const { return world_; }
    // The hourly recounts the next step applies before its event (0 at the end).
    int32_t recountsDue() const { return replayer_.recountsDue(); }

    // Replays the event at world().eventIndex and moves on to the next one (past the end of
    // the list it only moves on). Appends its
    // sentences to `sentences` when given, and tells who took part when `players` is given.
    void step(QStringList* sentences, EventPlayers* players = nullptr);

  private:
    EventPlayers playersOf(const EventItem& event);
    int8_t ownerAt(QByteArrayView address) const;

    const EventList& events_;
    World world_;
    Replayer replayer_;
};

} // namespace kx
