#pragma once

#include "records/event_list.h"
#include "records/world.h"

#include <QString>
#include <QStringList>

namespace kx {

class PlayerDirectory;

// Whoever draws the map is told which cells an event changed. Grid coordinates: world cell
// (x, y) is grid cell (x + 1, y + 1); row and column 0 hold the headers.
class RepaintSink {
  public:
    virtual ~RepaintSink() = default;
    virtual void redrawCell(int column, int row) = 0;
    virtual void redrawMap() = 0;
};

// What one event operation works on. Sentences and repaints happen only while
// world.liveDisplay is 1; the world changes the same either way.
struct ReplayContext {
    World& world;
    const EventList& events;
    const QStringList& playerEntries; // the player list: "name (team)" per player index
    QStringList& info;                // lines of the info memo
    RepaintSink* repaint = nullptr;
    const PlayerDirectory* directory = nullptr; // a fast index of playerEntries, when given
    bool stopSlideShow = false; // set when an unreadable number or cell asks to stop it

    // The item being replayed, already split, so that an operation need not split it again.
    const EventItem* current = nullptr;
    int currentRow = -1;

    // The event's item, split now unless it is the current one.
    EventItem itemAt(int row) const {
        return row == currentRow && current ? *current : events.item(row);
    }

    bool live() const { return world.liveDisplay == 1; }
    // Appends the sentence `make()` builds; it is not even built while the display is off.
    template <typename Make> void say(Make&& make) {
        if (live())
            info.append(make());
    }
};

} // namespace kx
