#include "mapview/icon_choice.h"

#include <gtest/gtest.h>

#include <climits>

using namespace kx;

namespace {

// A world of free normal ground with players of the given teams (player number = index + 1).
World makeWorld(int width, int height, std::vector<int32_t> teams) {
    World world;
    world.allocateWorld(width, height, static_cast<int>(teams.size()));
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            world.fieldGrid(x, y) = 1;
    for (size_t i = 0; i < teams.size(); ++i) {
        world.playerTable[i][Index] = static_cast<int32_t>(i);
        world.playerTable[i][Team] = teams[i];
    }
    return world;
}

IconContext view(MapView item) {
    IconContext context;
    context.viewFilter = item;
    context.viewItem = item;
    return context;
}

IconContext highlighted(MapView item, int32_t owner) {
    IconContext context = view(MapView(item));
    context.highlightOwner = owner;
    return context;
}

} // namespace

TEST(TypeIcon, CoversEveryListedTypeAndBlanksTheRest) {
    const std::vector<std::pair<int32_t, int>> listed = {
        {0, 1},   {1, 2},   {2, 3},   {3, 4},   {11, 5},  {12, 6},  {13, 7},  {16, 11},
        {17, 12}, {18, 13}, {21, 8},  {22, 9},  {23, 10}, {26, 14}, {27, 15}, {28, 16},
        {31, 17}, {32, 18}, {33, 19}, {36, 17}, {37, 18}, {38, 19}};
    for (const auto& [type, icon] : listed)
        EXPECT_EQ(typeIcon(type), icon) << type;
    for (int32_t type : {-1, -50, 4, 5, 10, 14, 15, 19, 20, 30, 34, 35, 39, 40, 99, 131})
        EXPECT_EQ(typeIcon(type), kIconBlank) << type;
}

TEST(FieldIcon, HighlightWinsOverViewsAndTheHqSwitch) {
    // The owner's fields turn red in every view, with their units shown.
    const std::vector<std::pair<int32_t, int>> table = {
        {11, 20}, {21, 20}, {12, 21}, {22, 21}, {13, 22}, {23, 22}, {16, 23}, {26, 23}, {17, 24},
        {27, 24}, {18, 25}, {28, 25}, {31, 17}, {36, 17}, {32, 18}, {37, 18}, {33, 19}, {38, 19}};
    for (int item = 0; item < 4; ++item)
        for (const auto& [type, icon] : table)
            EXPECT_EQ(fieldIcon(type, 3, highlighted(MapView(item), 3)), icon)
                << item << " " << type;

    // Types without an entry fall through; another owner, owner 0 and cbHL off do not light.
    EXPECT_EQ(fieldIcon(1, 3, highlighted(MapView::All, 3)), 2);
    EXPECT_EQ(fieldIcon(0, 0, highlighted(MapView::All, 0)), 1);
    EXPECT_EQ(fieldIcon(11, 2, highlighted(MapView::All, 3)), 5);
    IconContext off = highlighted(MapView::All, 3);
    off.highlightFields = false;
    EXPECT_EQ(fieldIcon(16, 3, off), 11);
    EXPECT_EQ(fieldIcon(36, 3, off), 8);
}

TEST(MapView, SelectorItemsAreTheViewsInOrderWithTheirTexts) {
    const char* const names[] = {"Vše", "Louka", "Les", "Náhled"};
    for (int item = 0; item < 4; ++item) {
        ASSERT_EQ(mapViewAt(item), kMapViews[static_cast<size_t>(item)]) << item;
        EXPECT_EQ(static_cast<int>(*mapViewAt(item)), item); // the JSON's viewFilter
        EXPECT_EQ(mapViewName(*mapViewAt(item)), QString::fromUtf8(names[item])) << item;
    }
    EXPECT_FALSE(mapViewAt(-1));
    EXPECT_FALSE(mapViewAt(4));
}

TEST(FieldIcon, ViewsHideTheOtherTeamsUnitsAndTheSwitchHidesHqs) {
    // View item: "Vše", "Louka", "Les", "Náhled".
    const int loukaUnits[4] = {11, 11, 5, 5};
    const int lesUnits[4] = {14, 8, 14, 8};
    for (int item = 0; item < 4; ++item) {
        EXPECT_EQ(fieldIcon(16, 1, view(MapView(item))), loukaUnits[item]) << item;
        EXPECT_EQ(fieldIcon(18, 1, view(MapView(item))), loukaUnits[item] + 2) << item;
        EXPECT_EQ(fieldIcon(26, 2, view(MapView(item))), lesUnits[item]) << item;
        EXPECT_EQ(fieldIcon(28, 2, view(MapView(item))), lesUnits[item] + 2) << item;
        EXPECT_EQ(fieldIcon(0, 0, view(MapView(item))), kIconHidden) << item;
    }
    // The unit hiding follows the selector's item, not viewFilter.
    IconContext mixed = view(MapView::All);
    mixed.viewItem = MapView::Les;
    EXPECT_EQ(fieldIcon(16, 1, mixed), 5);

    IconContext shown = view(MapView::All);
    shown.hideHq = false;
    EXPECT_EQ(fieldIcon(37, 2, view(MapView::All)), 9);
    EXPECT_EQ(fieldIcon(37, 2, shown), 18);
    EXPECT_EQ(fieldIcon(33, 1, view(MapView::All)), 7);
    EXPECT_EQ(fieldIcon(33, 1, shown), 19);
    EXPECT_EQ(fieldIcon(34, 1, shown), kIconBlank);
}

TEST(CellIcon, ImpassableAndOutsideCellsAreBlankInEveryView) {
    World world = makeWorld(3, 5, {kTeamLouka});
    world.fieldGrid(1, 1) = kImpassable;
    world.fieldGrid(1, 2) = 111;
    for (int item = 0; item < 4; ++item) {
        EXPECT_EQ(cellIcon(world, 1, 1, view(MapView(item))), kIconBlank) << item;
        EXPECT_EQ(cellIcon(world, 3, 0, view(MapView(item))), kIconBlank) << item;
        EXPECT_EQ(cellIcon(world, 0, -1, view(MapView(item))), kIconBlank) << item;
    }
    World unallocated;
    EXPECT_EQ(cellIcon(unallocated, 0, 0, view(MapView::All)), kIconBlank);
}

TEST(CellIcon, TeamViewsSeeTheirFieldsAndTheirNeighbours) {
    // Louka (player 1) holds B1; les (player 2) holds E1, two columns away.
    World world = makeWorld(6, 3, {kTeamLouka, kTeamLes});
    world.fieldGrid(1, 1) = 111;
    world.fieldGrid(2, 1) = 2;   // free swamp next to it
    world.fieldGrid(0, 2) = 3;   // free rock diagonally below left
    world.fieldGrid(4, 1) = 226; // les with units
    const IconContext louka = view(MapView::Louka);
    EXPECT_EQ(cellIcon(world, 1, 1, louka), 5);
    EXPECT_EQ(cellIcon(world, 2, 1, louka), 3);
    EXPECT_EQ(cellIcon(world, 0, 2, louka), 4);
    EXPECT_EQ(cellIcon(world, 4, 1, louka), kIconHidden);
    EXPECT_EQ(cellIcon(world, 3, 0, louka), kIconHidden);

    // The les view sees its own units and the louka field only once adjacent.
    const IconContext les = view(MapView::Les);
    EXPECT_EQ(cellIcon(world, 4, 1, les), 14);
    EXPECT_EQ(cellIcon(world, 3, 2, les), 2);
    EXPECT_EQ(cellIcon(world, 1, 1, les), kIconHidden);
    world.fieldGrid(2, 1) = 227; // les units on swamp, next to the louka field
    EXPECT_EQ(cellIcon(world, 1, 1, les), 5);
    EXPECT_EQ(cellIcon(world, 2, 1, les), 15);
    // Louka sees the adjacent les field but not its units.
    EXPECT_EQ(cellIcon(world, 2, 1, louka), 9);
}

TEST(CellIcon, NeighboursStopAtTheWorldsEdges) {
    // No wrap-around: neither through the column-by-column storage (below the bottom of one
    // column lies the top of the next) nor around the edges as on a torus.
    World world = makeWorld(3, 5, {kTeamLouka});
    world.fieldGrid(1, 0) = 111;
    EXPECT_EQ(cellIcon(world, 0, 4, view(MapView::Louka)), kIconHidden);
    world.fieldGrid(1, 0) = 1;
    world.fieldGrid(0, 0) = 111;
    EXPECT_EQ(cellIcon(world, 2, 4, view(MapView::Louka)), kIconHidden);
    EXPECT_EQ(cellIcon(world, 2, 0, view(MapView::Louka)), kIconHidden);
    EXPECT_EQ(cellIcon(world, 1, 1, view(MapView::Louka)), 2);
    // A louka field in the corner lights only its in-world neighbours.
    world.fieldGrid(2, 4) = 113;
    EXPECT_EQ(cellIcon(world, 2, 4, view(MapView::Louka)), 7);
    EXPECT_EQ(cellIcon(world, 1, 3, view(MapView::Louka)), 2);
    EXPECT_EQ(cellIcon(world, 0, 3, view(MapView::Louka)), kIconHidden);
}

TEST(CellIcon, PreviewShowsOnlyHeldFieldsOnTheFrontLine) {
    World world = makeWorld(5, 3, {kTeamLouka, kTeamLes});
    world.fieldGrid(1, 1) = 116; // louka with units
    world.fieldGrid(2, 1) = 3;   // free rock between both sides
    world.fieldGrid(3, 1) = 221;
    const IconContext preview = view(MapView::Preview);
    EXPECT_EQ(cellIcon(world, 2, 1, preview), kIconHidden);
    EXPECT_EQ(cellIcon(world, 1, 1, preview), kIconHidden);
    EXPECT_EQ(cellIcon(world, 3, 1, preview), kIconHidden);

    world.fieldGrid(2, 2) = 237;                  // a les HQ touching both
    EXPECT_EQ(cellIcon(world, 1, 1, preview), 5); // units hidden in the preview
    EXPECT_EQ(cellIcon(world, 2, 2, preview), 9); // cbHH draws it as a les field
    EXPECT_EQ(cellIcon(world, 2, 1, preview), kIconHidden);
    EXPECT_EQ(cellIcon(world, 3, 1, preview), kIconHidden); // only les around it
    EXPECT_EQ(cellIcon(world, 1, 1, highlighted(MapView::Preview, 1)), 23);
}

TEST(CellIcon, DestroyedPlayersAndUnknownOwnersBelongToNoTeamView) {
    // Player 2 was destroyed, but its cells still carry its number; owner 7 has no record.
    World world = makeWorld(4, 3, {kTeamLouka, kTeamDestroyed});
    world.fieldGrid(1, 1) = 211;
    world.fieldGrid(2, 1) = 111;
    world.fieldGrid(3, 1) = 1;
    for (MapView item : {MapView::Louka, MapView::Les})
        EXPECT_EQ(cellIcon(world, 0, 0, view(item)), kIconHidden) << int(item);
    EXPECT_EQ(cellIcon(world, 1, 1, view(MapView::Les)), kIconHidden);
    EXPECT_EQ(cellIcon(world, 1, 1, view(MapView::Louka)), 5); // seen from its louka neighbour
    // In the preview the destroyed player is the forest side.
    EXPECT_EQ(cellIcon(world, 2, 1, view(MapView::Preview)), 5);
    EXPECT_EQ(cellIcon(world, 1, 1, view(MapView::Preview)), 5);

    world.fieldGrid(1, 1) = 711;
    EXPECT_EQ(cellIcon(world, 1, 1, view(MapView::All)), 5);
    EXPECT_EQ(cellIcon(world, 1, 1, view(MapView::Louka)), 5); // its louka neighbour sees it
    EXPECT_EQ(cellIcon(world, 0, 0, view(MapView::Louka)), kIconHidden);
    EXPECT_EQ(cellIcon(world, 2, 1, view(MapView::Preview)), kIconHidden);
    EXPECT_EQ(cellIcon(world, 1, 1, highlighted(MapView::All, 7)), 20);
}

TEST(CellIcon, HostileCodesNeverReachOutsideThePlayerTable) {
    World world = makeWorld(3, 3, {kTeamLes});
    const int32_t codes[] = {INT_MIN, INT_MAX, -2, -101, 99, 100, 10031, 100111, -211};
    for (int32_t code : codes) {
        world.fieldGrid(1, 1) = code;
        for (int item = 0; item < 4; ++item) {
            const int icon = cellIcon(world, 1, 1, view(MapView(item)));
            EXPECT_GE(icon, 0) << code;
            EXPECT_LT(icon, kIconCount) << code;
            EXPECT_GE(cellIcon(world, 0, 0, view(MapView(item))), 0);
        }
    }
    world.fieldGrid(1, 1) = -101; // owner -1, type -1
    EXPECT_EQ(cellIcon(world, 1, 1, highlighted(MapView::All, -1)), kIconBlank);
}
