#include "player_stats.h"

#include "records/cell_address.h"
#include "records/numbers.h"

namespace kx {

QString enemiesNoun(int32_t kills) {
    if (kills == 0 || kills >= 5)
        return QStringLiteral(" nepřátel");
    if (kills >= 2)
        return QStringLiteral(" nepřátele");
    return QStringLiteral(" nepřítele");
}

std::optional<PlayerStats> playerStats(const World& world, int playerIndex) {
    if (!world.hasPlayer(playerIndex))
        return std::nullopt;
    const PlayerRecord& player = world.playerTable[static_cast<size_t>(playerIndex)];
    if (player[Team] == kTeamDestroyed)
        return PlayerStats{QStringLiteral("0"),        QStringLiteral("0"),
                           QStringLiteral("0 ml/hod"), QStringLiteral("zničen"),
                           QStringLiteral("0 m2"),     QStringLiteral("0 nepřátel")};

    const int owner = playerIndex + 1;
    QString hqText = QStringLiteral("zničen");
    int32_t production = 0;
    int32_t fields = 0;
    for (int x = 0; x < world.width(); ++x)
        for (int y = 0; y < world.height(); ++y) {
            const int32_t code = world.fieldGrid(x, y);
            if (fieldOwner(code) != owner)
                continue;
            production = wrapAdd(production, terrainYield(fieldTerrain(code)));
            if (code % 100 > 30) // the last HQ visited counts
                hqText = cellAddressText(x, y);
            fields = wrapAdd(fields, 1);
        }

    PlayerStats stats;
    stats.lbPT = QString::number(player[Moves]);
    stats.lbPN = QString::number(player[Nectar]);
    stats.lbPP = QString::number(production) + QStringLiteral(" ml/hod");
    stats.lbPH = hqText + QStringLiteral(" / ") + cellAddressText(player[HqX], player[HqY]);
    stats.lbPA = QString::number(fields) + QStringLiteral(" m2");
    stats.lbPD = QString::number(player[Kills]) + enemiesNoun(player[Kills]);
    return stats;
}

} // namespace kx
