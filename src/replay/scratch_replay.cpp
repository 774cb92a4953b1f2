#include "scratch_replay.h"

#include "event_kind.h"

#include "records/cell_address.h"
#include "records/numbers.h"

#include <algorithm>

namespace kx {

ScratchReplay::ScratchReplay(const EventList& events, const QStringList& players)
    : events_(events), replayer_(world_, events, players) {}

void ScratchReplay::reset(const World& from) {
    world_ = from;
}

int8_t ScratchReplay::ownerAt(QByteArrayView address) const {
    const int x = addressColumn(address);
    const int y = addressRow(address);
    if (!world_.contains(x, y))
        return -1;
    const int32_t code = world_.fieldGrid(x, y);
    const int32_t owner = code > 100 ? fieldOwner(code) : 0;
    return owner >= 1 && owner <= world_.playerCount() ? static_cast<int8_t>(owner - 1)
                                                       : int8_t{-1};
}

EventPlayers ScratchReplay::playersOf(const EventItem& event) {
    switch (eventKindInfo(eventKindOf(event.caption)).parties) {
    case EventParties::Transfer:
        return {static_cast<int8_t>(replayer_.directory().indexOf(event.subItem(1))),
                static_cast<int8_t>(replayer_.directory().indexOf(event.subItem(2)))};
    case EventParties::Attack:
        return {ownerAt(event.subItem(1)), ownerAt(event.subItem(2))};
    case EventParties::Cell:
        return {ownerAt(event.subItem(1)), -1};
    case EventParties::None:
        break;
    }
    return {-1, -1};
}

void ScratchReplay::step(QStringList* sentences, EventPlayers* players) {
    if (replayer_.atEnd()) { // no such event: only the position moves on
        world_.eventIndex = wrapAdd(world_.eventIndex, 1);
        return;
    }
    // Who took part is read before the event changes the map (the recounts do not).
    if (players)
        *players = playersOf(events_.item(world_.eventIndex));
    QStringList said;
    world_.liveDisplay = sentences ? 1 : 0;
    replayer_.step(said);
    if (sentences)
        sentences->append(said);
}

} // namespace kx
