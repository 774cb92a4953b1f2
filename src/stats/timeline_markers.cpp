#include "timeline_markers.h"

#include "records/cell_address.h"
#include "records/event_list.h"
#include "records/numbers.h"
#include "replay/event_kind.h"

#include <algorithm>

namespace kx {

namespace {

// The local calendar day of a replay hour (hour 0 is 02:00 local time).
int64_t localDay(int64_t hour) {
    const int64_t shifted = hour + 2;
    return shifted >= 0 ? shifted / 24 : -((-shifted + 23) / 24);
}

int ownerAt(const World& world, int x, int y) {
    return world.contains(x, y) ? fieldOwner(world.fieldGrid(x, y)) : 0;
}

} // namespace

QString markerKindName(MarkerKind kind) {
    static const char* const kNames[kMarkerKindCount] = {
        "Útok úspěšný", "Útok odražen", "Velení zničeno", "Ztráta posledního políčka",
        "Konec světa",  "Nový den"};
    return QString::fromUtf8(kNames[static_cast<int>(kind)]);
}

MarkerCollector::MarkerCollector(const World& world) : fields_(kMaxPlayers + 1, 0) {
    for (int x = 0; x < world.width(); ++x)
        for (int y = 0; y < world.height(); ++y)
            if (const int owner = fieldOwner(world.fieldGrid(x, y)); owner > 0)
                ++fields_[static_cast<size_t>(owner)];
    day_ = localDay(world.lastEventHour);
}

void MarkerCollector::before(const World& world, int32_t event, QByteArrayView line) {
    event_ = event;
    // Only an attack is split into all its fields: the caption is the second field, after the
    // time stamp ("time; caption; ...").
    const qsizetype first = line.indexOf(';');
    const QByteArrayView rest =
        first < 0 ? QByteArrayView() : line.sliced(std::min(first + 2, line.size()));
    const qsizetype second = rest.indexOf(';');
    attack_ = second >= 0 && eventKindOf(rest.first(second)) == EventKind::Attack;
    if (!attack_)
        return;
    const EventItem item = splitFields(line);
    const QByteArrayView origin = item.subItem(1);
    const QByteArrayView target = item.subItem(2);
    targetX_ = addressColumn(target);
    targetY_ = addressRow(target);
    attacker_ = ownerAt(world, addressColumn(origin), addressRow(origin)) - 1;
    defender_ = ownerAt(world, targetX_, targetY_) - 1;
    const auto outcome = parseDecimalInt(item.subItem(4));
    won_ = outcome && *outcome != 0 && world.contains(addressColumn(origin), addressRow(origin)) &&
           world.contains(targetX_, targetY_);
    teams_.resize(world.playerTable.size());
    for (size_t i = 0; i < teams_.size(); ++i)
        teams_[i] = world.playerTable[i][Team];
}

void MarkerCollector::after(const World& world) {
    if (const int64_t day = localDay(world.lastEventHour); day != day_) {
        if (day > day_)
            markers_.push_back({event_, MarkerKind::DayStart, -1, -1});
        day_ = day;
    }
    if (!attack_)
        return;
    auto player = [](int index) { return static_cast<int16_t>(index >= 0 ? index : -1); };
    markers_.push_back({event_, won_ ? MarkerKind::AttackWon : MarkerKind::AttackLost,
                        player(attacker_), player(defender_)});
    // The target changes hands; a fallen HQ takes every field of its player.
    const int ownerAfter = ownerAt(world, targetX_, targetY_);
    const bool defenderKnown = defender_ >= 0 && defender_ < kMaxPlayers;
    const int32_t defenderHad = defenderKnown ? fields_[static_cast<size_t>(defender_) + 1] : 0;
    if (ownerAfter != defender_ + 1) {
        if (defender_ >= 0 && defender_ < kMaxPlayers)
            fields_[static_cast<size_t>(defender_) + 1] =
                std::max(0, fields_[static_cast<size_t>(defender_) + 1] - 1);
        if (ownerAfter > 0)
            ++fields_[static_cast<size_t>(ownerAfter)];
    }
    bool defenderFell = false;
    for (size_t i = 0; i < teams_.size() && i < world.playerTable.size(); ++i) {
        if (teams_[i] == kTeamDestroyed || world.playerTable[i][Team] != kTeamDestroyed)
            continue;
        markers_.push_back(
            {event_, MarkerKind::HqDestroyed, player(static_cast<int>(i)), player(attacker_)});
        if (i + 1 < fields_.size())
            fields_[i + 1] = 0;
        defenderFell = defenderFell || static_cast<int>(i) == defender_;
    }
    if (!defenderFell && defenderKnown && defenderHad > 0 &&
        fields_[static_cast<size_t>(defender_) + 1] == 0)
        markers_.push_back(
            {event_, MarkerKind::LastFieldLost, player(defender_), player(attacker_)});
}

std::vector<TimelineMarker> MarkerCollector::finish(int32_t lastEvent) {
    if (lastEvent >= 0)
        markers_.push_back({lastEvent, MarkerKind::WorldEnd, -1, -1});
    return std::move(markers_);
}

std::vector<TimelineMarker>::const_iterator
firstMarkerFrom(const std::vector<TimelineMarker>& markers, int32_t event) {
    return std::lower_bound(markers.begin(), markers.end(), event,
                            [](const TimelineMarker& m, int32_t e) { return m.event < e; });
}

int32_t nextMarkerEvent(const std::vector<TimelineMarker>& markers, int32_t event,
                        const MarkerFilter& filter) {
    auto at = firstMarkerFrom(markers, event + 1);
    for (; at != markers.end(); ++at)
        if (filter.accepts(*at))
            return at->event;
    return -1;
}

int32_t previousMarkerEvent(const std::vector<TimelineMarker>& markers, int32_t event,
                            const MarkerFilter& filter) {
    auto at = firstMarkerFrom(markers, event);
    while (at != markers.begin()) {
        --at;
        if (filter.accepts(*at))
            return at->event;
    }
    return -1;
}

bool isMarkedEvent(const std::vector<TimelineMarker>& markers, int32_t event,
                   const MarkerFilter& filter) {
    auto at = firstMarkerFrom(markers, event);
    for (; at != markers.end() && at->event == event; ++at)
        if (filter.accepts(*at))
            return true;
    return false;
}

} // namespace kx
