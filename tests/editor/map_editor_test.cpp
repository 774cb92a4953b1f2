#include "editor/map_editor.h"
#include "editor/map_file.h"
#include "records/user_messages.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <functional>

using namespace kx;

namespace {

constexpr int kNone = 0;
constexpr int kHovado = 2;

TEST(MapEditorTest, StartsAsTwentyByTwentyNormalGroundWithoutUnits) {
    const MapEditor editor;
    ASSERT_TRUE(editor.editAllocated);
    EXPECT_EQ(editor.width(), 20);
    EXPECT_EQ(editor.height(), 20);
    EXPECT_EQ(editor.columnCount(), 21);
    EXPECT_EQ(editor.paintTerrain, 1);
    EXPECT_EQ(editor.paintCount, 0);
    EXPECT_EQ(editor.lbType, QString::fromUtf8("normální"));
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 20; ++y)
            ASSERT_TRUE(editor.editFields(x, y) == 1 && editor.editUnits(x, y) == 0);
    EXPECT_EQ(editor.cellIcon(1, 1), 1);
    EXPECT_EQ(editor.cellIcon(20, 20), 1);
}

TEST(MapEditorTest, SizeListsGiveThreeToTwentyAndDiscardTheDrawing) {
    MapEditor editor;
    editor.paintCount = 5;
    ASSERT_TRUE(editor.dgMapSelectCell(1, 1, kHovado));
    editor.cbXChange(0, 0); // "3" x "3"
    EXPECT_EQ(editor.width(), 3);
    EXPECT_EQ(editor.height(), 3);
    EXPECT_EQ(editor.editFields(0, 0), 1);
    EXPECT_EQ(editor.editUnits(0, 0), 0);

    editor.cbXChange(2, 17); // "5" x "20"
    EXPECT_EQ(editor.width(), 5);
    EXPECT_EQ(editor.height(), 20);
    // Painting settings survive a size change.
    EXPECT_EQ(editor.paintCount, 5);

    // Sizes outside the lists stay within 3..20.
    editor.cbXChange(-1, 40);
    EXPECT_EQ(editor.width(), 3);
    EXPECT_EQ(editor.height(), 20);
}

TEST(MapEditorTest, DrawingCountsAsChangedOnlySinceStartOrSave) {
    QTemporaryDir folder;
    const MapTexts texts{QStringLiteral("mapa"), {}, {}, "3", "10", "0", "100"};
    const auto paint = [](MapEditor& editor) {
        editor.image1Click(kEditorRock);
        editor.dgMapSelectCell(2, 2, kNone);
    };
    const struct {
        const char* what;
        std::function<void(MapEditor&)> before;
        bool changed;
    } cases[] = {
        {"started", [](MapEditor&) {}, false},
        {"painted as it was", [](MapEditor& e) { e.dgMapSelectCell(2, 2, kNone); }, false},
        {"painted", paint, true},
        {"filled", [](MapEditor& e) { e.image1Click(kEditorSwamp), e.fillArea(1, 1, kNone); },
         true},
        {"painted and saved",
         [&](MapEditor& e) {
             paint(e);
             RecordedMessages quiet;
             ASSERT_TRUE(button1Click(e, texts, folder.path(), quiet));
         },
         false},
        {"painted and resized",
         [&](MapEditor& e) {
             paint(e);
             e.cbXChange(0, 0);
         },
         false},
    };
    for (const auto& c : cases) {
        MapEditor editor;
        c.before(editor);
        EXPECT_EQ(editor.drawingChanged, c.changed) << c.what;
    }
}

TEST(MapEditorTest, PaletteTagsChooseTerrainAndCaption) {
    MapEditor editor;
    const struct {
        int tag;
        int32_t terrain;
        const char* caption;
    } cases[] = {{2, 2, "bažina"},
                 {3, 3, "skála"},
                 {0, -1, "nedobytné"},
                 {1, 1, "normální"},
                 {7, -1, "nedobytné"}};
    for (const auto& c : cases) {
        editor.image1Click(c.tag);
        EXPECT_EQ(editor.paintTerrain, c.terrain) << c.tag;
        EXPECT_EQ(editor.lbType, QString::fromUtf8(c.caption)) << c.tag;
    }
}

TEST(MapEditorTest, CountTakesIntegersAndKeepsItsValueOtherwise) {
    MapEditor editor;
    editor.edUnitChange(u"1");
    EXPECT_EQ(editor.paintCount, 1);
    editor.edUnitChange(u"12");
    EXPECT_EQ(editor.paintCount, 12);
    for (const char16_t* text : {u"", u"-", u"x", u"1 "})
        editor.edUnitChange(text);
    EXPECT_EQ(editor.paintCount, 12);
    editor.edUnitChange(u"0");
    EXPECT_EQ(editor.paintCount, 0);
}

TEST(MapEditorTest, ClickWithUnitsAddsTheFlagAndTheUnitCode) {
    MapEditor editor;
    editor.image1Click(2); // bažina
    editor.edUnitChange(u"12");
    ASSERT_TRUE(editor.dgMapSelectCell(3, 2, kHovado));
    EXPECT_EQ(editor.editFields(2, 1), 7);
    EXPECT_EQ(editor.editUnits(2, 1), 122);
    EXPECT_EQ(editor.cellIcon(3, 2), 5);
    // Nothing else changed.
    EXPECT_EQ(editor.editFields(1, 1), 1);
    EXPECT_EQ(editor.editUnits(2, 0), 0);
}

TEST(MapEditorTest, ClickWithoutUnitsGivesPlainTerrainAndClearsEarlierUnits) {
    MapEditor editor;
    editor.edUnitChange(u"12");
    ASSERT_TRUE(editor.dgMapSelectCell(1, 1, kHovado));
    ASSERT_EQ(editor.editUnits(0, 0), 122);

    // No kind chosen.
    editor.image1Click(3);
    ASSERT_TRUE(editor.dgMapSelectCell(1, 1, kNone));
    EXPECT_EQ(editor.editFields(0, 0), 3);
    EXPECT_EQ(editor.editUnits(0, 0), 0);
    EXPECT_EQ(editor.cellIcon(1, 1), 3);

    // A count of 0.
    ASSERT_TRUE(editor.dgMapSelectCell(1, 1, kHovado));
    editor.edUnitChange(u"0");
    ASSERT_TRUE(editor.dgMapSelectCell(1, 1, kHovado));
    EXPECT_EQ(editor.editFields(0, 0), 3);
    EXPECT_EQ(editor.editUnits(0, 0), 0);

    // Impassable ground carries no units whatever is chosen.
    editor.edUnitChange(u"4");
    ASSERT_TRUE(editor.dgMapSelectCell(1, 1, 6));
    editor.image1Click(0);
    ASSERT_TRUE(editor.dgMapSelectCell(1, 1, 6));
    EXPECT_EQ(editor.editFields(0, 0), -1);
    EXPECT_EQ(editor.editUnits(0, 0), 0);
    EXPECT_EQ(editor.cellIcon(1, 1), 0);

    // A negative count (not typeable in the window) places nothing either.
    editor.image1Click(1);
    editor.paintCount = -3;
    ASSERT_TRUE(editor.dgMapSelectCell(1, 1, 1));
    EXPECT_EQ(editor.editFields(0, 0), 1);
    EXPECT_EQ(editor.editUnits(0, 0), 0);
}

TEST(MapEditorTest, HeadersAndCellsOutsideTheMapChangeNothing) {
    MapEditor editor;
    editor.cbXChange(0, 1); // 3 x 4
    editor.image1Click(0);
    for (const auto& [col, row] : {std::pair{0, 1}, {1, 0}, {0, 0}, {4, 1}, {1, 5}, {-1, 2}})
        EXPECT_FALSE(editor.dgMapSelectCell(col, row, kNone)) << col << ", " << row;
    EXPECT_TRUE(editor.dgMapSelectCell(3, 4, kNone));
    EXPECT_EQ(editor.editFields(2, 3), -1);
    EXPECT_EQ(editor.cellIcon(0, 0), 0);
    EXPECT_EQ(editor.cellIcon(9, 9), 0);
}

TEST(MapEditorTest, EditorIconsByCode) {
    const std::pair<int32_t, int> cases[] = {{1, 1}, {2, 2},  {3, 3}, {6, 4}, {7, 5},
                                             {8, 6}, {-1, 0}, {0, 0}, {4, 0}, {5, 0}};
    for (const auto& [code, icon] : cases)
        EXPECT_EQ(editorIcon(code), icon) << code;
}

} // namespace
