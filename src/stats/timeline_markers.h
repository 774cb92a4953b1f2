#pragma once

#include "records/world.h"

#include <QByteArrayView>

#include <QString>

#include <cstdint>
#include <vector>

namespace kx {

// The moments of a world worth finding on the timeline.
enum class MarkerKind : uint8_t {
    AttackWon,     // an attack that took its target
    AttackLost,    // an attack the defender repelled
    HqDestroyed,   // a player's HQ fell (the player's team became -1)
    LastFieldLost, // a player lost the last field they owned, their HQ still standing
    WorldEnd,      // the last event: the world's summary follows it
    DayStart,      // the first event of a new calendar day
};
inline constexpr int kMarkerKindCount = 6;

// The Czech name of a kind, as the filter menu and the tool tips show it.
QString markerKindName(MarkerKind kind);

struct TimelineMarker {
    int32_t event = 0; // item index of the event in the event list
    MarkerKind kind = MarkerKind::DayStart;
    int16_t player = -1; // the player concerned (the attacker of an attack), or -1
    int16_t other = -1;  // the defender of an attack, or -1
};

// Which markers count: a set of kinds, and a player (-1 for everyone) who must be concerned.
struct MarkerFilter {
    uint32_t kinds = (1u << kMarkerKindCount) - 1;
    int player = -1;

    bool shows(MarkerKind kind) const { return (kinds >> static_cast<int>(kind)) & 1u; }
    bool accepts(const TimelineMarker& m) const {
        return shows(m.kind) && (player < 0 || m.player == player || m.other == player);
    }
};

// Collects the markers of a quiet replay, one step at a time: before() with the world as the
// event finds it, after() once it has been applied.
class MarkerCollector {
  public:
    explicit MarkerCollector(const World& world);

    void before(const World& world, int32_t event, QByteArrayView line);
    void after(const World& world);
    // The last event replayed ends the world.
    std::vector<TimelineMarker> finish(int32_t lastEvent);

  private:
    std::vector<TimelineMarker> markers_;
    std::vector<int32_t> fields_; // owned fields per owner code (player index + 1)
    std::vector<int32_t> teams_;  // per player, as before the event
    int32_t event_ = 0;
    int64_t day_ = -1;
    bool attack_ = false;
    int attacker_ = -1, defender_ = -1;
    int targetX_ = -1, targetY_ = -1;
    bool won_ = false;
};

// The first of markers (sorted by event) at or after `event`.
std::vector<TimelineMarker>::const_iterator
firstMarkerFrom(const std::vector<TimelineMarker>& markers, int32_t event);

// The markers `filter` accepts, found by event in markers sorted by event.
// The first one after `event`, or -1.
int32_t nextMarkerEvent(const std::vector<TimelineMarker>& markers, int32_t event,
                        const MarkerFilter& filter);
// The last one before `event`, or -1.
int32_t previousMarkerEvent(const std::vector<TimelineMarker>& markers, int32_t event,
                            const MarkerFilter& filter);
// Whether a marker at `event` passes.
bool isMarkedEvent(const std::vector<TimelineMarker>& markers, int32_t event,
                   const MarkerFilter& filter);

} // namespace kx
