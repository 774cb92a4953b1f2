#pragma once

#include "map_source.h"

namespace kx {

class ReplaySession;

// How the session's current view, highlight and HQ switch choose the icons.
IconContext iconContextOf(const ReplaySession& session);

// The replay session's world as the map widget sees it; pointing at a cell feeds the
// session's field inspector. The session must outlive the source.
class SessionMapSource : public MapSource {
  public:
    explicit SessionMapSource(ReplaySession& session) : session_(session) {}

    QSize gridSize() const override;
    const World& world() const override;
    IconContext iconContext() const override { return iconContextOf(session_); }
    void setRepaintSink(RepaintSink* sink) override;
    void pointAt(int column, int row) override;

  private:
    ReplaySession& session_;
};

} // namespace kx
