#include "unit_actions.h"

#include "records/cell_address.h"
#include "records/numbers.h"
#include "records/unit_kinds.h"

#include <cmath>
#include <optional>

namespace kx {

namespace {

bool insideWorld(const World& world, int64_t x, int64_t y) {
    return x >= 0 && y >= 0 && x < world.width() && y < world.height();
}

// The event's item, or nothing for a row the list does not hold.
std::optional<EventItem> eventAt(const ReplayContext& ctx, int row) {
    if (row < 0 || row >= ctx.events.size())
        return std::nullopt;
    return ctx.itemAt(row);
}

// Whole moves from a cost computed in double precision, truncated; saturated so that no
// value can make the conversion undefined.
int32_t truncatedMoves(double value) {
    if (!(value < 2147483647.0))
        return INT32_MAX;
    return value > 0 ? static_cast<int32_t>(value) : 0;
}

// Field code of a conquered target: the origin's owner, class 1 (louka) or 2 (les) with the
// units flag, and the target's own terrain.
int32_t conqueredCode(int32_t originCode, int32_t targetCode) {
    const int32_t f = wrapMod(originCode, 100);
    int32_t code = wrapSub(wrapMod(originCode, 10000), f);
    code = wrapAdd(code, wrapAdd(wrapMod(targetCode, 5), 5));
    if ((f >= 10 && f <= 19) || (f >= 30 && f <= 34))
        code = wrapAdd(code, 10);
    if ((f >= 20 && f <= 29) || (f >= 36 && f <= 39))
        code = wrapAdd(code, 20);
    return code;
}

int32_t unitsTimesTen(int32_t count) {
    return wrapMul(count, 10);
}

bool isHqCode(int32_t code) {
    return wrapMod(code, 100) > 30;
}
bool belowHqCode(int32_t code) {
    return wrapMod(code, 100) < 30;
}

QString text(const EventItem& item, int k) {
    return item.subItemText(k);
}

} // namespace

int32_t attackCost(int64_t dx, int64_t dy, int32_t terrainFactor) {
    const double m = terrainFactor;
    const double fx = static_cast<double>(dx);
    const double fy = static_cast<double>(dy);
    return truncatedMoves(std::floor(std::sqrt(m * m * (fx * fx + fy * fy)) + 0.5));
}

int32_t moveCost(int64_t dx, int64_t dy) {
    const double fx = static_cast<double>(dx);
    const double fy = static_cast<double>(dy);
    return truncatedMoves(std::sqrt(fx * fx + fy * fy));
}

CellRef readCell(ReplayContext& ctx, QByteArrayView address) {
    bool unreadable = false;
    CellRef cell{addressColumn(address), addressRow(address, &unreadable)};
    if (unreadable)
        ctx.stopSlideShow = true;
    return cell;
}

int32_t readCount(ReplayContext& ctx, QByteArrayView text) {
    if (const auto value = parseDecimalInt(text))
        return *value;
    ctx.stopSlideShow = true;
    return 0;
}

PlayerRecord* playerRecord(ReplayContext& ctx, int playerIndex) {
    if (!ctx.world.hasPlayer(playerIndex))
        return nullptr;
    return &ctx.world.playerTable[static_cast<size_t>(playerIndex)];
}

QString playerEntry(const ReplayContext& ctx, int playerIndex) {
    return ctx.playerEntries.value(playerIndex);
}

void repaintCell(ReplayContext& ctx, int x, int y) {
    if (ctx.live() && ctx.repaint && insideWorld(ctx.world, x, y))
        ctx.repaint->redrawCell(x + 1, y + 1);
}

void repaintAround(ReplayContext& ctx, int x, int y) {
    if (!ctx.live() || !ctx.repaint)
        return;
    for (int64_t dx = -1; dx <= 1; ++dx)
        for (int64_t dy = -1; dy <= 1; ++dy)
            if (insideWorld(ctx.world, x + dx, y + dy))
                ctx.repaint->redrawCell(static_cast<int>(x + dx + 1), static_cast<int>(y + dy + 1));
}

void applyBuy(ReplayContext& ctx, int row) {
    const auto item = eventAt(ctx, row);
    if (!item)
        return;
    const CellRef cell = readCell(ctx, item->subItem(1));
    ctx.say([&] {
        return QString(QStringLiteral("Koupeno ") + text(*item, 3) + QStringLiteral(" jednotek ") +
                       text(*item, 2) + QStringLiteral(" na políčko ") + text(*item, 1) + u'.');
    });
    const int32_t n = readCount(ctx, item->subItem(3));

    World& world = ctx.world;
    if (!world.contains(cell.x, cell.y))
        return;
    int32_t& units = world.unitGrid(cell.x, cell.y);
    FieldGrid::Ref field = world.fieldGrid(cell.x, cell.y);
    // A cell holding a code of 10 or less counts as empty.
    if (units <= 10) {
        units = wrapAdd(unitsTimesTen(n), unitKindFromName(item->subItem(2)));
        if (belowHqCode(field))
            field = wrapAdd(field, 5);
    } else {
        units = wrapAdd(units, unitsTimesTen(n));
    }
    // The price is that of the kind standing on the cell.
    if (PlayerRecord* owner = playerRecord(ctx, fieldOwner(field) - 1)) {
        const int32_t price = unitPrice(wrapMod(units, 10));
        (*owner)[Nectar] = wrapSub((*owner)[Nectar], wrapMul(n, price));
        (*owner)[Moves] = wrapSub((*owner)[Moves], 1);
    }
    repaintCell(ctx, cell.x, cell.y);
}

void applyAttack(ReplayContext& ctx, int row) {
    const auto item = eventAt(ctx, row);
    if (!item)
        return;
    World& world = ctx.world;
    const CellRef origin = readCell(ctx, item->subItem(1));
    const CellRef target = readCell(ctx, item->subItem(2));
    const bool inside = world.contains(origin.x, origin.y) && world.contains(target.x, target.y);

    // The sentence describes the cells as they were before the fight. A cell outside the
    // world has no owner.
    const int originOwner =
        world.contains(origin.x, origin.y) ? fieldOwner(world.fieldGrid(origin.x, origin.y)) : 0;
    const int32_t targetBefore =
        world.contains(target.x, target.y) ? world.fieldGrid(target.x, target.y) : 0;
    auto defender = [&] {
        return targetBefore > 99 ? playerEntry(ctx, fieldOwner(targetBefore) - 1)
                                 : QStringLiteral("volné území");
    };
    const bool reportedSuccess = item->subItem(4) == QByteArrayView("1");
    ctx.say([&] {
        return QString(
            QStringLiteral("Útok z políčka ") + text(*item, 1) + QStringLiteral(" - ") +
            playerEntry(ctx, originOwner - 1) + QStringLiteral(" - na políčko ") + text(*item, 2) +
            QStringLiteral(" - ") + defender() + QStringLiteral(" - ") +
            (reportedSuccess ? QStringLiteral("byl úspěšný") : QStringLiteral("se nepovedl")) +
            QStringLiteral(". Přežilo ") + text(*item, 5) + QStringLiteral(" jednotek."));
    });

    // Unreadable numbers: 0 units sent, a failed attack, no survivors added.
    const int32_t sent = readCount(ctx, item->subItem(3));
    const int32_t outcome = readCount(ctx, item->subItem(4));
    const int32_t survivors = readCount(ctx, item->subItem(5));

    if (inside) {
        int32_t& originUnits = world.unitGrid(origin.x, origin.y);
        int32_t& targetUnits = world.unitGrid(target.x, target.y);
        FieldGrid::Ref originField = world.fieldGrid(origin.x, origin.y);
        FieldGrid::Ref targetField = world.fieldGrid(target.x, target.y);

        originUnits = wrapSub(originUnits, unitsTimesTen(sent));
        targetUnits = wrapMod(targetUnits, 10);
        const int attacker = fieldOwner(originField) - 1;
        const int defenderIndex = fieldOwner(targetField) - 1;

        if (outcome != 0) {
            if (isHqCode(targetField)) {
                destroyHq(ctx, fieldOwner(targetField));
                if (PlayerRecord* a = playerRecord(ctx, attacker))
                    (*a)[Kills] = wrapAdd((*a)[Kills], 1);
            }
            targetField = conqueredCode(originField, targetField);
            targetUnits = wrapMod(originUnits, 10);
            if (PlayerRecord* a = playerRecord(ctx, attacker))
                (*a)[Wins] = wrapAdd((*a)[Wins], 1);
        } else if (PlayerRecord* d = playerRecord(ctx, defenderIndex)) {
            (*d)[Wins] = wrapAdd((*d)[Wins], 1); // a repelled attack
        }

        if (originUnits < 10) {
            originUnits = 0;
            if (belowHqCode(originField))
                originField = wrapSub(originField, 5);
        }
        targetUnits = wrapAdd(targetUnits, unitsTimesTen(survivors));

        const int32_t factor = wrapMod(targetField, 5) == 3 ? 4 : 5;
        const int32_t cost =
            attackCost(int64_t{origin.x} - target.x, int64_t{origin.y} - target.y, factor);
        if (PlayerRecord* a = playerRecord(ctx, attacker))
            (*a)[Moves] = wrapSub((*a)[Moves], cost);
    }
    repaintAround(ctx, origin.x, origin.y);
    repaintAround(ctx, target.x, target.y);
}

void applyMove(ReplayContext& ctx, int row) {
    const auto item = eventAt(ctx, row);
    if (!item)
        return;
    World& world = ctx.world;
    const int32_t n = readCount(ctx, item->subItem(3));
    const CellRef origin = readCell(ctx, item->subItem(1));
    const CellRef dest = readCell(ctx, item->subItem(2));
    ctx.say([&] {
        return QString(QStringLiteral("Přesunuto ") + text(*item, 3) +
                       QStringLiteral(" jednotek z políčka ") + text(*item, 1) +
                       QStringLiteral(" na políčko ") + text(*item, 2) + u'.');
    });

    if (world.contains(origin.x, origin.y) && world.contains(dest.x, dest.y)) {
        int32_t& originUnits = world.unitGrid(origin.x, origin.y);
        int32_t& destUnits = world.unitGrid(dest.x, dest.y);
        FieldGrid::Ref originField = world.fieldGrid(origin.x, origin.y);
        FieldGrid::Ref destField = world.fieldGrid(dest.x, dest.y);

        originUnits = wrapSub(originUnits, unitsTimesTen(n));
        if (originUnits < 10 && belowHqCode(originField))
            originField = wrapSub(originField, 5);
        if (destUnits < 10) {
            destUnits = wrapMod(originUnits, 10);
            if (belowHqCode(destField))
                destField = wrapAdd(destField, 5);
        }
        if (originUnits < 10)
            originUnits = 0;
        destUnits = wrapAdd(destUnits, unitsTimesTen(n));

        const int32_t cost = moveCost(int64_t{origin.x} - dest.x, int64_t{origin.y} - dest.y);
        if (PlayerRecord* owner = playerRecord(ctx, fieldOwner(originField) - 1))
            (*owner)[Moves] = wrapSub((*owner)[Moves], cost);
    }
    repaintAround(ctx, origin.x, origin.y);
    repaintAround(ctx, dest.x, dest.y);
}

void applyConvertGround(ReplayContext& ctx, int row) {
    const auto item = eventAt(ctx, row);
    if (!item)
        return;
    World& world = ctx.world;
    const CellRef cell = readCell(ctx, item->subItem(1));
    const QByteArrayView letterText = item->subItem(2);
    const char letter = letterText.isEmpty() ? '\0' : letterText[0];
    const int32_t terrain = terrainFromLetter(letter);

    // A letter other than N, B, S names no terrain: the game would write a code outside the
    // encoding, so such an event changes nothing and costs nothing.
    if (terrain > 0 && world.contains(cell.x, cell.y)) {
        FieldGrid::Ref field = world.fieldGrid(cell.x, cell.y);
        field = wrapAdd(wrapSub(field, wrapMod(field, 5)), terrain);
        if (PlayerRecord* owner = playerRecord(ctx, fieldOwner(field) - 1)) {
            // Three hours of the new terrain's yield.
            const int32_t t = wrapMod(field, 5);
            const int32_t cost = t == 1 ? 36 : t == 2 ? 21 : t == 3 ? 15 : 0;
            (*owner)[Nectar] = wrapSub((*owner)[Nectar], cost);
            (*owner)[Moves] = wrapSub((*owner)[Moves], 1);
        }
    }
    // The sentence names any letter other than B and S normal ground.
    const QString name = terrainName(terrain > 0 ? terrain : 1);
    ctx.say([&] {
        return QString(QStringLiteral("Políčko ") + text(*item, 1) +
                       QStringLiteral(" bylo převedeno na typ ") + name + u'.');
    });
    repaintCell(ctx, cell.x, cell.y);
}

void applyRetreat(ReplayContext& ctx, int row) {
    const auto item = eventAt(ctx, row);
    if (!item)
        return;
    World& world = ctx.world;
    const int32_t n = readCount(ctx, item->subItem(2));
    const CellRef cell = readCell(ctx, item->subItem(1));
    const bool inside = world.contains(cell.x, cell.y);

    if (inside) {
        int32_t& units = world.unitGrid(cell.x, cell.y);
        units = wrapSub(units, unitsTimesTen(n));
        // The game buys the units back for half their price, truncated.
        if (PlayerRecord* owner =
                playerRecord(ctx, fieldOwner(world.fieldGrid(cell.x, cell.y)) - 1)) {
            const int32_t refund = wrapDiv(wrapMul(n, unitPrice(wrapMod(units, 10))), 2);
            (*owner)[Nectar] = wrapAdd((*owner)[Nectar], refund);
        }
    }
    ctx.say([&] {
        return QString(QStringLiteral("Prodáno ") + text(*item, 2) +
                       QStringLiteral(" jednotek z políčka ") + text(*item, 1) + u'.');
    });

    if (inside) {
        int32_t& units = world.unitGrid(cell.x, cell.y);
        FieldGrid::Ref field = world.fieldGrid(cell.x, cell.y);
        // Only a field that loses its units flag is repainted.
        if (units <= 9) {
            units = 0;
            if (belowHqCode(field)) {
                field = wrapSub(field, 5);
                repaintCell(ctx, cell.x, cell.y);
            }
        }
    }
}

void destroyHq(ReplayContext& ctx, int owner) {
    if (owner < 1)
        return;
    World& world = ctx.world;
    for (int x = 0; x < world.width(); ++x)
        for (int y = 0; y < world.height(); ++y) {
            FieldGrid::Ref field = world.fieldGrid(x, y);
            if (fieldOwner(field) == owner) {
                world.unitGrid(x, y) = 0;
                field = wrapMod(field, 5);
            }
        }
    if (PlayerRecord* p = playerRecord(ctx, owner - 1)) {
        (*p)[Moves] = 0;
        (*p)[Nectar] = 0;
        (*p)[Team] = kTeamDestroyed;
    }
    ctx.say([&] {
        return QString(QStringLiteral("Velení hráče ") + playerEntry(ctx, owner - 1) +
                       QStringLiteral(" bylo zničeno."));
    });
    if (ctx.live() && ctx.repaint)
        ctx.repaint->redrawMap();
}

} // namespace kx
