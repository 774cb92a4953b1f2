#include "clip_frames.h"

#include "records/time_stamp.h"
#include "replay/session.h"

#include <algorithm>

namespace kx {

ClipRecord clipRecordOf(const ReplaySession& session) {
    const MainState& state = session.state();
    return {session.initialWorld(), state.lvData, state.cbPlayers, session.firstEventIndex(),
            QSize(state.mapColumns, state.mapRows)};
}

ClipFrames::ClipFrames(const ClipRecord& record, int32_t from, int32_t to, FramePace pace)
    : record_(record), replay_(record.events, record.players), to_(to), pace_(pace), from_(from) {
    replay_.reset(record.initialWorld);
}

bool ClipFrames::next() {
    while (replay_.world().eventIndex < from_) // the events before the range, quietly
        replay_.step(nullptr);
    for (;;) {
        const int32_t event = replay_.world().eventIndex;
        if (event > to_ || event < from_)
            return false;
        sentences_.clear();
        replay_.step(&sentences_);
        // In an hour's pace the frame is the hour's last event: the next one starts a new hour.
        if (pace_ == FramePace::Event || event == from_ || event == to_ ||
            replay_.recountsDue() > 0) {
            shown_ = event;
            return true;
        }
    }
}

QString ClipFrames::caption() const {
    if (shown_ < 0)
        return {};
    const QString time = eventTimeLabel(record_.events.item(shown_).subItem(0));
    return sentences_.isEmpty() ? time
                                : time + QStringLiteral("  ") + sentences_.join(QLatin1Char(' '));
}

int ClipFrames::percentDone() const {
    const int64_t done = int64_t{replay_.world().eventIndex} - from_;
    return static_cast<int>(std::clamp<int64_t>(done * 100 / (int64_t{to_} - from_ + 1), 0, 100));
}

} // namespace kx
