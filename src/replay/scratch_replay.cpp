#include "scratch_replay.h"

#include "event_kind.h"
#include "nectar_transfers.h"
#include "production.h"
#include "replay_context.h"
#include "unit_actions.h"

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

// The session's hourly recounts: moves refilled up to the cap, nectar produced.
void ScratchReplay::applyRecounts(int32_t recounts) {
    const int32_t cap = wrapMul(24, world_.movesPerHour);
    const int players = std::min<int>(static_cast<int>(players_.size()), world_.playerCount());
    hourlyProductionOfAll(world_, production_);
    for (int i = 0; i < players; ++i) {
        PlayerRecord& record = world_.playerTable[static_cast<size_t>(i)];
        record[Moves] = wrapAdd(record[Moves], wrapMul(world_.movesPerHour, recounts));
        if (record[Moves] > cap)
            record[Moves] = cap;
        record[Nectar] =
            wrapAdd(record[Nectar], wrapMul(production_[static_cast<size_t>(i)], recounts));
    }
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
    switch (eventKindOf(event.caption)) {
    case EventKind::Trade:
    case EventKind::TradeHq:
        return {static_cast<int8_t>(directory_.indexOf(event.subItem(1))),
                static_cast<int8_t>(directory_.indexOf(event.subItem(2)))};
    case EventKind::Attack:
        return {ownerAt(event.subItem(1)), ownerAt(event.subItem(2))};
    case EventKind::Buy:
    case EventKind::Move:
    case EventKind::ConvertGround:
    case EventKind::Retreat:
        return {ownerAt(event.subItem(1)), -1};
    case EventKind::Other:
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
    int32_t time = world_.lastEventTime;
    if (const auto seconds = timeSeconds(event.subItem(0)))
        time = *seconds;
    const int32_t recounts = recountsBetween(world_.lastEventTime, time);
    if (recounts != 0)
        applyRecounts(recounts);
    if (players)
        *players = playersOf(event);

    QStringList said;
    world_.liveDisplay = sentences ? 1 : 0;
    ReplayContext ctx{world_, events_, players_, said, nullptr, &directory_};
    ctx.current = &event;
    ctx.currentRow = row;
    switch (eventKindOf(event.caption)) {
    case EventKind::Buy:
        applyBuy(ctx, row);
        break;
    case EventKind::Attack:
        applyAttack(ctx, row);
        break;
    case EventKind::Move:
        applyMove(ctx, row);
        break;
    case EventKind::ConvertGround:
        applyConvertGround(ctx, row);
        break;
    case EventKind::Retreat:
        applyRetreat(ctx, row);
        break;
    case EventKind::Trade:
        applyTrade(ctx, row);
        break;
    case EventKind::TradeHq:
        applyTradeHq(ctx, row);
        break;
    case EventKind::Other:
        break;
    }
    if (sentences)
        sentences->append(said);
    world_.lastEventTime = time;
    world_.eventIndex = wrapAdd(world_.eventIndex, 1);
}

} // namespace kx
