#pragma once

#include "replay/session.h"

namespace kx {

// Lets a test put a session into a state that no record reaches directly (a field code, the
// display switched off); the program itself changes a session only through its handlers.
struct SessionTestAccess {
    static MainState& state(ReplaySession& session) { return session.state_; }
};

} // namespace kx
