#pragma once

#include "records/world.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

namespace kx {

// One player's figures at the end of the world.
enum ResultColumn : int {
    ResultKills = 0,
    ResultWins,
    ResultNectar,
    ResultProduction,
    ResultFields
};
using ResultRow = std::array<int32_t, 5>;
// The best kills, wins, nectar and production among the survivors.
using BestRow = std::array<int32_t, 4>;

// The result row of every player, in player-index order.
std::vector<ResultRow> resultRows(const World& world);

// A survivor still owns a field.
inline bool isSurvivor(const ResultRow& row) {
    return row[ResultFields] > 0;
}

// The largest value of each column among the survivors, starting from 0; a best nectar of 0
// becomes 1.
BestRow bestRow(const std::vector<ResultRow>& rows);

// Experience of player index `playerIndex` against the best row: 12000 for a survivor that
// is best in all four columns. A column whose best value is 0 adds nothing.
int32_t experience(const std::vector<ResultRow>& rows, const BestRow& best, int playerIndex);

// Experience as a percentage of 12000, cut (not rounded) to two decimals, written in the
// general form with the locale's decimal separator and no group separators.
QString experiencePercentText(int32_t experience, const QLocale& locale);

// "les" when any field of the map belongs to a player whose entry ends in "s)" (either case),
// else "louka". Owners without an entry are skipped.
QString winningTeam(const World& world, const QStringList& playerEntries);

// The lines of the end-of-world summary: the winning team, the survivors with their
// experience in player-index order, and the players that did not finish.
QStringList worldEndSummary(const World& world, const QStringList& playerEntries,
                            const QLocale& locale);

} // namespace kx
