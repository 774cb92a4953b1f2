#pragma once

#include "event_kind.h"
#include "replay_context.h"

namespace kx {

// Hands an event to the operation of its kind; an event of another kind changes nothing.
void applyEvent(ReplayContext& ctx, EventKind kind, int row);

} // namespace kx
