#pragma once

#include "records/event_list.h"
#include "records/windows1250.h"
#include "records/world.h"
#include "replay/replay_context.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace kx::test {

// Records every repaint as "column,row" or "map".
class RecordingSink : public RepaintSink {
  public:
    QStringList calls;
    void redrawCell(int column, int row) override {
        calls << QString::number(column) + u',' + QString::number(row);
    }
    void redrawMap() override { calls << QStringLiteral("map"); }
};

// A world of normal ground with players, an event list and a context over them.
class ReplayTest : public ::testing::Test {
  protected:
    World world;
    EventList events;
    QStringList entries;
    QStringList info;
    RecordingSink sink;
    ReplayContext ctx{world, events, entries, info, &sink};

    void makeWorld(int width, int height, int players) {
        world.allocateWorld(width, height, players);
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y)
                world.fieldGrid(x, y) = 1;
        for (int i = 0; i < players; ++i)
            world.playerTable[static_cast<size_t>(i)] = {i, 15, 500, 0, 0, 0, 0, 0};
    }
    // Places an HQ for player index i and names it "name (team)".
    void addHq(int i, const QString& name, const QString& team, int x, int y) {
        PlayerRecord& p = world.playerTable[static_cast<size_t>(i)];
        p[Team] = team == u"les" ? kTeamLes : kTeamLouka;
        p[HqX] = x;
        p[HqY] = y;
        world.fieldGrid(x, y) =
            (i + 1) * 100 + 30 + (p[Team] == kTeamLes ? 5 : 0) + world.fieldGrid(x, y) % 5;
        while (entries.size() <= i)
            entries << QString();
        entries[i] = name + QStringLiteral(" (") + team + u')';
    }
    // Appends an event-log line (given in UTF-8, stored as Windows-1250); returns its row.
    int event(const char* line) {
        events.append(*encodeWindows1250(QString::fromUtf8(line)));
        return static_cast<int>(events.size() - 1);
    }
    void put(int x, int y, int32_t field, int32_t units = 0) {
        world.fieldGrid(x, y) = field;
        world.unitGrid(x, y) = units;
    }
    PlayerRecord& player(int i) { return world.playerTable[static_cast<size_t>(i)]; }
};

} // namespace kx::test
