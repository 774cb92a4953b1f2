#include "editor_fixture.h"

#include "editor/ui/editor_icons.h"

#include <QClipboard>
#include <QLabel>
#include <QMimeData>

using namespace kx;

namespace {

QImage icon(int index) {
    return renderEditorIcon(index, 1.0).convertToFormat(QImage::Format_RGB32);
}

TEST_F(EditorWindowTest, ControlsStartWithTheirTextsLimitsAndDefaults) {
    EXPECT_EQ(window.windowTitle(),
              QString::fromUtf8("KXCreator - editor map v1.0 – nová mapa[*]"));
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_EQ(window.objectName(), QStringLiteral("FCreate"));
    const struct {
        const char* name;
        const char* text;
        int maxLength;
    } edits[] = {{"edName", "mapa", 32}, {"edAuthor", "", 32}, {"edSpeed", "3", 2},
                 {"edLimit", "10", 2},   {"edMinE", "0", 3},   {"edMaxE", "100", 3},
                 {"edUnit", "0", 2}};
    for (const auto& e : edits) {
        auto* edit = child<QLineEdit>(e.name);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), QString::fromUtf8(e.text)) << e.name;
        EXPECT_EQ(edit->maxLength(), e.maxLength) << e.name;
    }
    EXPECT_TRUE(child<QPlainTextEdit>("mPopis")->toPlainText().isEmpty());
    EXPECT_EQ(child<QLabel>("lbType")->text(), QString::fromUtf8("normální"));
    for (const char* name : {"cbX", "cbY"}) {
        auto* list = child<QComboBox>(name);
        ASSERT_EQ(list->count(), 18);
        EXPECT_EQ(list->itemText(0), "3");
        EXPECT_EQ(list->itemText(17), "20");
        EXPECT_EQ(list->currentIndex(), 17);
    }
    auto* units = child<QComboBox>("cbUnit");
    ASSERT_EQ(units->count(), 7);
    EXPECT_EQ(units->itemText(0), QString::fromUtf8("(žádné)"));
    EXPECT_EQ(units->itemText(3), QString::fromUtf8("Šváb"));
    EXPECT_EQ(units->currentIndex(), 0);
    EXPECT_TRUE(child<QPushButton>("Button1")->isDefault());
    EXPECT_EQ(child<QPushButton>("Button1")->text(), QString::fromUtf8("&Uložit"));
    EXPECT_EQ(child<QPushButton>("Button2")->text(), QString::fromUtf8("&Zavřít"));
    for (const char* name : {"GroupBox1", "GroupBox2", "GroupBox3", "GroupBox4", "Image1", "Image2",
                             "Image3", "Image4", "Label1"})
        child<QWidget>(name);

    // A 20 x 20 map of grass under the headers.
    EXPECT_EQ(window.editor().width(), 20);
    EXPECT_EQ(grid()->size(), QSize(21 * 20, 21 * 20));
    const QImage image = shown();
    EXPECT_EQ(image.copy(grid()->cellRect(1, 1)), icon(1));
    EXPECT_EQ(image.copy(grid()->cellRect(20, 20)), icon(1));
}

TEST_F(EditorWindowTest, SizeChangeDiscardsTheMapAndResizesTheGrid) {
    child<QComboBox>("cbUnit")->setCurrentIndex(1);
    QTest::keyClicks(child<QLineEdit>("edUnit"), "5");
    click(2, 2);
    ASSERT_EQ(window.editor().editUnits(1, 1), 51);

    messages.threeWayAnswer = QuestionAnswer::No; // the drawing may go
    child<QComboBox>("cbX")->setCurrentIndex(0);  // 3 columns
    EXPECT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(window.editor().width(), 3);
    EXPECT_EQ(window.editor().height(), 20);
    child<QComboBox>("cbY")->setCurrentIndex(2); // 5 rows
    EXPECT_EQ(window.editor().height(), 5);
    EXPECT_EQ(window.editor().editFields(1, 1), 1);
    EXPECT_EQ(window.editor().editUnits(1, 1), 0);
    EXPECT_EQ(grid()->size(), QSize(4 * 20, 6 * 20));
    EXPECT_EQ(shown().copy(grid()->cellRect(2, 2)), icon(1));
    // Clicks beyond the new map go nowhere.
    click(4, 2);
    click(2, 6);
    EXPECT_EQ(window.editor().width(), 3);
    // The settings stay.
    EXPECT_EQ(window.editor().paintCount, 5);
    EXPECT_EQ(child<QComboBox>("cbUnit")->currentIndex(), 1);
}

TEST_F(EditorWindowTest, CancellingTheSizeQuestionKeepsTheSizeAndTheDrawing) {
    QTest::mouseClick(child<QWidget>("Image3"), Qt::LeftButton);
    click(2, 2);
    auto* columns = child<QComboBox>("cbX");
    columns->setCurrentIndex(0);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(columns->currentIndex(), 17);
    EXPECT_EQ(window.editor().width(), 20);
    EXPECT_EQ(window.editor().editFields(1, 1), 3);
    EXPECT_EQ(grid()->size(), QSize(21 * 20, 21 * 20));

    // Once saved, the size changes without a question.
    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
    columns->setCurrentIndex(0);
    EXPECT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(window.editor().width(), 3);
}

TEST_F(EditorWindowTest, ClickPaintsOneCellWithTheChosenTerrainAndUnits) {
    QTest::mouseClick(child<QWidget>("Image2"), Qt::LeftButton);
    EXPECT_EQ(child<QLabel>("lbType")->text(), QString::fromUtf8("bažina"));
    child<QComboBox>("cbUnit")->setCurrentIndex(2); // Hovado
    auto* count = child<QLineEdit>("edUnit");
    count->clear();
    QTest::keyClicks(count, "12");

    click(3, 2); // C1
    EXPECT_EQ(window.editor().editFields(2, 1), 7);
    EXPECT_EQ(window.editor().editUnits(2, 1), 122);
    EXPECT_TRUE(waitFor([&] { return shown().copy(grid()->cellRect(3, 2)) == icon(5); }));
    EXPECT_EQ(shown().copy(grid()->cellRect(3, 3)), icon(1));

    // Impassable ground over it: no units, the blank tile.
    QTest::mouseClick(child<QWidget>("Image4"), Qt::LeftButton);
    EXPECT_EQ(child<QLabel>("lbType")->text(), QString::fromUtf8("nedobytné"));
    click(3, 2);
    EXPECT_EQ(window.editor().editFields(2, 1), -1);
    EXPECT_EQ(window.editor().editUnits(2, 1), 0);
    EXPECT_TRUE(waitFor([&] { return shown().copy(grid()->cellRect(3, 2)) == icon(0); }));

    // Headers and the right button paint nothing.
    click(0, 2);
    click(3, 0);
    mouse(QEvent::MouseButtonPress, 4, 4, Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(window.editor().editFields(3, 3), 1);
}

TEST_F(EditorWindowTest, DragPaintsEveryCellOnTheWay) {
    QTest::mouseClick(child<QWidget>("Image3"), Qt::LeftButton);
    mouse(QEvent::MouseButtonPress, 2, 2, Qt::LeftButton, Qt::LeftButton);
    // One quick stroke to the right and down: no cell on the way is skipped.
    mouse(QEvent::MouseMove, 8, 5, Qt::NoButton, Qt::LeftButton);
    // Out over the header and back in: the stroke goes on from where it comes back.
    mouse(QEvent::MouseMove, 0, 5, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, 2, 10, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, 2, 10, Qt::LeftButton, Qt::NoButton);
    // Moving without the button paints nothing.
    mouse(QEvent::MouseMove, 15, 15, Qt::NoButton, Qt::NoButton);

    const MapEditor& editor = window.editor();
    QList<QPoint> rock;
    for (int x = 0; x < editor.width(); ++x)
        for (int y = 0; y < editor.height(); ++y)
            if (editor.editFields(x, y) == 3)
                rock.append(QPoint(x, y));
    // From B1 to H4 one cell in every column, the rows stepping down evenly; then B9 alone
    // (map cells, listed column by column).
    const QList<QPoint> expected = {{1, 1}, {1, 9}, {2, 2}, {3, 2}, {4, 3}, {5, 3}, {6, 4}, {7, 4}};
    EXPECT_EQ(rock, expected);
}

TEST_F(EditorWindowTest, CountEditTakesDigitsAndKeepsTheLastNumber) {
    auto* count = child<QLineEdit>("edUnit");
    count->clear();
    QTest::keyClicks(count, "1");
    EXPECT_EQ(window.editor().paintCount, 1);
    QTest::keyClicks(count, "2");
    EXPECT_EQ(count->text(), "12");
    EXPECT_EQ(window.editor().paintCount, 12);
    // Deleting the whole text leaves the last number in force.
    count->selectAll();
    QTest::keyClick(count, Qt::Key_Delete);
    EXPECT_TRUE(count->text().isEmpty());
    EXPECT_EQ(window.editor().paintCount, 12);
    QTest::keyClicks(count, "-x7");
    EXPECT_EQ(count->text(), "7");
    EXPECT_EQ(window.editor().paintCount, 7);
    QTest::keyClicks(count, "345");
    EXPECT_EQ(count->text(), "73");
    EXPECT_EQ(window.editor().paintCount, 73);
}

TEST_F(EditorWindowTest, SavingWritesIntoTheCurrentDirectory) {
    auto* name = child<QLineEdit>("edName");
    name->setText(QString::fromUtf8("Řeka"));
    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
    // Enter in an edit presses the default button.
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(files(),
              QStringList({QString::fromUtf8("Řeka.xml"), QString::fromUtf8("Řeka1.xml")}));
    EXPECT_TRUE(messages.shown.isEmpty());
    // The status line names the file last saved, with its whole path.
    auto* status = child<QLabel>("lbStatus");
    EXPECT_TRUE(status->text().endsWith(QDir(folder.path()).canonicalPath() +
                                        QString::fromUtf8("/Řeka1.xml")))
        << status->text().toStdString();
    QFile file(QDir(folder.path()).filePath(QString::fromUtf8("Řeka.xml")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("<name>\xD8\x65ka</name>\n<width>20</width>\n"));

    // A character the file cannot hold stops the save with a message and the retry question.
    child<QLineEdit>("edAuthor")->setText(QString::fromUtf8("Jan \u2603"));
    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_TRUE(messages.shown[0].contains(QString::fromUtf8("„Autor“")));
    EXPECT_EQ(messages.shown[1], QString::fromUtf8("Mapu se nepodařilo uložit. Opakovat?"));
    EXPECT_EQ(files().size(), 2);
    EXPECT_TRUE(status->text().isEmpty());

    // So does a setting that is no number.
    child<QLineEdit>("edAuthor")->setText("Jan");
    child<QLineEdit>("edMinE")->setText("abc");
    QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 4);
    EXPECT_EQ(messages.shown[2], QString::fromUtf8("Špatné parametry!"));
    EXPECT_EQ(files().size(), 2);
}

TEST_F(EditorWindowTest, ClosingHidesAndKeepsTheMapAndTexts) {
    QPointer<TFCreate> alive(&window);
    // "Ne" to the unsaved changes: the window closes and keeps them.
    messages.threeWayAnswer = QuestionAnswer::No;
    child<QLineEdit>("edName")->setText("Ostrov");
    QTest::mouseClick(child<QWidget>("Image2"), Qt::LeftButton);
    click(5, 5);
    QTest::mouseClick(child<QPushButton>("Button2"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    ASSERT_TRUE(alive);

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(child<QLineEdit>("edName")->text(), "Ostrov");
    EXPECT_EQ(window.editor().editFields(4, 4), 2);
    EXPECT_EQ(child<QLabel>("lbType")->text(), QString::fromUtf8("bažina"));

    // Esc closes as well.
    QTest::keyClick(child<QLineEdit>("edName"), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(messages.shown.size(), 2);
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(EditorWindowTest, DescriptionStaysOneLine) {
    auto* memo = child<QPlainTextEdit>("mPopis");
    memo->setFocus();
    QTest::keyClicks(memo, "Dva");
    // Enter saves instead of breaking the line.
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(memo->toPlainText(), "Dva");
    EXPECT_EQ(files(), QStringList({"mapa.xml"}));

    // Pasted line breaks become blanks.
    QMimeData data;
    data.setText(" tábory\nna\r\nřece");
    QApplication::clipboard()->setMimeData(new QMimeData);
    QApplication::clipboard()->setText(data.text());
    QTest::keyClick(memo, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(memo->toPlainText(), QString::fromUtf8("Dva tábory na řece"));
    EXPECT_EQ(window.mapTexts().mPopis, QString::fromUtf8("Dva tábory na řece"));

    // The text holds at most 32767 characters, however it comes.
    memo->selectAll();
    QApplication::clipboard()->setText(QString(40000, u'x'));
    QTest::keyClick(memo, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(memo->toPlainText().size(), 32767);
    QTest::keyClicks(memo, "y");
    EXPECT_EQ(memo->toPlainText().size(), 32767);
    EXPECT_FALSE(memo->toPlainText().contains('y'));
}

} // namespace
