#include "main_window_fixture.h"

#include <QAbstractItemView>

using namespace kx;

namespace {

struct SlideShowTest : MainWindowTest {
    QTimer* slajd() { return child<QTimer>("slajd"); }
    void typeInterval(const QString& text) {
        auto* edit = child<QLineEdit>("edTime");
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
};

} // namespace

TEST_F(SlideShowTest, EnterStartsEscStopsAndTheIntervalFollowsTheEdit) {
    loadSmall();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* edit = child<QLineEdit>("edTime");
    edit->setFocus();

    // Enter and Esc in a control that does not use them; the timer starts at 500 ms while
    // the edit shows 200.
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(slajd()->isActive());
    EXPECT_EQ(slajd()->interval(), 500);
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_FALSE(slajd()->isActive());
    QTest::keyClick(child<QCheckBox>("cbHL"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(slajd()->isActive());
    QTest::keyClick(map(), Qt::Key_Escape);
    EXPECT_FALSE(slajd()->isActive());

    // Enter on a focused button presses that button.
    button("Button4")->setFocus();
    QTest::keyClick(button("Button4"), Qt::Key_Return);
    EXPECT_TRUE(slajd()->isActive());
    button("Button5")->setFocus();
    QTest::keyClick(button("Button5"), Qt::Key_Return);
    EXPECT_FALSE(slajd()->isActive());
    button("Button1")->setFocus();
    QTest::keyClick(button("Button1"), Qt::Key_Return);
    EXPECT_FALSE(slajd()->isActive());
    EXPECT_EQ(infoLines().last(), "Akce 4 z 10");

    // Enter and Esc that close an open list stay with the list.
    for (const char* name : {"cbPlayers", "cbView"}) {
        auto* list = child<QComboBox>(name);
        list->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            list->showPopup();
            ASSERT_TRUE(waitFor([&] { return list->view()->isVisible(); }));
            QTest::keyClick(list->view(), Qt::Key_Down);
            QTest::keyClick(list->view(), key);
            EXPECT_TRUE(waitFor([&] { return !list->view()->isVisible(); }));
            EXPECT_FALSE(slajd()->isActive()) << name << " " << key;
        }
    }
    EXPECT_EQ(child<QComboBox>("cbPlayers")->currentIndex(), 1);
    EXPECT_EQ(window.session().viewItem(), kx::MapView::Louka);
    button("Button4")->click();
    child<QComboBox>("cbView")->showPopup();
    ASSERT_TRUE(waitFor([&] { return child<QComboBox>("cbView")->view()->isVisible(); }));
    QTest::keyClick(child<QComboBox>("cbView")->view(), Qt::Key_Escape);
    EXPECT_TRUE(slajd()->isActive());
    button("Button5")->click();

    typeInterval("7");
    EXPECT_EQ(slajd()->interval(), 500); // one character changes nothing
    typeInterval("1234");
    EXPECT_EQ(slajd()->interval(), 1234);
    typeInterval("12345");
    EXPECT_EQ(child<QLineEdit>("edTime")->text(), "1234");
    typeInterval("x1");
    EXPECT_EQ(child<QLineEdit>("edTime")->text(), "500");
    EXPECT_EQ(slajd()->interval(), 500);

    // "Start!" and "Zrušit" by mouse; a zero interval keeps the timer from firing.
    typeInterval("00");
    click("Button4");
    EXPECT_EQ(slajd()->interval(), 0);
    EXPECT_FALSE(slajd()->isActive());
    typeInterval("30");
    EXPECT_TRUE(slajd()->isActive());
    EXPECT_EQ(slajd()->interval(), 30);
    click("Button5");
    EXPECT_FALSE(slajd()->isActive());
}

TEST_F(SlideShowTest, TicksStepUntilTheSummaryAndThenStop) {
    loadSmall();
    typeInterval("10");
    click("Button4");
    ASSERT_TRUE(slajd()->isActive());
    ASSERT_TRUE(waitFor([&] { return child<QWidget>("mRes")->isVisible(); }));
    EXPECT_FALSE(slajd()->isActive());
    EXPECT_EQ(infoLines().last(), "Akce 9 z 10");
    EXPECT_FALSE(map()->isVisible());

    // Reloading leaves the slide show off; starting it again runs from the first event.
    click("btnNext");
    EXPECT_FALSE(slajd()->isActive());
    typeInterval("50");
    click("Button4");
    ASSERT_TRUE(waitFor([&] { return infoLines().last() == "Akce 5 z 10"; }));
    QTest::keyClick(&window, Qt::Key_Escape);
    const int32_t stopped = world().eventIndex;
    QTest::qWait(150);
    EXPECT_EQ(world().eventIndex, stopped);
}
