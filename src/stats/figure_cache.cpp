#include "figure_cache.h"

#include <QHash>

namespace kx {

RecordIdentity recordIdentity(const MainState& state) {
    RecordIdentity id;
    const EventList& events = state.lvData;
    id.lines = events.size();
    id.fileName = state.dlgOpen.fileName;
    id.format = state.recordFormat;
    if (id.lines > 0) {
        id.text = events.line(0).data();
        size_t hash = qHash(events.line(0));
        for (qsizetype i = 1; i < std::min<qsizetype>(id.lines, 4); ++i)
            hash = qHashMulti(hash, events.line(i));
        id.hash = qHashMulti(hash, events.line(id.lines - 1));
    }
    return id;
}

const WorldFigures& FigureCache::figures(const MainState& state, const FigureProgress& progress) {
    const RecordIdentity identity = recordIdentity(state);
    if (!isCurrent(identity)) {
        WorldFigures computed = computeWorldFigures(state.lvData, progress);
        ++computations_;
        key_.reset();
        figures_ = std::move(computed);
        if (!figures_.cancelled)
            key_ = identity;
    }
    return figures_;
}

void FigureCache::store(const RecordIdentity& identity, WorldFigures figures) {
    ++computations_;
    key_ = identity;
    figures_ = std::move(figures);
}

void FigureCache::clear() {
    key_.reset();
    figures_ = WorldFigures();
}

} // namespace kx
