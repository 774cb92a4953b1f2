#pragma once

#include "records/event_list.h"
#include "replay/world_end.h"
#include "stats/timeline_markers.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

namespace kx {

// The figures followed over time for every player.
enum class Figure : int { Nectar = 0, Moves, Territory, Production };
inline constexpr int kFigureCount = 4;

// A player as the record creates it.
struct FigurePlayer {
    QString name;  // decoded from the record's Windows-1250
    QString team;  // the team text of the record ("louka", "les" or anything else)
    QString entry; // the player list's entry "name (team)"
    bool les = false;
};

// The whole world over game time, from one quiet replay of a record, with the end-of-world
// figures. Game hours count the hourly recounts the replay applies (the first row, hour 0,
// is the hour in which the world was created). A row holds the state at the end of its
// hours: after the last event replayed before the next recount. Hours in which no event
// happened have no row of their own, since the replay knows no state there; a very long
// record gets rows of several hours each (hoursPerRow), so that memory stays bounded.
struct WorldFigures {
    bool valid = false;     // the record built a world
    bool cancelled = false; // the pass was cancelled before the end
    std::vector<FigurePlayer> players;
    int64_t hoursPerRow = 1;
    std::vector<int64_t> rowHours;    // first game hour of each row, rising
    std::vector<QByteArray> rowTimes; // time stamp of the first event of each row
    std::vector<int32_t> values;      // [row][player][figure]
    qsizetype eventCount = 0;         // events replayed

    // The world at the end.
    std::vector<ResultRow> endRows;
    BestRow best{};
    QString winningTeam;

    // The moments worth finding, by event.
    std::vector<TimelineMarker> markers;

    int rowCount() const { return static_cast<int>(rowHours.size()); }
    int playerCount() const { return static_cast<int>(players.size()); }
    int32_t value(int row, int player, Figure figure) const {
        const size_t at =
            (static_cast<size_t>(row) * players.size() + static_cast<size_t>(player)) *
                kFigureCount +
            static_cast<size_t>(figure);
        return values[at];
    }
};

// The most rows kept; beyond it rows of twice as many hours are merged.
inline constexpr int kMaxFigureRows = 8192;

// Told the progress in percent now and then; returning false cancels the pass (the result is
// then invalid).
using FigureProgress = std::function<bool(int percent)>;

// Replays `events` quietly from the initial world with the replay engine and collects the
// figures. An event list that builds no world gives an invalid result.
WorldFigures computeWorldFigures(const EventList& events, const FigureProgress& progress = {});

} // namespace kx
