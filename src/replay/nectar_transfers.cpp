#include "nectar_transfers.h"

#include "player_directory.h"
#include "records/numbers.h"
#include "records/windows1250.h"
#include "unit_actions.h"

namespace kx {

namespace {

int findEntry(const QStringList& entries, const QString& entry) {
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (entries.at(i).compare(entry, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

// A trade amount that is not an integer moves nothing and does not stop the slide show.
int findPlayer(const ReplayContext& ctx, QByteArrayView name) {
    return ctx.directory ? ctx.directory->indexOf(name)
                         : playerIndexByName(ctx.playerEntries, name);
}

int32_t readAmount(QByteArrayView text) {
    return parseDecimalInt(text).value_or(0);
}

QString tradeSentence(const EventItem& item) {
    return QStringLiteral("Hráč ") + item.subItemText(1) + QStringLiteral(" poslal ") +
           item.subItemText(3) + QStringLiteral(" nektaru hráči ") + item.subItemText(2);
}

} // namespace

int playerIndexByName(const QStringList& entries, const QString& name) {
    const int louka = findEntry(entries, name + QStringLiteral(" (louka)"));
    return louka >= 0 ? louka : findEntry(entries, name + QStringLiteral(" (les)"));
}

int playerIndexByName(const QStringList& entries, QByteArrayView name) {
    return playerIndexByName(entries, decodeWindows1250(name));
}

void applyTrade(ReplayContext& ctx, int row) {
    if (row < 0 || row >= ctx.events.size())
        return;
    const EventItem item = ctx.itemAt(row);
    const int sender = findPlayer(ctx, item.subItem(1));
    const int receiver = findPlayer(ctx, item.subItem(2));
    const int32_t amount = readAmount(item.subItem(3));
    ctx.say([&] { return QString(tradeSentence(item) + u'.'); });

    if (PlayerRecord* r = playerRecord(ctx, receiver))
        (*r)[Nectar] = wrapAdd((*r)[Nectar], amount);
    if (PlayerRecord* s = playerRecord(ctx, sender))
        (*s)[Nectar] = wrapSub((*s)[Nectar], amount);
}

void applyTradeHq(ReplayContext& ctx, int row) {
    if (row < 0 || row >= ctx.events.size())
        return;
    const EventItem item = ctx.itemAt(row);
    const int sender = findPlayer(ctx, item.subItem(1));
    const int receiver = findPlayer(ctx, item.subItem(2));
    const int32_t amount = readAmount(item.subItem(3));
    ctx.say([&] { return QString(tradeSentence(item) + QStringLiteral(" na velení.")); });

    if (PlayerRecord* s = playerRecord(ctx, sender)) {
        (*s)[Nectar] = wrapSub((*s)[Nectar], amount);
        (*s)[Moves] = wrapSub((*s)[Moves], 1);
    }
    // An unreadable unit count stops the slide show whatever else happens; it places none.
    const int32_t count = readCount(ctx, item.subItem(4));

    const PlayerRecord* r = playerRecord(ctx, receiver);
    if (!r)
        return;
    const int32_t x = (*r)[HqX];
    const int32_t y = (*r)[HqY];
    World& world = ctx.world;
    if (!world.contains(x, y))
        return;
    int32_t& units = world.unitGrid(x, y);
    FieldGrid::Ref field = world.fieldGrid(x, y);
    // A code of 10 or less counts as empty; otherwise the kind already there stays.
    if (units <= 10) {
        units = wrapAdd(wrapMul(count, 10), 1);
        if (wrapMod(field, 100) < 30)
            field = wrapAdd(field, 5);
    } else {
        units = wrapAdd(units, wrapMul(count, 10));
    }
    repaintCell(ctx, x, y);
}

} // namespace kx
