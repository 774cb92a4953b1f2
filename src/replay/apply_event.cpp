#include "apply_event.h"

#include "nectar_transfers.h"
#include "unit_actions.h"

namespace kx {

void applyEvent(ReplayContext& ctx, EventKind kind, int row) {
    switch (kind) {
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
}

} // namespace kx
