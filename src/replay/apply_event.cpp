#include "apply_event.h"

namespace kx {

void applyEvent(ReplayContext& ctx, EventKind kind, int row) {
    if (const auto apply = eventKindInfo(kind).apply)
        apply(ctx, row);
}

} // namespace kx
