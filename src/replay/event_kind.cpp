#include "event_kind.h"

#include "nectar_transfers.h"
#include "unit_actions.h"

namespace kx {

constexpr std::array<EventKindInfo, kEventKindCount> kEventKinds = {{
    {EventKind::Buy, "buy", "nákup", applyBuy, EventParties::Cell},
    {EventKind::Attack, "attack", "útok", applyAttack, EventParties::Attack},
    {EventKind::Move, "move", "přesun", applyMove, EventParties::Cell},
    {EventKind::ConvertGround, "convert_gnd", "převod půdy", applyConvertGround,
     EventParties::Cell},
    {EventKind::Retreat, "retreat", "prodej jednotek", applyRetreat, EventParties::Cell},
    {EventKind::Trade, "trade", "nektar hráči", applyTrade, EventParties::Transfer},
    {EventKind::TradeHq, "trade_hq", "nektar na velení", applyTradeHq, EventParties::Transfer},
    {EventKind::Other, {}, "jiná", nullptr, EventParties::None},
}};

namespace {

constexpr bool rowsFollowTheKinds() {
    for (size_t i = 0; i < kEventKinds.size(); ++i)
        if (static_cast<size_t>(kEventKinds[i].kind) != i + 1)
            return false;
    return kEventKinds.back().kind == EventKind::Other && kEventKinds.back().keyword.empty();
}
static_assert(rowsFollowTheKinds(), "eventKindInfo indexes the table by kind");

} // namespace

EventKind eventKindOf(QByteArrayView caption) {
    // Every row but the last (Other) has a keyword; the size check rejects most at once.
    for (size_t i = 0; i + 1 < kEventKinds.size(); ++i)
        if (isEventKeyword(caption, kEventKinds[i].keyword))
            return kEventKinds[i].kind;
    return EventKind::Other;
}

} // namespace kx
