#include "state_json.h"

#include "replay/session.h"

#include <QJsonArray>

namespace kx {

namespace {

QJsonArray gridJson(const Grid& grid) {
    QJsonArray columns;
    for (int x = 0; x < grid.width(); ++x) {
        QJsonArray column;
        for (int y = 0; y < grid.height(); ++y)
            column.append(grid(x, y));
        columns.append(column);
    }
    return columns;
}

} // namespace

QJsonObject mainStateJson(const ReplaySession& session, const QStringList& messages) {
    const MainState& s = session.state();
    const World& w = s.world;

    QJsonArray players;
    for (const PlayerRecord& record : w.playerTable) {
        QJsonArray items;
        for (int32_t value : record)
            items.append(value);
        players.append(items);
    }

    QJsonObject o;
    o.insert("messages", QJsonArray::fromStringList(messages));
    o.insert("caption", s.gbPlayersCaption);
    o.insert("players", QJsonArray::fromStringList(s.cbPlayers));
    o.insert("selected", s.selectedPlayer);
    o.insert("width", w.width());
    o.insert("height", w.height());
    o.insert("movesPerHour", w.movesPerHour);
    o.insert("eventCount", static_cast<qint64>(s.lvData.size()));
    o.insert("eventIndex", w.eventIndex);
    o.insert("lastEventTime", w.lastEventTime);
    o.insert("liveDisplay", w.liveDisplay);
    o.insert("highlightOwner", s.mapView.highlightOwner);
    o.insert("viewFilter", static_cast<int>(s.mapView.view));
    o.insert("fieldGrid", gridJson(w.fieldGrid.grid()));
    o.insert("unitGrid", gridJson(w.unitGrid));
    o.insert("playerTable", players);
    o.insert("info", QJsonArray::fromStringList(s.info));
    o.insert("time", s.lbTime);
    o.insert("slideShow", QJsonObject{{"enabled", s.slideShowEnabled},
                                      {"interval", s.slideShowInterval},
                                      {"edTime", s.edTime}});
    o.insert("summaryShown", s.summaryShown);
    o.insert("summary", QJsonArray::fromStringList(s.summary));
    o.insert("stats", QJsonObject{{"lbPT", s.stats.lbPT},
                                  {"lbPN", s.stats.lbPN},
                                  {"lbPP", s.stats.lbPP},
                                  {"lbPH", s.stats.lbPH},
                                  {"lbPA", s.stats.lbPA},
                                  {"lbPD", s.stats.lbPD}});
    o.insert("inspector", QJsonObject{{"lbFN", s.inspector.lbFN},
                                      {"lbFT", s.inspector.lbFT},
                                      {"lbFO", s.inspector.lbFO},
                                      {"lbFU", s.inspector.lbFU},
                                      {"lbFC", s.inspector.lbFC}});
    return o;
}

} // namespace kx
