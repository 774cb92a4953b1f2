#include "figure_cache.h"

#include "replay/session.h"

namespace kx {

bool FigureCache::isCurrent(const ReplaySession& session) const {
    return isCurrent(session.recordGeneration());
}

const WorldFigures& FigureCache::figures(const ReplaySession& session,
                                         const FigureProgress& progress) {
    const uint64_t generation = session.recordGeneration();
    if (!isCurrent(generation)) {
        WorldFigures computed = computeWorldFigures(session.state().lvData, progress);
        ++computations_;
        key_.reset();
        figures_ = std::move(computed);
        if (!figures_.cancelled)
            key_ = generation;
    }
    return figures_;
}

void FigureCache::store(uint64_t generation, WorldFigures figures) {
    ++computations_;
    key_ = generation;
    figures_ = std::move(figures);
}

void FigureCache::clear() {
    key_.reset();
    figures_ = WorldFigures();
}

} // namespace kx
