#include "world_end.h"

#include "records/numbers.h"

#include <algorithm>
#include <cmath>

namespace kx {

std::vector<ResultRow> resultRows(const World& world) {
    std::vector<ResultRow> rows(static_cast<size_t>(world.playerCount()), ResultRow{});
    for (size_t i = 0; i < rows.size(); ++i) {
        const PlayerRecord& player = world.playerTable[i];
        rows[i][ResultKills] = player[Kills];
        rows[i][ResultWins] = player[Wins];
        rows[i][ResultNectar] = player[Nectar];
    }
    // Production and fields come from the fields' running tally.
    for (size_t i = 0; i < rows.size(); ++i) {
        const int owner = static_cast<int>(i) + 1;
        rows[i][ResultProduction] = world.fieldGrid.ownedYield(owner);
        rows[i][ResultFields] = world.fieldGrid.ownedFields(owner);
    }
    return rows;
}

BestRow bestRow(const std::vector<ResultRow>& rows) {
    BestRow best{};
    for (const ResultRow& row : rows)
        if (isSurvivor(row))
            for (size_t k = 0; k < best.size(); ++k)
                best[k] = std::max(best[k], row[k]);
    if (best[ResultNectar] == 0)
        best[ResultNectar] = 1;
    return best;
}

int32_t experience(const std::vector<ResultRow>& rows, const BestRow& best, int playerIndex) {
    if (playerIndex < 0 || static_cast<size_t>(playerIndex) >= rows.size())
        return 0;
    const ResultRow& row = rows[static_cast<size_t>(playerIndex)];
    static constexpr std::array<double, 4> kWeights = {16.0 / 9, 4.0 / 3, 4.0 / 9, 4.0 / 9};
    // Shares are divided in extended precision and summed into a double, as the game does.
    double sum = 0;
    for (size_t k = 0; k < kWeights.size(); ++k) {
        const long double share = best[k] == 0 ? 0.0L : static_cast<long double>(row[k]) / best[k];
        sum = static_cast<double>(sum + share * kWeights[k]);
    }
    const long double scaled = std::trunc(static_cast<long double>(sum) * 3000);
    // Every share is at most 2^31 in size, so this always fits; the guard keeps it defined.
    if (!(std::fabs(scaled) < 9.0e18L))
        return 0;
    return wrap(static_cast<int64_t>(scaled));
}

QString experiencePercentText(int32_t experience, const QLocale& locale) {
    const double q = experience * (1.0 / 120);
    const double r = q * 100;
    const double t = std::trunc(r);
    const double p = t * 0.01;
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(p, 'g', 15);
}

QString winningTeam(const World& world, const QStringList& playerEntries) {
    for (int x = 0; x < world.width(); ++x)
        for (int y = 0; y < world.height(); ++y) {
            const int owner = fieldOwner(world.fieldGrid(x, y));
            if (owner < 1 || owner > playerEntries.size())
                continue;
            const QString& entry = playerEntries.at(owner - 1);
            if (entry.size() >= 2) {
                const QChar c = entry.at(entry.size() - 2);
                if (c == u's' || c == u'S')
                    return QStringLiteral("les");
            }
        }
    return QStringLiteral("louka");
}

QStringList worldEndSummary(const World& world, const QStringList& playerEntries,
                            const QLocale& locale) {
    QStringList lines;
    lines << QStringLiteral("Svět skončil. Vyhrál typ ") + winningTeam(world, playerEntries) + u'.'
          << QString() << QStringLiteral("Vítězové: ");

    const std::vector<ResultRow> rows = resultRows(world);
    const BestRow best = bestRow(rows);
    QStringList unfinished;
    for (size_t i = 0; i < rows.size(); ++i) {
        const int index = static_cast<int>(i);
        if (!isSurvivor(rows[i])) {
            unfinished << playerEntries.value(index);
            continue;
        }
        const int32_t x = experience(rows, best, index);
        lines << playerEntries.value(index) + u' ' + QString::number(x) +
                     QStringLiteral(" expů (") + experiencePercentText(x, locale) +
                     QStringLiteral("%)");
    }
    lines << QString() << QStringLiteral("Svět nedohráli: ")
          << unfinished.join(QStringLiteral(", "));
    return lines;
}

} // namespace kx
