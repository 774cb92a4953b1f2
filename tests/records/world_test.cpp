#include "records/cell_address.h"
#include "records/numbers.h"
#include "records/windows1250.h"
#include "records/world.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace kx;

TEST(World, AllocationGivesImpassableCellsNoUnitsAndZeroedPlayers) {
    World world;
    world.allocateWorld(5, 3, 2);
    EXPECT_TRUE(world.gridAllocated);
    EXPECT_EQ(world.gridColumns, 5);
    EXPECT_EQ(world.width(), 5);
    EXPECT_EQ(world.height(), 3);
    for (int x = 0; x < 5; ++x)
        for (int y = 0; y < 3; ++y) {
            EXPECT_EQ(world.fieldGrid(x, y), -1);
            EXPECT_EQ(world.unitGrid(x, y), 0);
        }
    ASSERT_EQ(world.playerCount(), 2);
    EXPECT_EQ(world.playerTable[1], PlayerRecord{});

    world.fieldGrid(4, 2) = 7;
    world.allocateWorld(2, 2, 0);
    EXPECT_EQ(world.width(), 2);
    EXPECT_EQ(world.fieldGrid(1, 1), -1);
    EXPECT_FALSE(world.contains(2, 0));
    EXPECT_FALSE(world.contains(0, -1));
    EXPECT_FALSE(world.hasPlayer(0));
}

TEST(World, FieldTallyFollowsEveryWrittenCode) {
    World world;
    world.allocateWorld(4, 3, 2);
    QRandomGenerator random(7);
    // Owners in and out of the tally, HQ and unit digits, every terrain remainder, negatives.
    const int32_t codes[] = {-1,   1,   2,   3,    4,     0,    101,  102,        103,
                             106,  135, 233, 9912, 10101, -101, -233, 2147483647, -2147483647 - 1,
                             4567, 9999};
    for (int round = 0; round < 2000; ++round) {
        FieldGrid::Ref field = world.fieldGrid(random.bounded(4), random.bounded(3));
        const int32_t code = codes[random.bounded(int(std::size(codes)))];
        if (round % 3 == 0)
            field = code;
        else
            field = wrapAdd(field, code % 7); // read back through the same reference
        for (int owner = 0; owner <= kMaxPlayers + 1; ++owner) {
            int32_t fields = 0;
            int32_t yield = 0;
            for (int x = 0; x < 4; ++x)
                for (int y = 0; y < 3; ++y)
                    if (const int32_t c = world.fieldGrid(x, y); fieldOwner(c) == owner) {
                        ++fields;
                        yield += terrainYield(fieldTerrain(c));
                    }
            const bool tallied = owner >= 1 && owner <= kMaxPlayers;
            ASSERT_EQ(world.fieldGrid.ownedFields(owner), tallied ? fields : 0) << round;
            ASSERT_EQ(world.fieldGrid.ownedYield(owner), tallied ? yield : 0) << round;
        }
    }
    world.allocateWorld(2, 2, 1);
    EXPECT_EQ(world.fieldGrid.ownedFields(1), 0);
}

TEST(World, CodesDecodeIntoTheirDigits) {
    EXPECT_EQ(terrainFromLetter('N'), 1);
    EXPECT_EQ(terrainFromLetter('B'), 2);
    EXPECT_EQ(terrainFromLetter('S'), 3);
    EXPECT_EQ(terrainFromLetter('n'), -1);
    EXPECT_EQ(terrainFromLetter('X'), -1);
    EXPECT_EQ(terrainName(terrainFromLetter('N')), QString::fromUtf8("normální"));
    EXPECT_EQ(terrainName(terrainFromLetter('B')), QString::fromUtf8("bažina"));
    EXPECT_EQ(terrainName(terrainFromLetter('S')), QString::fromUtf8("skála"));
    EXPECT_TRUE(terrainName(-1).isEmpty());
    EXPECT_TRUE(terrainName(0).isEmpty());

    EXPECT_EQ(fieldOwner(337), 3);
    EXPECT_EQ(fieldClass(337), 3);
    EXPECT_EQ(fieldTerrain(337), 2);
    EXPECT_TRUE(fieldIsHq(337));
    EXPECT_FALSE(fieldIsHq(226));
    EXPECT_EQ(fieldOwner(-1), 0);
    EXPECT_EQ(fieldOwner(2), 0);
    EXPECT_EQ(unitCount(153), 15);
    EXPECT_EQ(unitKind(153), 3);
    EXPECT_EQ(terrainYield(2), 7);
    EXPECT_EQ(terrainYield(-1), 0);
}

TEST(CellAddress, ReadsColumnAndRowWithTheGamesQuirks) {
    bool bad = false;
    EXPECT_EQ(addressColumn("C12"), 2);
    EXPECT_EQ(addressRow("C12", &bad), 12);
    EXPECT_EQ(addressColumn("c7"), 2);
    EXPECT_EQ(addressColumn("b3"), 1);
    EXPECT_EQ(addressRow("b3", &bad), 3);
    EXPECT_EQ(addressColumn("B12  "), 1);
    EXPECT_EQ(addressRow("B12  ", &bad), 12);
    EXPECT_FALSE(bad);

    // "AO" reads as A0; only the second character is read as a zero.
    EXPECT_EQ(addressRow("AO", &bad), 0);
    EXPECT_FALSE(bad);
    EXPECT_EQ(addressRow("A1O", &bad), 0);
    EXPECT_TRUE(bad);

    bad = false;
    EXPECT_EQ(addressRow("A", &bad), 0);
    EXPECT_EQ(addressRow("", &bad), 0);
    EXPECT_FALSE(bad);
    EXPECT_EQ(addressColumn(""), -1);
    EXPECT_EQ(addressRow("A-1", &bad), -1);
    EXPECT_EQ(addressRow("Z99", &bad), 99);
    EXPECT_EQ(addressColumn("Z99"), 25);
    EXPECT_FALSE(bad);
    EXPECT_EQ(addressRow("A99999999999", &bad), 0);
    EXPECT_TRUE(bad);
    // A letter above 127 is a negative signed byte: outside every world.
    EXPECT_LT(addressColumn(*encodeWindows1250(QString::fromUtf8("č5"))), 0);
}

TEST(CellAddress, WritesTheAddressTheMapShows) {
    // Letters while 'A' + x is a printable ASCII character, then the column's number.
    struct Case {
        int x, y;
        const char* column;
        const char* address;
    };
    for (const Case& c :
         {Case{2, 5, "C", "C5"}, Case{0, 12, "A", "A12"}, Case{26, 0, "[", "[0"},
          Case{61, 3, "~", "~3"}, Case{62, 3, "62", "62:3"}, Case{191, 199, "191", "191:199"},
          Case{999, 0, "999", "999:0"}, Case{-1, 0, "-1", "-1:0"}}) {
        EXPECT_EQ(columnName(c.x), QString::fromLatin1(c.column)) << c.x;
        EXPECT_EQ(cellAddressText(c.x, c.y), QString::fromLatin1(c.address)) << c.x;
    }
    // The inspector reads its own address back, in every column a world can have.
    for (int x = 0; x < kMaxWorldSide; ++x)
        ASSERT_EQ(cellOfAddressText(cellAddressText(x, 17)), std::pair(x, 17)) << x;
    EXPECT_FALSE(cellOfAddressText(u"A"));
    EXPECT_FALSE(cellOfAddressText(u"62:"));
}
