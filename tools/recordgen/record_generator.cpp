#include "record_generator.h"

#include "random_source.h"
#include "record_lines.h"
#include "sim_world.h"

#include "records/cell_address.h"
#include "records/time_stamp.h"
#include "records/unit_kinds.h"
#include "records/windows1250.h"
#include "records/world.h"

#include <QBuffer>

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace kx {

namespace {

constexpr std::array<const char*, 20> kPlayerNames = {
    "Pepa", "Jana", "Šimon",  "Kuře",  "Žofie", "Radek",  "Čeněk", "Lída",   "Tonda", "Věra",
    "Jiří", "Bára", "Ondřej", "Hanka", "Kuba",  "Růžena", "Vašek", "Zdeňka", "Matěj", "Eliška"};

constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"windows-1250\"?>";
constexpr int kMonthSeconds = 30 * 86400;

QByteArray encoded(const QString& text) {
    return encodeWindows1250(text).value_or(QByteArray());
}

QByteArray number(int64_t value) {
    return QByteArray::number(static_cast<qlonglong>(value));
}

// The name of player i: the list's names first, then the same names with a number.
QByteArray playerName(int i) {
    const int n = static_cast<int>(kPlayerNames.size());
    QString name = QString::fromUtf8(kPlayerNames[static_cast<size_t>(i % n)]);
    if (i >= n)
        name += QString::number(i / n + 1);
    return encoded(name);
}

char terrainLetter(int terrain) {
    return terrain == 2 ? 'B' : terrain == 3 ? 'S' : 'N';
}

class Generator {
  public:
    Generator(const RecordGeneratorOptions& options, LineWriter& xml, LineWriter& log)
        : options_(options), rng_(options.seed),
          world_(addressableColumns(options.width), options.height, options.players), xml_(xml),
          log_(log) {
        for (int kind = 1; kind <= 6; ++kind) {
            kindNames_[static_cast<size_t>(kind)][0] = encoded(unitRecordName(kind));
            kindNames_[static_cast<size_t>(kind)][1] = encoded(unitName(kind));
        }
        const int64_t events = std::max<int64_t>(options.events, 1);
        averageGap_ = static_cast<int>(std::clamp<int64_t>(kMonthSeconds / events, 1, 1200));
        quietEvery_ = std::max<int64_t>(40, events / 25);
    }

    void run() {
        now_ = options_.start;
        writeWorld();
        xml_.line("  <events>");
        writeHqBlock();
        now_ += rng_.between(300, 3600);
        for (int64_t i = 0; i < options_.events; ++i) {
            writeEvent();
            advanceTime();
        }
        xml_.line("  </events>");
        xml_.line("</record>");
    }

  private:
    int32_t clock() const {
        return static_cast<int32_t>(std::min<int64_t>(now_, std::numeric_limits<int32_t>::max()));
    }

    // Several events an hour for small records, tighter for large ones (a record spans about a
    // month at most), now and then a quiet spell of hours.
    void advanceTime() {
        now_ += rng_.pick(2 * averageGap_ + 1);
        if (rng_.below(static_cast<uint64_t>(quietEvery_)) == 0)
            now_ += 3600 * rng_.between(1, 8);
    }

    QByteArray address(int cell) const {
        QByteArray text(1, static_cast<char>('A' + world_.cellX(cell)));
        text += QByteArray::number(world_.cellY(cell));
        return text;
    }

    // Record names are lower case; some servers capitalise them now and then.
    const QByteArray& kindName(int kind) {
        return kindNames_[static_cast<size_t>(kind)][rng_.chance(12) ? 1 : 0];
    }

    void writeWorld();
    void writeHqBlock();
    void writeHq(const char* tag, int player, int cell, bool toLog);
    void writeEvent();
    bool tryBuy(int player);
    bool tryMove(int player);
    bool tryAttack(int player);
    bool tryRetreat(int player);
    bool tryConvert(int player);
    bool tryTrade(int player, bool toHq);

    template <typename Accept> int pickNeighbour(int cell, Accept accept);

    const RecordGeneratorOptions& options_;
    RandomSource rng_;
    SimWorld world_;
    LineWriter& xml_;
    LineWriter& log_;
    std::array<std::array<QByteArray, 2>, 7> kindNames_;
    EventLinePair event_;
    int averageGap_ = 1;
    int64_t quietEvery_ = 40;
    int64_t now_ = 0;
    std::vector<int> hqCells_; // per player; one more for an HQ that is moved
    bool moveOneHq_ = false;
};

void Generator::writeWorld() {
    const int width = options_.width;
    const int height = options_.height;
    QByteArray map(static_cast<qsizetype>(width) * height, 'N');
    for (char& letter : map) {
        const int r = rng_.pick(100);
        letter = r < 4 ? 'X' : r < 64 ? 'N' : r < 82 ? 'B' : 'S';
    }

    // HQs on distinct cells of the addressable part, passable ones first; an impassable cell
    // is made normal ground only when a tiny world has too few passable cells.
    moveOneHq_ = options_.players >= 2 && rng_.chance(50);
    std::vector<int> open;
    std::vector<int> blocked;
    for (int cell = 0; cell < world_.cellCount(); ++cell) {
        const char letter = map[world_.cellY(cell) * width + world_.cellX(cell)];
        (letter == 'X' ? blocked : open).push_back(cell);
    }
    const size_t needed = static_cast<size_t>(options_.players) + (moveOneHq_ ? 1 : 0);
    if (needed > open.size() + blocked.size())
        moveOneHq_ = false;
    for (std::vector<int>* cells : {&open, &blocked}) {
        for (size_t i = 0; i < cells->size() && hqCells_.size() < needed; ++i) {
            std::swap(
                (*cells)[i],
                (*cells)[i + static_cast<size_t>(rng_.pick(static_cast<int>(cells->size() - i)))]);
            hqCells_.push_back((*cells)[i]);
        }
    }
    for (const int cell : hqCells_)
        map[world_.cellY(cell) * width + world_.cellX(cell)] = 'N';
    for (int cell = 0; cell < world_.cellCount(); ++cell)
        world_.setTerrain(cell,
                          terrainFromLetter(map[world_.cellY(cell) * width + world_.cellX(cell)]));

    const QByteArray name = encoded(options_.name);
    const QByteArray time = timeTextFromUnix(clock());
    QByteArray line = "  <world>";
    auto child = [&line](const char* tag, QByteArrayView value) {
        line += '<';
        line += tag;
        line += '>';
        line += value;
        line += "</";
        line += tag;
        line += '>';
    };
    child("id", number(1000 + rng_.pick(9000)));
    child("name", name);
    child("created", number(clock()));
    child("width", number(width));
    child("height", number(height));
    child("players", number(options_.players));
    child("speed", number(options_.speed));
    child("map", map);
    line += "</world>";

    xml_.line(kDeclaration);
    xml_.line("<record>");
    xml_.line(line);
    log_.line(time + "; " + name + "; " + number(options_.players) + "; " + number(width) + "; " +
              number(height) + "; " + number(options_.speed) + ";");
    log_.line(time + "; create_world; " + map + ";");
    log_.line("");
}

void Generator::writeHq(const char* tag, int player, int cell, bool toLog) {
    now_ += rng_.between(60, 900);
    const QByteArray time = timeTextFromUnix(clock());
    const QByteArray name = playerName(player);
    const QByteArray team = player % 2 == 0 ? "louka" : "les";
    QByteArray line = "    <" + QByteArray(tag) + "><time>" + number(clock()) + "</time><player>" +
                      name + "</player><cell>" + address(cell) + "</cell>";
    if (QByteArrayView(tag) == "chq")
        line += "<team>" + team + "</team>";
    line += "</" + QByteArray(tag) + ">";
    xml_.line(line);
    if (toLog)
        log_.line(time + "; create_hq; " + name + "; " + team + "; " + address(cell) + ";");
}

// Players are numbered in the order of their create_hq lines. When one HQ is moved, that
// player's first HQ comes earlier in the block and is removed (rhq) right before the player's
// final HQ line; the removal stands where the HQ count is still below the number of players,
// so the converter reads it and the final create_hq lines keep the player order.
void Generator::writeHqBlock() {
    const int players = options_.players;
    const int moved = moveOneHq_ ? rng_.pick(players - 1) : -1;
    const int firstAt = moveOneHq_ ? rng_.pick(moved + 1) : -1;
    const int oldCell = moveOneHq_ ? hqCells_.back() : -1;
    for (int i = 0; i < players; ++i) {
        if (i == firstAt)
            writeHq("chq", moved, oldCell, false);
        if (i == moved)
            writeHq("rhq", moved, oldCell, false);
        writeHq("chq", i, hqCells_[static_cast<size_t>(i)], true);
        world_.placeHq(i, i % 2, hqCells_[static_cast<size_t>(i)]);
    }
}

void Generator::writeEvent() {
    const std::vector<int>& living = world_.livingPlayers();
    const int player = living[static_cast<size_t>(rng_.pick(static_cast<int>(living.size())))];
    const int r = rng_.pick(100);
    bool done = false;
    if (r < 26)
        done = tryBuy(player);
    else if (r < 44)
        done = tryMove(player);
    else if (r < 70)
        done = tryAttack(player);
    else if (r < 76)
        done = tryRetreat(player);
    else if (r < 84)
        done = tryConvert(player);
    else
        done = tryTrade(player, r >= 93);
    if (!done)
        tryBuy(player); // always possible: a living player holds its HQ
}

template <typename Accept> int Generator::pickNeighbour(int cell, Accept accept) {
    std::array<int, 8> found{};
    int count = 0;
    const int x = world_.cellX(cell);
    const int y = world_.cellY(cell);
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if ((dx == 0 && dy == 0) || !world_.contains(x + dx, y + dy))
                continue;
            const int next = world_.cellAt(x + dx, y + dy);
            if (world_.passable(next) && accept(next))
                found[static_cast<size_t>(count++)] = next;
        }
    }
    return count == 0 ? -1 : found[static_cast<size_t>(rng_.pick(count))];
}

bool Generator::tryBuy(int player) {
    const std::vector<int>& owned = world_.ownedCells(player);
    if (owned.empty())
        return false;
    const int cell = owned[static_cast<size_t>(rng_.pick(static_cast<int>(owned.size())))];
    const int kind = world_.unitCount(cell) > 0 ? world_.unitKind(cell) : rng_.between(1, 6);
    const int count = rng_.between(1, 20);
    event_.begin("buy", "buy", clock(), timeTextFromUnix(clock()));
    event_.both("cell", address(cell));
    event_.both("unit", kindName(kind));
    event_.both("count", number(count));
    event_.write(xml_, log_);
    world_.addUnits(cell, kind, count);
    return true;
}

bool Generator::tryMove(int player) {
    const std::vector<int>& withUnits = world_.unitCells(player);
    for (int attempt = 0; attempt < 3 && !withUnits.empty(); ++attempt) {
        const int from =
            withUnits[static_cast<size_t>(rng_.pick(static_cast<int>(withUnits.size())))];
        const int kind = world_.unitKind(from);
        const int to = pickNeighbour(from, [&](int cell) {
            return world_.owner(cell) == player &&
                   (world_.unitCount(cell) == 0 || world_.unitKind(cell) == kind);
        });
        if (to < 0)
            continue;
        const int count = rng_.between(1, world_.unitCount(from));
        event_.begin("mov", "move", clock(), timeTextFromUnix(clock()));
        event_.both("from", address(from));
        event_.both("to", address(to));
        event_.both("count", number(count));
        event_.write(xml_, log_);
        world_.removeUnits(from, count);
        world_.addUnits(to, kind, count);
        return true;
    }
    return false;
}

bool Generator::tryAttack(int player) {
    const std::vector<int>& withUnits = world_.unitCells(player);
    const int team = world_.team(player);
    for (int attempt = 0; attempt < 3 && !withUnits.empty(); ++attempt) {
        const int from =
            withUnits[static_cast<size_t>(rng_.pick(static_cast<int>(withUnits.size())))];
        const int to = pickNeighbour(from, [&](int cell) {
            const int owner = world_.owner(cell);
            return owner < 0 || (owner != player && world_.team(owner) != team);
        });
        if (to < 0)
            continue;
        const int kind = world_.unitKind(from);
        const int sent = rng_.between(1, world_.unitCount(from));
        const int defender = world_.owner(to);
        const int defenders = world_.unitCount(to);
        const int defenderKind = world_.unitKind(to);
        const bool hq = world_.isHq(to);
        const int odds = defender < 0 ? 85 : hq ? 5 : sent > defenders ? 65 : 30;
        const bool success = rng_.chance(odds);
        const int left = success         ? rng_.between(1, sent)
                         : defenders > 0 ? rng_.between(1, defenders)
                                         : 0;
        event_.begin("att", "attack", clock(), timeTextFromUnix(clock()));
        event_.both("from", address(from));
        event_.both("to", address(to));
        event_.both("sent", number(sent));
        event_.xmlChild("unit", kindName(kind));
        event_.xmlChild("defenders", number(defenders));
        event_.xmlChild("defunit", defenders > 0 ? kindName(defenderKind) : QByteArray());
        event_.both("success", success ? "1" : "0");
        event_.both("left", number(left));
        event_.write(xml_, log_);
        world_.removeUnits(from, sent);
        if (success) {
            if (hq)
                world_.destroyPlayer(defender);
            world_.conquer(to, player, kind, left);
        } else {
            world_.removeUnits(to, defenders - left);
        }
        return true;
    }
    return false;
}

bool Generator::tryRetreat(int player) {
    const std::vector<int>& withUnits = world_.unitCells(player);
    if (withUnits.empty())
        return false;
    const int cell = withUnits[static_cast<size_t>(rng_.pick(static_cast<int>(withUnits.size())))];
    const int count = rng_.between(1, world_.unitCount(cell));
    event_.begin("ret", "retreat", clock(), timeTextFromUnix(clock()));
    event_.both("cell", address(cell));
    event_.both("count", number(count));
    event_.write(xml_, log_);
    world_.removeUnits(cell, count);
    return true;
}

bool Generator::tryConvert(int player) {
    const std::vector<int>& owned = world_.ownedCells(player);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int cell = owned[static_cast<size_t>(rng_.pick(static_cast<int>(owned.size())))];
        if (world_.isHq(cell))
            continue;
        // One of the two other terrains.
        const int terrain = (world_.terrain(cell) + rng_.between(0, 1)) % 3 + 1;
        const char letter = terrainLetter(terrain);
        event_.begin("cfd", "convert_gnd", clock(), timeTextFromUnix(clock()));
        event_.both("cell", address(cell));
        event_.both("terrain", QByteArrayView(&letter, 1));
        event_.write(xml_, log_);
        world_.setTerrain(cell, terrain);
        return true;
    }
    return false;
}

bool Generator::tryTrade(int player, bool toHq) {
    const std::vector<int>& living = world_.livingPlayers();
    if (living.size() < 2)
        return false;
    int receiver = player;
    while (receiver == player)
        receiver = living[static_cast<size_t>(rng_.pick(static_cast<int>(living.size())))];
    const int amount = 10 * rng_.between(1, toHq ? 30 : 50);
    event_.begin(toHq ? "trb" : "trn", toHq ? "trade_hq" : "trade", clock(),
                 timeTextFromUnix(clock()));
    event_.both("from", playerName(player));
    event_.both("to", playerName(receiver));
    event_.both("nectar", number(amount));
    if (toHq) {
        // Nectar sent to an HQ becomes "komár" there, at two nectar each.
        event_.both("units", number(amount / 2));
        world_.addUnits(world_.hq(receiver), 1, amount / 2);
    }
    event_.write(xml_, log_);
    return true;
}

} // namespace

int addressableColumns(int width) {
    int x = 0;
    while (x < width) {
        const char letter = static_cast<char>(('A' + x) & 0xFF);
        if (addressColumn(QByteArrayView(&letter, 1)) != x)
            break;
        ++x;
    }
    return x;
}

QString checkGeneratorOptions(const RecordGeneratorOptions& options) {
    if (options.events < 0 || options.events > kMaxGeneratedEvents)
        return QStringLiteral("events must be 0 to %1").arg(kMaxGeneratedEvents);
    if (options.players < 1 || options.players > kMaxGeneratedPlayers)
        return QStringLiteral("players must be 1 to %1").arg(kMaxGeneratedPlayers);
    if (options.width < 1 || options.width > kMaxGeneratedSide || options.height < 1 ||
        options.height > kMaxGeneratedSide)
        return QStringLiteral("width and height must be 1 to %1").arg(kMaxGeneratedSide);
    if (options.speed < 1 || options.speed > kMaxGeneratedSpeed)
        return QStringLiteral("speed must be 1 to %1").arg(kMaxGeneratedSpeed);
    if (options.start < 0 || options.start > kMaxGeneratedStart)
        return QStringLiteral("start must be 0 to %1").arg(kMaxGeneratedStart);
    if (int64_t{addressableColumns(options.width)} * options.height < options.players)
        return QStringLiteral("the world has too few cells for %1 players").arg(options.players);
    // The name goes unchanged into an XML child and an event-log field.
    if (options.name.isEmpty() || options.name.size() > 100)
        return QStringLiteral("the name must have 1 to 100 characters");
    for (const QChar c : options.name) {
        if (c.unicode() < 0x20 || c == u';' || c == u'<' || c == u'>' || c == u'&')
            return QStringLiteral("the name must not hold control characters or ; < > &");
    }
    if (firstUnencodableWindows1250(options.name) >= 0)
        return QStringLiteral("the name has a character that Windows-1250 cannot hold");
    return {};
}

bool writeGeneratedRecord(const RecordGeneratorOptions& options, QIODevice* xml, QIODevice* log,
                          QString* error) {
    const QString problem = checkGeneratorOptions(options);
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    LineWriter xmlLines(xml);
    LineWriter logLines(log);
    Generator(options, xmlLines, logLines).run();
    const bool xmlWritten = xmlLines.finish();
    const bool logWritten = logLines.finish();
    if (!xmlWritten || !logWritten) {
        if (error)
            *error = QStringLiteral("writing failed: %1")
                         .arg(!xmlWritten ? xml->errorString() : log->errorString());
        return false;
    }
    return true;
}

GeneratedRecord generateRecord(const RecordGeneratorOptions& options) {
    GeneratedRecord record;
    QBuffer xml(&record.xml);
    QBuffer log(&record.log);
    xml.open(QIODevice::WriteOnly);
    log.open(QIODevice::WriteOnly);
    if (!writeGeneratedRecord(options, &xml, &log, &record.error)) {
        record.xml.clear();
        record.log.clear();
    }
    return record;
}

} // namespace kx
