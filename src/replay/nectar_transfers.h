#pragma once

#include "replay/replay_context.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace kx {

// The index of the player list entry that equals name + " (louka)", else name + " (les)",
// comparing whole entries without regard to letter case; -1 when neither is found. The
// record's name is Windows-1250 text.
int playerIndexByName(const QStringList& entries, const QString& name);
int playerIndexByName(const QStringList& entries, QByteArrayView name);
inline int playerIndexByName(const QStringList& entries, const QByteArray& name) {
    return playerIndexByName(entries, QByteArrayView(name));
}

// Nectar from one player's stock to another's. `row` is the index of the event's item.
// A player that is not found has no record, so its side of the transfer is skipped.
void applyTrade(ReplayContext& ctx, int row);

// Nectar sent to the receiver's HQ, where it becomes units of kind 1. The sender pays; the
// receiver's stock does not change. When the receiver is not found, or its HQ lies outside
// the world, nothing is placed.
void applyTradeHq(ReplayContext& ctx, int row);

} // namespace kx
