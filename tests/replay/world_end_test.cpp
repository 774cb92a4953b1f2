#include "replay/world_end.h"
#include "replay_fixture.h"

using namespace kx;
using kx::test::ReplayTest;

TEST(WorldEnd, ExperienceAgainstTheBestSurvivor) {
    const std::vector<ResultRow> rows = {
        {2, 10, 800, 120, 5}, {1, 5, 1000, 60, 3}, {9, 90, 9000, 900, 0}};
    const BestRow best = bestRow(rows); // the non-survivor does not count
    EXPECT_EQ(best, (BestRow{2, 10, 1000, 120}));
    EXPECT_EQ(experience(rows, best, 0), 11733);
    EXPECT_EQ(experience(rows, best, 1), 6666);
    EXPECT_EQ(experience(rows, BestRow{2, 10, 800, 120}, 0), 12000);
    EXPECT_EQ(experience(rows, best, 3), 0);

    // Nectar is guarded by a best of 1; the other columns with a best of 0 add nothing.
    const std::vector<ResultRow> poor = {{0, 0, -5, 0, 1}, {0, 0, 0, 0, 2}};
    const BestRow poorBest = bestRow(poor);
    EXPECT_EQ(poorBest, (BestRow{0, 0, 1, 0}));
    EXPECT_EQ(experience(poor, poorBest, 0), -6666);
    EXPECT_EQ(experience(poor, poorBest, 1), 0);
    const std::vector<ResultRow> broke = {{0, 0, INT32_MIN, 0, 1}};
    experience(broke, bestRow(broke), 0); // far beyond 32 bits: wraps, stays defined
}

TEST(WorldEnd, PercentageIsCutToTwoDecimalsInTheLocalesForm) {
    EXPECT_EQ(experiencePercentText(11733, QLocale::c()), QStringLiteral("97.77"));
    EXPECT_EQ(experiencePercentText(11733, QLocale(QLocale::Czech)), QStringLiteral("97,77"));
    EXPECT_EQ(experiencePercentText(6666, QLocale::c()), QStringLiteral("55.55"));
    EXPECT_EQ(experiencePercentText(12000, QLocale(QLocale::Czech)), QStringLiteral("100"));
    EXPECT_EQ(experiencePercentText(-6666, QLocale::c()), QStringLiteral("-55.55"));
    EXPECT_EQ(experiencePercentText(240000, QLocale(QLocale::Czech)), QStringLiteral("2000"));
}

TEST_F(ReplayTest, SummaryNamesTheWinningTeamSurvivorsAndTheRest) {
    makeWorld(6, 6, 3);
    addHq(0, QStringLiteral("Pepa"), QStringLiteral("louka"), 0, 0);
    addHq(1, QStringLiteral("Jana"), QStringLiteral("les"), 5, 5);
    addHq(2, QStringLiteral("Olga"), QStringLiteral("louka"), 3, 3);
    player(2)[Team] = kTeamDestroyed;
    world.fieldGrid(3, 3) = 1;
    for (int y = 0; y < 5; ++y)
        world.fieldGrid(1, y) = 111;
    player(0)[Kills] = 1;
    player(0)[Wins] = 4;
    player(1)[Nectar] = 600;

    EXPECT_EQ(worldEndSummary(world, entries, QLocale(QLocale::Czech)),
              (QStringList{"Svět skončil. Vyhrál typ les.", "", "Vítězové: ",
                           "Pepa (louka) 11777 expů (98,14%)", "Jana (les) 1555 expů (12,95%)", "",
                           "Svět nedohráli: ", "Olga (louka)"}));

    world.fieldGrid(5, 5) = 1; // only louka fields left
    const QStringList lines = worldEndSummary(world, entries, QLocale::c());
    EXPECT_EQ(lines.first(), QStringLiteral("Svět skončil. Vyhrál typ louka."));
    EXPECT_EQ(lines.last(), QStringLiteral("Jana (les), Olga (louka)"));

    world.fieldGrid(2, 2) = 411; // an owner without an entry is skipped
    EXPECT_EQ(winningTeam(world, entries), QStringLiteral("louka"));
    world.fieldGrid(2, 2) = 226;
    EXPECT_EQ(winningTeam(world, entries), QStringLiteral("les"));
}
