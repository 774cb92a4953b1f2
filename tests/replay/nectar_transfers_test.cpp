#include "replay/nectar_transfers.h"
#include "replay_fixture.h"

using namespace kx;
using kx::test::ReplayTest;

namespace {

class NectarTransfers : public ReplayTest {
  protected:
    void SetUp() override {
        makeWorld(6, 6, 3);
        addHq(0, QStringLiteral("Pepa"), QStringLiteral("louka"), 0, 0);
        addHq(1, QStringLiteral("Jana"), QStringLiteral("les"), 3, 3);
        addHq(2, QStringLiteral("Olga"), QStringLiteral("Lesy"), 5, 5);
    }
};

} // namespace

TEST(PlayerIndexByName, MatchesWholeEntriesIgnoringCaseLoukaFirst) {
    const QStringList entries = {"Pepa (les)", "Jana (les)", "Šimon (louka)", "Pepa (LOUKA)",
                                 "Olga (lesy)"};
    EXPECT_EQ(playerIndexByName(entries, QStringLiteral("pepa")), 3);
    EXPECT_EQ(playerIndexByName(entries, QStringLiteral("JANA")), 1);
    EXPECT_EQ(playerIndexByName(entries, QStringLiteral("šimon")), 2);
    EXPECT_EQ(playerIndexByName(entries, *encodeWindows1250(QStringLiteral("ŠIMON"))), 2);
    EXPECT_EQ(playerIndexByName(entries, QStringLiteral("Olga")), -1);
    EXPECT_EQ(playerIndexByName(entries, QStringLiteral("Jan")), -1);
    EXPECT_EQ(playerIndexByName(QStringList{}, QStringLiteral("Pepa")), -1);
}

TEST_F(NectarTransfers, TradeMovesNectarBetweenStocks) {
    applyTrade(ctx, event("t; trade; pepa; Jana; 100;"));
    EXPECT_EQ(player(0)[Nectar], 400);
    EXPECT_EQ(player(1)[Nectar], 600);
    EXPECT_EQ(player(0)[Moves], 15);
    EXPECT_EQ(info, QStringList{QStringLiteral("Hráč pepa poslal 100 nektaru hráči Jana.")});

    applyTrade(ctx, event("t; trade; Pepa; Jana; x;")); // moves nothing, keeps the show going
    EXPECT_EQ(player(0)[Nectar], 400);
    EXPECT_EQ(info.last(), QStringLiteral("Hráč Pepa poslal x nektaru hráči Jana."));

    applyTrade(ctx, event("t; trade; Olga; Jana; 50;")); // unknown sender: receiver still gets it
    EXPECT_EQ(player(1)[Nectar], 650);
    EXPECT_EQ(player(2)[Nectar], 500);
    EXPECT_FALSE(ctx.stopSlideShow);
    EXPECT_TRUE(sink.calls.isEmpty());
}

TEST_F(NectarTransfers, TradeHqPlacesKomarOnTheReceiversHq) {
    applyTradeHq(ctx, event("t; trade_hq; Pepa; Jana; 50; 25;"));
    EXPECT_EQ(world.unitGrid(3, 3), 251);
    EXPECT_EQ(world.fieldGrid(3, 3), 236);
    EXPECT_EQ(player(0)[Nectar], 450);
    EXPECT_EQ(player(0)[Moves], 14);
    EXPECT_EQ(player(1)[Nectar], 500);
    EXPECT_EQ(info,
              QStringList{QStringLiteral("Hráč Pepa poslal 50 nektaru hráči Jana na velení.")});
    EXPECT_EQ(sink.calls, QStringList{QStringLiteral("4,4")});

    world.unitGrid(3, 3) = 43; // the kind already there stays
    applyTradeHq(ctx, event("t; trade_hq; Pepa; Jana; 10; 10;"));
    EXPECT_EQ(world.unitGrid(3, 3), 143);

    // A destroyed HQ is free land now: the units flag is set.
    world.fieldGrid(0, 0) = 1;
    player(0)[Team] = kTeamDestroyed;
    applyTradeHq(ctx, event("t; trade_hq; Jana; Pepa; 10; 3;"));
    EXPECT_EQ(world.unitGrid(0, 0), 31);
    EXPECT_EQ(world.fieldGrid(0, 0), 6);
    EXPECT_FALSE(ctx.stopSlideShow);
}

TEST_F(NectarTransfers, TradeHqWithBadCountOrUnknownReceiver) {
    applyTradeHq(ctx, event("t; trade_hq; Pepa; Jana; 10; many;"));
    EXPECT_TRUE(ctx.stopSlideShow);
    EXPECT_EQ(world.unitGrid(3, 3), 1);
    EXPECT_EQ(player(0)[Nectar], 490);

    sink.calls.clear();
    const World before = world;
    applyTradeHq(ctx, event("t; trade_hq; Pepa; Olga; 10; 5;"));
    EXPECT_EQ(world.unitGrid(5, 5), 0);
    EXPECT_EQ(player(0)[Nectar], 480); // the sender still pays

    player(1)[HqX] = 40; // an HQ outside the world receives nothing
    applyTradeHq(ctx, event("t; trade_hq; Pepa; Jana; 10; 5;"));
    EXPECT_EQ(world.unitGrid(3, 3), 1);
    EXPECT_TRUE(sink.calls.isEmpty());
}
