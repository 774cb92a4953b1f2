#include "session_map_source.h"

#include "replay/session.h"

#include <algorithm>

namespace kx {

IconContext iconContextOf(const ReplaySession& session) {
    IconContext context;
    context.viewFilter = session.viewItem();
    context.viewItem = session.viewItem();
    context.highlightFields = session.highlightFields();
    context.hideHq = session.hideHq();
    context.highlightOwner = session.highlightOwner();
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
