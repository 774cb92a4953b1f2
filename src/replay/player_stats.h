#pragma once

#include "records/world.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace kx {

// The texts of the six value labels of the players' group.
struct PlayerStats {
    QString lbPT; // moves
    QString lbPN; // nectar
    QString lbPP; // hourly production, " ml/hod"
    QString lbPH; // HQ found on the map (or "zničen") " / " HQ of the player record
    QString lbPA; // fields owned, " m2"
    QString lbPD; // kills with the noun that agrees with the number
};

// The noun appended to a number of destroyed enemies, with its leading blank.
QString enemiesNoun(int32_t kills);

// The figures of player index `playerIndex`, or nothing when the world has no such player
// (the labels then keep what they show).
std::optional<PlayerStats> playerStats(const World& world, int playerIndex);

} // namespace kx
