#include "editor/map_history.h"

#include "records/user_messages.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kx;

namespace {

constexpr int kNone = 0;
constexpr int kKomar = 1;

const MapTexts kTexts{QStringLiteral("mapa"), {}, {}, "3", "10", "0", "100"};

// One recorded step around `edit`, then undone and redone through its states.
struct Step {
    MapEditor editor;
    std::optional<MapEdit> edit;

    template <typename F> void record(const QString& name, F change) {
        MapEditRecorder recorder;
        recorder.begin(name, editor, kTexts);
        change(editor);
        edit = recorder.finish(editor, kTexts);
    }
};

TEST(MapHistoryTest, OneEditIsOneStepThatUndoesAndRedoes) {
    const struct {
        const char* what;
        std::function<void(MapEditor&)> change;
    } cases[] = {
        {"click", [](MapEditor& e) { e.dgMapSelectCell(3, 4, kNone); }},
        {"drag over three cells",
         [](MapEditor& e) {
             for (int col = 1; col <= 3; ++col)
                 e.dgMapSelectCell(col, 1, kNone);
         }},
        {"fill", [](MapEditor& e) { e.fillArea(5, 5, kKomar); }},
        {"rectangle", [](MapEditor& e) { e.paintRectangle(2, 2, 6, 4, kNone); }},
        {"size", [](MapEditor& e) { e.cbXChange(2, 4); }},
    };
    for (const auto& c : cases) {
        Step step;
        step.editor.image1Click(0); // something drawn before: an impassable corner
        step.editor.dgMapSelectCell(20, 20, kNone);
        step.editor.image1Click(kEditorSwamp);
        step.editor.paintCount = 4;
        const MapState original = captureState(step.editor, kTexts);
        step.record(QStringLiteral("x"), c.change);
        ASSERT_TRUE(step.edit) << c.what;
        const MapState changed = captureState(step.editor, kTexts);
        restoreDrawing(step.editor, step.edit->before);
        EXPECT_TRUE(sameState(captureState(step.editor, kTexts), original)) << c.what;
        restoreDrawing(step.editor, step.edit->after);
        EXPECT_TRUE(sameState(captureState(step.editor, kTexts), changed)) << c.what;
    }
}

TEST(MapHistoryTest, AnEditThatChangesNothingIsNoStep) {
    Step step;
    step.record(QStringLiteral("x"), [](MapEditor& e) { e.dgMapSelectCell(1, 1, kNone); });
    EXPECT_FALSE(step.edit);
}

TEST(MapHistoryTest, FillTakesTheConnectedAreaOfOneTerrainWithOrWithoutUnits) {
    MapEditor editor;
    editor.allocateMap(5, 3);
    // A rock wall in column C splits the map; A1 holds units on normal ground.
    editor.image1Click(kEditorRock);
    editor.paintRectangle(3, 1, 3, 3, kNone);
    editor.image1Click(kEditorNormal);
    editor.paintCount = 2;
    editor.dgMapSelectCell(1, 2, kKomar);

    editor.image1Click(kEditorSwamp);
    editor.paintCount = 7;
    ASSERT_TRUE(editor.fillArea(2, 1, kKomar));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 2; ++x) {
            EXPECT_EQ(editor.editFields(x, y), kEditorSwamp + kEditorUnitsFlag) << x << y;
            EXPECT_EQ(editor.editUnits(x, y), 71) << x << y;
        }
        EXPECT_EQ(editor.editFields(2, y), kEditorRock);
        EXPECT_EQ(editor.editFields(4, y), kEditorNormal);
    }
    // Filling an area with what it already is changes nothing; outside the map neither.
    EXPECT_FALSE(editor.fillArea(1, 1, kKomar));
    EXPECT_FALSE(editor.fillArea(0, 1, kKomar));
    EXPECT_FALSE(editor.fillArea(6, 1, kKomar));
}

TEST(MapHistoryTest, RectangleIsClippedToTheMapWhicheverCornerComesFirst) {
    MapEditor editor;
    editor.allocateMap(4, 4);
    editor.image1Click(0);
    ASSERT_TRUE(editor.paintRectangle(9, 3, 3, 0, kNone));
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 4; ++y)
            EXPECT_EQ(editor.editFields(x, y) == kEditorImpassable, x >= 2 && y <= 2) << x << y;
}

TEST(MapHistoryTest, ReplacingAnUnsavedDrawingAsksAndMaySaveFirst) {
    const struct {
        bool unsaved;
        QuestionAnswer answer;
        bool saves;
        bool asked;
        bool saveCalled;
        bool goOn;
    } cases[] = {
        {false, QuestionAnswer::Cancel, true, false, false, true},
        {true, QuestionAnswer::Yes, true, true, true, true},
        {true, QuestionAnswer::Yes, false, true, true, false},
        {true, QuestionAnswer::No, true, true, false, true},
        {true, QuestionAnswer::Cancel, true, true, false, false},
    };
    for (const auto& c : cases) {
        RecordedMessages messages;
        messages.threeWayAnswer = c.answer;
        bool saveCalled = false;
        const bool goOn = mayReplaceDrawing(c.unsaved, closeQuestion(), messages, [&] {
            saveCalled = true;
            return c.saves;
        });
        EXPECT_EQ(goOn, c.goOn);
        EXPECT_EQ(messages.shown.size(), c.asked ? 1 : 0);
        EXPECT_EQ(saveCalled, c.saveCalled);
    }
}

} // namespace
