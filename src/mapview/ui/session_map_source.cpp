#include "session_map_source.h"

#include "replay/session.h"

#include <algorithm>

namespace kx {

IconContext iconContextOf(const ReplaySession& session) {
    IconContext context;
    const World& world = session.state().world;
    context.viewFilter = mapViewAt(world.viewFilter).value_or(MapView::All);
    context.viewItem = session.viewItem();
    context.highlightFields = session.highlightFields();
    context.hideHq = session.hideHq();
    context.highlightOwner = world.highlightOwner;
    return context;
}

QSize SessionMapSource::gridSize() const {
    return QSize(std::max(1, session_.state().mapColumns), std::max(1, session_.state().mapRows));
}

const World& SessionMapSource::world() const {
    return session_.state().world;
}

void SessionMapSource::setRepaintSink(RepaintSink* sink) {
    session_.setRepaintSink(sink);
}

void SessionMapSource::pointAt(int column, int row) {
    session_.dgMapMouseMove(column, row);
}

} // namespace kx
