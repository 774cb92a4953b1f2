#pragma once

#include "world_figures.h"

#include <cstdint>
#include <optional>

namespace kx {

class ReplaySession;

// The figures of the last record they were computed for, keyed on the session's record
// generation (every load or reload is a new record); computed again only when it changes.
class FigureCache {
  public:
    bool isCurrent(uint64_t generation) const { return key_ == generation; }
    bool isCurrent(const ReplaySession& session) const;

    // The figures of the session's record, computed now unless they are cached.
    const WorldFigures& figures(const ReplaySession& session, const FigureProgress& progress = {});
    // Keeps figures computed elsewhere (on another thread) for record generation `generation`.
    void store(uint64_t generation, WorldFigures figures);
    const WorldFigures& cached() const { return figures_; }
    void clear();

    int computations() const { return computations_; }

  private:
    std::optional<uint64_t> key_;
    WorldFigures figures_;
    int computations_ = 0;
};

} // namespace kx
