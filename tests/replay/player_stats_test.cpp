#include "replay/player_stats.h"
#include "replay/production.h"
#include "replay_fixture.h"

using namespace kx;
using kx::test::ReplayTest;

TEST(PlayerStats, NounAgreesWithTheNumberOfEnemies) {
    EXPECT_EQ(enemiesNoun(0), QStringLiteral(" nepřátel"));
    EXPECT_EQ(enemiesNoun(1), QStringLiteral(" nepřítele"));
    EXPECT_EQ(enemiesNoun(-3), QStringLiteral(" nepřítele"));
    EXPECT_EQ(enemiesNoun(2), QStringLiteral(" nepřátele"));
    EXPECT_EQ(enemiesNoun(4), QStringLiteral(" nepřátele"));
    EXPECT_EQ(enemiesNoun(5), QStringLiteral(" nepřátel"));
    EXPECT_EQ(enemiesNoun(INT32_MIN), QStringLiteral(" nepřítele"));
}

TEST_F(ReplayTest, StatsCountProductionTerritoryAndTheHq) {
    makeWorld(8, 8, 2);
    addHq(1, QStringLiteral("Jana"), QStringLiteral("louka"), 2, 5);
    const int fields[][3] = {{0, 0, 211}, {0, 1, 216}, {1, 0, 211}, {1, 1, 211},
                             {3, 3, 211}, {4, 4, 212}, {4, 5, 217}, {7, 7, 213}};
    for (const auto& f : fields)
        world.fieldGrid(f[0], f[1]) = f[2];
    world.fieldGrid(6, 6) = 113; // someone else's
    player(1)[Nectar] = -20;
    player(1)[Kills] = 3;

    EXPECT_EQ(hourlyProduction(world, 1), 91);
    EXPECT_EQ(hourlyProduction(world, 0), 5);
    EXPECT_EQ(hourlyProduction(world, 7), 0);
    const auto stats = playerStats(world, 1);
    ASSERT_TRUE(stats);
    EXPECT_EQ(stats->lbPT, QStringLiteral("15"));
    EXPECT_EQ(stats->lbPN, QStringLiteral("-20"));
    EXPECT_EQ(stats->lbPP, QStringLiteral("91 ml/hod"));
    EXPECT_EQ(stats->lbPH, QStringLiteral("C5 / C5"));
    EXPECT_EQ(stats->lbPA, QStringLiteral("9 m2"));
    EXPECT_EQ(stats->lbPD, QStringLiteral("3 nepřátele"));

    world.fieldGrid(2, 5) = 1; // the HQ gone from the map, the record still names it
    EXPECT_EQ(playerStats(world, 1)->lbPH, QStringLiteral("zničen / C5"));

    player(1)[Team] = kTeamDestroyed;
    const auto gone = playerStats(world, 1);
    EXPECT_EQ(gone->lbPT + gone->lbPN + gone->lbPP + gone->lbPH + gone->lbPA + gone->lbPD,
              QStringLiteral("000 ml/hodzničen0 m20 nepřátel"));
    EXPECT_FALSE(playerStats(world, -1));
    EXPECT_FALSE(playerStats(world, 2));
}
