#include "scratch_replay.h"

#include "apply_event.h"
#include "event_kind.h"
#include "production.h"
#include "replay_context.h"

#include "records/cell_address.h"
#include "records/numbers.h"
#include "records/time_stamp.h"

#include <algorithm>

namespace kx {

ScratchReplay::ScratchReplay(const EventList& events, const QStringList& players)
    : events_(events), players_(players) {
    directory_.rebuild(players_);
}

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
    return owner >= 1 && owner <= world_.playerCount() ? static_cast<int8_t>(owner - 1) : -1;
}

EventPlayers ScratchReplay::playersOf(const EventItem& event) const {
    switch (eventKindInfo(eventKindOf(event.caption)).parties) {
    case EventParties::Transfer:
        return {static_cast<int8_t>(directory_.indexOf(event.subItem(1))),
                static_cast<int8_t>(directory_.indexOf(event.subItem(2)))};
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
    const int32_t row = world_.eventIndex;
    if (row < 0 || row >= events_.size()) { // no such event: only the position moves on
        world_.eventIndex = wrapAdd(world_.eventIndex, 1);
        return;
    }
    const EventItem event = events_.item(row);
    const StampTime time = readTimeStamp(event.subItem(0))
                               .value_or(StampTime{world_.lastEventTime, world_.lastEventHour});
    const int32_t recounts = recountsBetween(world_.lastEventHour, time.hour);
    if (recounts != 0)
        applyHourlyRecounts(world_, static_cast<int>(players_.size()), recounts, production_);
    if (players)
        *players = playersOf(event);

    QStringList said;
    world_.liveDisplay = sentences ? 1 : 0;
    ReplayContext ctx{world_, events_, players_, said, nullptr, &directory_};
    ctx.current = &event;
    ctx.currentRow = row;
    applyEvent(ctx, eventKindOf(event.caption), row);
    if (sentences)
        sentences->append(said);
    world_.lastEventTime = time.seconds;
    world_.lastEventHour = time.hour;
    world_.eventIndex = wrapAdd(world_.eventIndex, 1);
}

} // namespace kx
