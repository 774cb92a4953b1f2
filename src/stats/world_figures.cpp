#include "world_figures.h"

#include "records/record_loader.h"
#include "replay/replayer.h"

#include <cstring>

namespace kx {

namespace {

// Collects rows of rising hours, merging rows that fall into one row of hoursPerRow hours.
class RowBuilder {
  public:
    explicit RowBuilder(WorldFigures& figures) : f_(figures) {}

    void commit(int64_t hour, QByteArrayView time, const World& world) {
        const size_t players = f_.players.size();
        const int64_t start = hour - hour % f_.hoursPerRow;
        if (f_.rowHours.empty() || f_.rowHours.back() != start) {
            f_.rowHours.push_back(start);
            f_.rowTimes.emplace_back(time.toByteArray());
            f_.values.resize(f_.values.size() + players * kFigureCount);
        }
        // The later state of the same row wins: a row holds the state at its end.
        int32_t* row = f_.values.data() + f_.values.size() - players * kFigureCount;
        const std::vector<ResultRow> results = resultRows(world);
        for (size_t i = 0; i < players && i < results.size(); ++i) {
            int32_t* cell = row + i * kFigureCount;
            cell[static_cast<int>(Figure::Nectar)] = results[i][ResultNectar];
            cell[static_cast<int>(Figure::Moves)] = world.playerTable[i][Moves];
            cell[static_cast<int>(Figure::Territory)] = results[i][ResultFields];
            cell[static_cast<int>(Figure::Production)] = results[i][ResultProduction];
        }
        if (f_.rowCount() > kMaxFigureRows)
            coarsen();
    }

  private:
    // Doubles the hours of a row and merges the rows that now share one.
    void coarsen() {
        f_.hoursPerRow *= 2;
        const size_t width = f_.players.size() * kFigureCount;
        size_t kept = 0;
        for (size_t r = 0; r < f_.rowHours.size(); ++r) {
            const int64_t start = f_.rowHours[r] - f_.rowHours[r] % f_.hoursPerRow;
            if (kept > 0 && f_.rowHours[kept - 1] == start) {
                std::memmove(f_.values.data() + (kept - 1) * width, f_.values.data() + r * width,
                             width * sizeof(int32_t));
                continue;
            }
            f_.rowHours[kept] = start;
            f_.rowTimes[kept] = f_.rowTimes[r];
            if (kept != r)
                std::memmove(f_.values.data() + kept * width, f_.values.data() + r * width,
                             width * sizeof(int32_t));
            ++kept;
        }
        f_.rowHours.resize(kept);
        f_.rowTimes.resize(kept);
        f_.values.resize(kept * width);
    }

    WorldFigures& f_;
};

} // namespace

WorldFigures computeWorldFigures(const EventList& events, const FigureProgress& progress) {
    WorldFigures figures;
    World world;
    QStringList entries;
    QString caption;
    int columns = 0;
    int rows = 0;
    if (!buildInitialWorld(events, world, entries, caption, columns, rows).ok)
        return figures;
    world.liveDisplay = 0;

    const int players = std::min<int>(static_cast<int>(entries.size()), world.playerCount());
    for (int i = 0; i < players; ++i) {
        const EventItem hq = events.item(i + 2);
        figures.players.push_back({hq.subItemText(1), hq.subItemText(2), entries.at(i),
                                   world.playerTable[static_cast<size_t>(i)][Team] == kTeamLes});
    }

    Replayer replayer(world, events, entries);
    RowBuilder builder(figures);
    const qsizetype count = events.size();
    // The world was created at the time of the last line the build read.
    QByteArray rowTime = events.item(world.eventIndex - 1).subItem(0).toByteArray();
    int64_t hour = 0;
    const qsizetype first = world.eventIndex;
    uint32_t steps = 0;
    QStringList silent; // a quiet replay says nothing
    MarkerCollector markers(world);
    while (!replayer.atEnd()) {
        const qsizetype i = world.eventIndex;
        // A row ends before the recounts the step is about to apply.
        if (const int32_t recounts = replayer.recountsDue(); recounts > 0) {
            builder.commit(hour, rowTime, world);
            hour += recounts;
            rowTime = events.item(i).subItem(0).toByteArray();
        }
        markers.before(world, static_cast<int32_t>(i), events.line(i));
        replayer.step(silent);
        markers.after(world);
        if (world.eventIndex <= i)
            break; // a step always moves on; never loop on one that did not
        if (progress && steps++ % 4096 == 0 &&
            !progress(static_cast<int>(int64_t{i} * 100 / count))) {
            WorldFigures cancelled;
            cancelled.cancelled = true;
            return cancelled;
        }
    }
    builder.commit(hour, rowTime, world);
    figures.eventCount = count - first;
    figures.markers = markers.finish(count > first ? static_cast<int32_t>(count - 1) : -1);

    figures.endRows = resultRows(world);
    figures.best = bestRow(figures.endRows);
    figures.winningTeam = winningTeam(world, entries);
    figures.valid = true;
    if (progress)
        progress(100);
    return figures;
}

} // namespace kx
