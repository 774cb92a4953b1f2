#include "editor_fixture.h"

#include "editor/ui/editor_icons.h"
#include "editor/ui/preview_icons.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QToolButton>
#include <QUndoStack>

using namespace kx;

namespace {

struct EditingTest : EditorWindowTest {
    void SetUp() override {
        EditorWindowTest::SetUp();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        grid()->setFocus();
    }
    void press(int col, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        send(QEvent::MouseButtonPress, col, row, Qt::LeftButton, Qt::LeftButton, modifiers);
    }
    void moveTo(int col, int row) {
        send(QEvent::MouseMove, col, row, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    }
    void release(int col, int row) {
        send(QEvent::MouseButtonRelease, col, row, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    }
    void send(QEvent::Type type, int col, int row, Qt::MouseButton button, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers modifiers) {
        const QPointF at = grid()->cellRect(col, row).center();
        QMouseEvent event(type, at, grid()->mapToGlobal(at), button, buttons, modifiers);
        QApplication::sendEvent(grid(), &event);
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(&window, key, modifiers);
    }
    int32_t field(int col, int row) { return window.editor().editFields(col - 1, row - 1); }
    QString undoText() { return child<QAction>("acUndo")->text(); }
    void choose(const char* image) { QTest::mouseClick(child<QWidget>(image), Qt::LeftButton); }
};

TEST_F(EditingTest, UndoAndRedoKeysStepThroughClicksDragsAndFills) {
    choose("Image3"); // rock
    click(2, 2);
    EXPECT_EQ(undoText(), QString::fromUtf8("&Zpět: Kreslení"));
    press(3, 3);
    moveTo(6, 3);
    release(6, 3);
    EXPECT_EQ(undoText(), QString::fromUtf8("&Zpět: Tah"));
    choose("Image2"); // swamp
    press(10, 10, Qt::ShiftModifier);
    release(10, 10);
    EXPECT_EQ(undoText(), QString::fromUtf8("&Zpět: Vyplnění"));
    EXPECT_EQ(window.undoStack()->count(), 3);
    EXPECT_EQ(field(20, 20), kEditorSwamp);
    EXPECT_EQ(field(4, 3), kEditorRock);
    EXPECT_TRUE(window.isWindowModified());

    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field(20, 20), kEditorNormal);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field(4, 3), kEditorNormal);
    EXPECT_EQ(field(2, 2), kEditorRock);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(field(4, 3), kEditorRock);
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(field(20, 20), kEditorSwamp);
    EXPECT_EQ(child<QAction>("acRedo")->isEnabled(), false);

    // Undone back to the start, nothing is left unsaved.
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field(2, 2), kEditorNormal);
    EXPECT_FALSE(window.isWindowModified());
}

TEST_F(EditingTest, CtrlDragPaintsARectangleThatFollowsThePointerAsOneStep) {
    choose("Image4"); // impassable
    press(2, 2, Qt::ControlModifier);
    moveTo(5, 6);
    EXPECT_EQ(field(5, 6), kEditorImpassable);
    moveTo(3, 4);
    release(3, 4);
    EXPECT_EQ(field(5, 6), kEditorNormal);
    for (int col = 1; col <= 4; ++col)
        for (int row = 1; row <= 5; ++row)
            EXPECT_EQ(field(col, row) == kEditorImpassable,
                      col >= 2 && col <= 3 && row >= 2 && row <= 4);
    EXPECT_EQ(undoText(), QString::fromUtf8("&Zpět: Obdélník"));
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field(3, 4), kEditorNormal);
}

TEST_F(EditingTest, FillToolAndAParameterEditAreStepsToo) {
    child<QToolButton>("tbFill")->click();
    choose("Image3");
    click(1, 1);
    EXPECT_EQ(field(20, 20), kEditorRock);

    auto* name = child<QLineEdit>("edName");
    name->setFocus();
    QTest::keyClicks(name, "2");
    grid()->setFocus(); // leaving the edit finishes the parameter
    EXPECT_EQ(undoText(), QString::fromUtf8("&Zpět: Úprava údajů"));
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(name->text(), QStringLiteral("mapa"));
    EXPECT_EQ(field(20, 20), kEditorRock);
}

TEST_F(EditingTest, CtrlOOpensAMapThatSavesBackToTheSameBytes) {
    MapEditor drawn;
    drawn.allocateMap(7, 4);
    drawn.image1Click(kEditorSwamp);
    drawn.paintCount = 12;
    drawn.dgMapSelectCell(3, 2, 2);
    const MapTexts texts{QString::fromUtf8("Ostrov"),
                         QString::fromUtf8("Řehoř"),
                         QString::fromUtf8("Malý ostrov"),
                         "03",
                         "8",
                         "0",
                         "90"};
    QString path;
    ASSERT_TRUE(saveMap(drawn, texts, folder.path(), messages, &path));
    window.setMapFileChooser([&] { return path; });

    key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(messages.shown.isEmpty()) << messages.shown.join('|').toStdString();
    EXPECT_EQ(window.editor().width(), 7);
    EXPECT_EQ(child<QComboBox>("cbY")->currentText(), QStringLiteral("4"));
    EXPECT_EQ(window.mapTexts(), texts);
    EXPECT_EQ(field(3, 2), kEditorSwamp + kEditorUnitsFlag);
    EXPECT_TRUE(window.windowTitle().contains(QStringLiteral("Ostrov.xml")));
    EXPECT_FALSE(window.isWindowModified());

    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
    ASSERT_EQ(files(), QStringList({"Ostrov.xml", "Ostrov1.xml"}));
    QFile first(path);
    QFile second(folder.filePath("Ostrov1.xml"));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.readAll(), second.readAll());
}

TEST_F(EditingTest, ADamagedMapIsRefusedAndTheDrawingKept) {
    const QString path = folder.filePath("rozbita.xml");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<?xml version=\"1.0\" encoding=\"Windows-1250\" ?>\n<world>\n<width>25</width>");
    file.close();
    window.setMapFileChooser([&] { return path; });
    choose("Image3");
    click(2, 2);

    messages.threeWayAnswer = QuestionAnswer::Cancel;
    key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(messages.shown.size(), 1); // only the question
    messages.threeWayAnswer = QuestionAnswer::No;
    key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(messages.shown.size(), 3);
    EXPECT_TRUE(messages.shown[2].contains(QStringLiteral("rozbita.xml")));
    EXPECT_EQ(field(2, 2), kEditorRock);
    EXPECT_EQ(window.editor().width(), 20);
    EXPECT_TRUE(window.isWindowModified());
}

TEST_F(EditingTest, ClosingWithUnsavedChangesAsksFirst) {
    click(3, 3); // as it was: nothing to ask
    choose("Image2");
    click(3, 3);
    messages.threeWayAnswer = QuestionAnswer::Cancel;
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    messages.threeWayAnswer = QuestionAnswer::Yes; // save, then close
    QTest::mouseClick(child<QPushButton>("Button2"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(files(), QStringList({"mapa.xml"}));
    EXPECT_EQ(messages.shown.size(), 2);
}

TEST_F(EditingTest, PreviewDrawsTheReplayPictures) {
    choose("Image2");
    child<QComboBox>("cbUnit")->setCurrentIndex(3);
    QTest::keyClicks(child<QLineEdit>("edUnit"), "4");
    click(2, 2);
    const auto picture = [](const QImage& image) {
        return image.convertToFormat(QImage::Format_RGB32);
    };
    EXPECT_EQ(shown().copy(grid()->cellRect(2, 2)), picture(renderEditorIcon(5, 1.0)));
    child<QCheckBox>("cbPreview")->click();
    EXPECT_EQ(shown().copy(grid()->cellRect(2, 2)), picture(renderPreviewIcon(5, 1.0)));
    EXPECT_NE(renderPreviewIcon(5, 1.0), renderEditorIcon(5, 1.0));
}

} // namespace
