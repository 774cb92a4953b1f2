#include "replayer.h"

#include "apply_event.h"
#include "event_kind.h"
#include "production.h"

#include "records/numbers.h"
#include "records/time_stamp.h"

namespace kx {

QString recountSentence(int32_t count) {
    if (count >= 6)
        return QString::fromUtf8("Provedeno %1 přepočtů.").arg(count);
    if (count >= 2)
        return QString::fromUtf8("Provedeny %1 přepočty.").arg(count);
    return QString::fromUtf8("Proveden 1 přepočet.");
}

Replayer::Replayer(World& world, const EventList& events, const QStringList& players)
    : events_(events), players_(players), world_(world) {}

const PlayerDirectory& Replayer::directory() {
    if (!directory_.isFor(players_))
        directory_.rebuild(players_);
    return directory_;
}

int32_t Replayer::recountsDue() const {
    if (atEnd())
        return 0;
    // Only the time stamp, field 0, is needed: the text before the first semicolon (nothing
    // when the line has none), without splitting the whole line.
    const QByteArrayView line = events_.line(world_.eventIndex);
    const qsizetype end = line.indexOf(';');
    const auto time = readTimeStamp(end < 0 ? QByteArrayView() : line.first(end));
    return recountsBetween(world_.lastEventHour, time ? time->hour : world_.lastEventHour);
}

ReplayStep Replayer::step(QStringList& info, RepaintSink* repaint, bool sayRecounts) {
    ReplayStep result;
    const int32_t row = world_.eventIndex;
    const EventItem event = events_.item(row);

    // An unreadable time stamp counts as the previous event's time (no recount).
    StampTime time{world_.lastEventTime, world_.lastEventHour};
    if (const auto read = readTimeStamp(event.subItem(0)))
        time = *read;
    else
        result.timeUnreadable = true;

    result.recounts = recountsBetween(world_.lastEventHour, time.hour);
    if (result.recounts != 0) {
        if (sayRecounts && world_.liveDisplay == 1)
            info.append(recountSentence(result.recounts));
        applyHourlyRecounts(world_, static_cast<int>(players_.size()), result.recounts,
                            production_);
    }

    ReplayContext ctx{world_, events_, players_, info, repaint, &directory()};
    ctx.current = &event;
    ctx.currentRow = row;
    applyEvent(ctx, eventKindOf(event.caption), row);
    result.stopSlideShow = ctx.stopSlideShow;

    world_.lastEventTime = time.seconds;
    world_.lastEventHour = time.hour;
    world_.eventIndex = wrapAdd(world_.eventIndex, 1);
    return result;
}

} // namespace kx
