#include "replay/unit_actions.h"
#include "replay_fixture.h"

using namespace kx;
using kx::test::ReplayTest;

namespace {

// Pepa (louka) HQ at A0, Petr (louka) HQ at J0, Jana (les) HQ at E5; the rest free ground.
class UnitActions : public ReplayTest {
  protected:
    void SetUp() override {
        makeWorld(10, 10, 3);
        addHq(0, QStringLiteral("Pepa"), QStringLiteral("louka"), 0, 0);
        addHq(1, QStringLiteral("Petr"), QStringLiteral("louka"), 9, 0);
        addHq(2, QStringLiteral("Jana"), QStringLiteral("les"), 4, 5);
    }
    QStringList grid(const Grid& g) const {
        QStringList cells;
        for (int x = 0; x < g.width(); ++x)
            for (int y = 0; y < g.height(); ++y)
                cells << QString::number(g(x, y));
        return cells;
    }
};

} // namespace

TEST_F(UnitActions, BuyUsesThePriceOfTheKindStandingOnTheCell) {
    put(2, 5, 211);
    applyBuy(ctx, event("2005-07-03-14-05-09; buy; C5; komár; 10;"));
    EXPECT_EQ(world.unitGrid(2, 5), 101);
    EXPECT_EQ(world.fieldGrid(2, 5), 216);
    EXPECT_EQ(player(1)[Nectar], 480);
    EXPECT_EQ(player(1)[Moves], 14);
    EXPECT_EQ(info, QStringList{QStringLiteral("Koupeno 10 jednotek komár na políčko C5.")});
    EXPECT_EQ(sink.calls, QStringList{QStringLiteral("3,6")});

    world.unitGrid(2, 5) = 53; // 5 "šváb": the bought kind is not consulted
    applyBuy(ctx, event("t; buy; C5; KOMÁR; 10;"));
    EXPECT_EQ(world.unitGrid(2, 5), 153);
    EXPECT_EQ(player(1)[Nectar], 310);

    world.unitGrid(0, 0) = 10; // a code of 10 still counts as empty; the HQ keeps its code
    applyBuy(ctx, event("t; buy; A0; Hovado; 2;"));
    EXPECT_EQ(world.unitGrid(0, 0), 22);
    EXPECT_EQ(world.fieldGrid(0, 0), 131);

    const auto players = world.playerTable; // free land: units placed, nobody pays
    applyBuy(ctx, event("t; buy; B1; komár; 3;"));
    EXPECT_EQ(world.unitGrid(1, 1), 31);
    EXPECT_EQ(world.fieldGrid(1, 1), 6);
    EXPECT_EQ(world.playerTable, players);
    EXPECT_FALSE(ctx.stopSlideShow);
    applyBuy(ctx, event("t; buy; B2; komár; x;"));
    EXPECT_TRUE(ctx.stopSlideShow);
    EXPECT_EQ(world.unitGrid(1, 2), 1);
}

TEST(MoveCosts, AttackRoundsWithTerrainFactorMoveTruncates) {
    EXPECT_EQ(attackCost(1, 0, 5), 5);
    EXPECT_EQ(attackCost(1, -1, 5), 7);
    EXPECT_EQ(attackCost(0, 2, 5), 10);
    EXPECT_EQ(attackCost(1, 1, 4), 6);
    EXPECT_EQ(attackCost(-1, 0, 4), 4);
    EXPECT_EQ(moveCost(1, 1), 1);
    EXPECT_EQ(moveCost(2, -1), 2);
    EXPECT_EQ(attackCost(INT64_MAX, INT64_MIN, 5), INT32_MAX);
}

TEST_F(UnitActions, SuccessfulAttackConquersAndRepaintsBothBlocksInOrder) {
    put(2, 5, 116, 103);
    put(3, 6, 2);
    applyAttack(ctx, event("t; attack; C5; D6; 8; 1; 7;"));
    EXPECT_EQ(world.fieldGrid(3, 6), 117);
    EXPECT_EQ(world.unitGrid(3, 6), 73);
    EXPECT_EQ(world.unitGrid(2, 5), 23);
    EXPECT_EQ(player(0)[Wins], 1);
    EXPECT_EQ(player(0)[Moves], 8);
    EXPECT_EQ(info, QStringList{QStringLiteral("Útok z políčka C5 - Pepa (louka) - na políčko D6 - "
                                               "volné území - byl úspěšný. Přežilo 7 jednotek.")});
    EXPECT_EQ(sink.calls,
              (QStringList{"2,5", "2,6", "2,7", "3,5", "3,6", "3,7", "4,5", "4,6", "4,7", "3,6",
                           "3,7", "3,8", "4,6", "4,7", "4,8", "5,6", "5,7", "5,8"}));

    // Blocks at the corners skip the headers and the cells beyond the map.
    sink.calls.clear();
    put(0, 1, 116, 11);
    applyAttack(ctx, event("t; attack; A1; J9; 1; 0; 0;"));
    EXPECT_EQ(sink.calls, (QStringList{"1,1", "1,2", "1,3", "2,1", "2,2", "2,3", "9,9", "9,10",
                                       "10,9", "10,10"}));
    EXPECT_EQ(world.fieldGrid(0, 1), 111); // the origin emptied
}

TEST_F(UnitActions, TakingAnHqDestroysItsOwnerTheSameLiveOrQuiet) {
    QStringList liveFields;
    for (const int live : {1, 0}) {
        SetUp();
        info.clear();
        sink.calls.clear();
        world.liveDisplay = live;
        entries[0] = QStringLiteral("Pepa (les)");
        put(3, 5, 126, 51);
        world.unitGrid(4, 5) = 32;
        put(5, 5, 326, 44);
        put(6, 6, 322);
        applyAttack(ctx, event("t; attack; D5; E5; 5; 1; 3;"));
        EXPECT_EQ(player(2), (PlayerRecord{2, 0, 0, kTeamDestroyed, 4, 5, 0, 0}));
        EXPECT_EQ(player(0), (PlayerRecord{0, 10, 500, 0, 0, 0, 1, 1}));
        if (live) {
            liveFields = grid(world.fieldGrid.grid()) + grid(world.unitGrid);
            continue;
        }
        EXPECT_EQ(grid(world.fieldGrid.grid()) + grid(world.unitGrid), liveFields);
        EXPECT_TRUE(info.isEmpty());
        EXPECT_TRUE(sink.calls.isEmpty());
    }
    EXPECT_EQ(world.fieldGrid(4, 5), 126);
    EXPECT_EQ(world.unitGrid(4, 5), 31);
    EXPECT_EQ(world.fieldGrid(5, 5), 1);
    EXPECT_EQ(world.unitGrid(5, 5), 0);
    EXPECT_EQ(world.fieldGrid(6, 6), 2);
    EXPECT_EQ(world.fieldGrid(3, 5), 121);

    SetUp(); // the sentences and the whole-map repaint before the two blocks
    world.liveDisplay = 1;
    info.clear();
    sink.calls.clear();
    put(3, 5, 116, 51);
    applyAttack(ctx, event("t; attack; D5; E5; 5; 1; 3;"));
    EXPECT_EQ(info, (QStringList{"Útok z políčka D5 - Pepa (louka) - na políčko E5 - Jana (les) "
                                 "- byl úspěšný. Přežilo 3 jednotek.",
                                 "Velení hráče Jana (les) bylo zničeno."}));
    ASSERT_EQ(sink.calls.size(), 19);
    EXPECT_EQ(sink.calls.first(), QStringLiteral("map"));
}

TEST_F(UnitActions, FailedAttacksAndOddOutcomes) {
    put(2, 5, 116, 53);
    applyAttack(ctx, event("t; attack; C5; D5; 2; 0; 0;")); // free land: nobody wins
    EXPECT_EQ(world.unitGrid(2, 5), 33);
    EXPECT_EQ(player(0)[Wins] + player(1)[Wins] + player(2)[Wins], 0);

    put(3, 5, 216, 44);
    applyAttack(ctx, event("t; attack; C5; D5; 1; 0; 2;"));
    EXPECT_EQ(player(1)[Wins], 1);
    EXPECT_EQ(world.fieldGrid(3, 5), 216);
    EXPECT_EQ(world.unitGrid(3, 5), 24);

    info.clear(); // outcome 2 changes the world as a success but reads "se nepovedl"
    applyAttack(ctx, event("t; attack; C5; D5; 1; 2; 1;"));
    EXPECT_EQ(world.fieldGrid(3, 5), 116);
    EXPECT_TRUE(
        info[0].endsWith(QStringLiteral("Petr (louka) - se nepovedl. Přežilo 1 jednotek.")));
    EXPECT_FALSE(ctx.stopSlideShow);

    // Unreadable numbers: nothing sent, a failure, no survivors; the slide show stops.
    put(4, 4, 211, 22);
    applyAttack(ctx, event("t; attack; D5; E4; x; y; z;"));
    EXPECT_TRUE(ctx.stopSlideShow);
    EXPECT_EQ(world.unitGrid(3, 5), 13);
    EXPECT_EQ(world.fieldGrid(4, 4), 211);
    EXPECT_EQ(world.unitGrid(4, 4), 2);
    EXPECT_EQ(player(1)[Wins], 2);
}

TEST_F(UnitActions, MoveCarriesTheKindAndTheUnitsFlag) {
    put(2, 5, 116, 53);
    applyMove(ctx, event("t; move; C5; E6; 5;"));
    EXPECT_EQ(world.fieldGrid(2, 5), 111);
    EXPECT_EQ(world.unitGrid(2, 5), 0);
    EXPECT_EQ(world.fieldGrid(4, 6), 6);
    EXPECT_EQ(world.unitGrid(4, 6), 53);
    EXPECT_EQ(player(0)[Moves], 13);
    EXPECT_EQ(info,
              QStringList{QStringLiteral("Přesunuto 5 jednotek z políčka C5 na políčko E6.")});
    EXPECT_EQ(sink.calls.size(), 18);
}

TEST_F(UnitActions, GroundConversionChargesByTheNewTerrain) {
    put(2, 5, 112);
    applyConvertGround(ctx, event("t; convert_gnd; C5; N;"));
    applyConvertGround(ctx, event("t; convert_gnd; C5; Normal;")); // unchanged costs the same
    EXPECT_EQ(world.fieldGrid(2, 5), 111);
    EXPECT_EQ(player(0)[Nectar], 500 - 72);
    EXPECT_EQ(player(0)[Moves], 13);
    applyConvertGround(ctx, event("t; convert_gnd; C5; S;"));
    EXPECT_EQ(world.fieldGrid(2, 5), 113);
    EXPECT_EQ(player(0)[Nectar], 500 - 87);
    EXPECT_EQ(info.last(), QStringLiteral("Políčko C5 bylo převedeno na typ skála."));

    // A letter that names no terrain changes nothing and costs nothing.
    applyConvertGround(ctx, event("t; convert_gnd; C5; b;"));
    EXPECT_EQ(world.fieldGrid(2, 5), 113);
    EXPECT_EQ(player(0)[Nectar], 500 - 87);
    EXPECT_EQ(player(0)[Moves], 12);
    EXPECT_EQ(info.last(), QStringLiteral("Políčko C5 bylo převedeno na typ normální."));

    put(1, 1, kImpassable);
    applyConvertGround(ctx, event("t; convert_gnd; B1; B;"));
    EXPECT_EQ(world.fieldGrid(1, 1), 2);
    EXPECT_EQ(info.last(), QStringLiteral("Políčko B1 bylo převedeno na typ bažina."));
}

TEST_F(UnitActions, RetreatRefundsHalfThePriceAndClearsTheFlag) {
    put(2, 5, 116, 51);
    applyRetreat(ctx, event("t; retreat; C5; 3;"));
    EXPECT_EQ(world.unitGrid(2, 5), 21);
    EXPECT_EQ(player(0)[Nectar], 503);
    EXPECT_EQ(info, QStringList{QStringLiteral("Prodáno 3 jednotek z políčka C5.")});
    EXPECT_TRUE(sink.calls.isEmpty());

    put(3, 5, 216, 13);
    applyRetreat(ctx, event("t; retreat; D5; 1;"));
    EXPECT_EQ(player(1)[Nectar], 508);
    EXPECT_EQ(world.unitGrid(3, 5), 0);
    EXPECT_EQ(world.fieldGrid(3, 5), 211);
    EXPECT_EQ(sink.calls, QStringList{QStringLiteral("4,6")});

    world.unitGrid(0, 0) = 11; // an emptied HQ keeps its code and is not repainted
    applyRetreat(ctx, event("t; retreat; A0; 1;"));
    EXPECT_EQ(world.fieldGrid(0, 0), 131);
    EXPECT_EQ(sink.calls.size(), 1);
}

TEST_F(UnitActions, HostileEventsStayInsideTheWorld) {
    put(2, 5, 116, 53);
    const QStringList cells = grid(world.fieldGrid.grid()) + grid(world.unitGrid);
    const auto players = world.playerTable;
    applyAttack(ctx, event("t; attack; C5; Z99; 5; 1; 5;"));
    applyMove(ctx, event("t; move; C5; C-1; 5;"));
    applyBuy(ctx, event("t; buy; K0; komár; 5;"));
    applyRetreat(ctx, event("t; retreat; @3; 5;"));
    applyConvertGround(ctx, event("t; convert_gnd; C2147483647; S;"));
    applyBuy(ctx, 1000); // a row the list does not hold
    EXPECT_EQ(grid(world.fieldGrid.grid()) + grid(world.unitGrid), cells);
    EXPECT_EQ(world.playerTable, players);
    EXPECT_EQ(info.size(), 5);
    EXPECT_TRUE(info[0].contains(QStringLiteral("Z99 - volné území - byl úspěšný")));
    EXPECT_EQ(sink.calls.size(), 9 + 9 + 3); // only the blocks' cells inside the map
    EXPECT_FALSE(ctx.stopSlideShow);

    applyBuy(ctx, event("t; buy; C5x; komár; 1;")); // unreadable row: row 0
    EXPECT_TRUE(ctx.stopSlideShow);
    EXPECT_EQ(world.unitGrid(2, 0), 11);

    // Extreme counts wrap instead of overflowing (the sanitizer build checks this).
    applyBuy(ctx, event("t; buy; C5; komár; 2147483647;"));
    applyRetreat(ctx, event("t; retreat; C5; -2147483648;"));
    applyMove(ctx, event("t; move; C5; D5; 2147483647;"));
    applyAttack(ctx, event("t; attack; D5; C5; -2147483648; 1; 2147483647;"));

    // A broken code that looks like an ownerless HQ names nobody to destroy.
    put(6, 6, 31);
    put(7, 7, 6, 21);
    applyAttack(ctx, event("t; attack; A0; G6; 0; 1; 0;"));
    EXPECT_EQ(world.unitGrid(7, 7), 21);

    put(8, 8, 716, 11);
    const auto before = world.playerTable;
    destroyHq(ctx, 7); // no such player: its cells are cleared, no record is touched
    EXPECT_EQ(world.fieldGrid(8, 8), 1);
    EXPECT_EQ(world.unitGrid(8, 8), 0);
    EXPECT_EQ(world.playerTable, before);
}
