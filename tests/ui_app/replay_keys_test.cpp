#include "main_window_fixture.h"

#include <QApplication>
#include <QTabBar>
#include <QTabWidget>

using namespace kx;

namespace {

struct ReplayKeysTest : MainWindowTest {
    void SetUp() override {
        MainWindowTest::SetUp();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        ASSERT_TRUE(window.openRecord(samplePath("kxr")));
    }
    int32_t shown() { return window.session().shownEventIndex(); }
    // A key as the focused control receives it, optionally as a repeat of a held key.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool repeat = false) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
        QKeyEvent event(QEvent::KeyPress, key, modifiers, QString(), repeat);
        QApplication::sendEvent(target, &event);
    }
};

} // namespace

// The keys step as the buttons do, from the start on, and Space toggles the slide show.
TEST_F(ReplayKeysTest, ArrowsHomeEndAndSpace) {
    const int32_t first = window.session().firstEventIndex();
    const int32_t last = window.session().eventCount() - 1;
    EXPECT_EQ(QApplication::focusWidget(), map()) << "the window starts with the map focused";

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(shown(), first);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(shown(), first + 10);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_EQ(shown(), first + 9);
    EXPECT_EQ(infoLines().last(), QStringLiteral("Akce %1 z %2").arg(first + 9).arg(last + 1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(shown(), first);

    child<QComboBox>("cbView")->setFocus(); // a list keeps its keys...
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    EXPECT_EQ(shown(), first);
    map()->setFocus(); // ...the map does not
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    EXPECT_EQ(shown(), last);
    EXPECT_EQ(window.session().state().world.eventIndex, last + 1);
    EXPECT_FALSE(window.session().state().summaryShown);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
    EXPECT_EQ(shown(), first);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(child<QTimer>("slajd")->isActive());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_FALSE(child<QTimer>("slajd")->isActive());
}

// A focused control keeps the keys it uses; a key it leaves reaches the window.
TEST_F(ReplayKeysTest, FocusedControlsKeepTheirKeys) {
    const int32_t first = window.session().firstEventIndex();
    button("Button1")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(shown(), first) << "the focused button was pressed";
    EXPECT_FALSE(window.session().state().slideShowEnabled);

    auto* highlight = child<QCheckBox>("cbHL");
    highlight->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_FALSE(highlight->isChecked());
    EXPECT_FALSE(window.session().state().slideShowEnabled);

    child<QComboBox>("cbView")->setFocus(); // a list has no use for Right
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(shown(), first + 1);

    auto* pages = child<QTabWidget>("PageControl1");
    pages->tabBar()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(pages->currentIndex(), 2);
    EXPECT_EQ(shown(), first + 1);
}

TEST_F(ReplayKeysTest, TypingInTheIntervalEditKeepsItsKeys) {
    button("Button1")->click();
    const int32_t before = shown();
    auto* edit = child<QLineEdit>("edTime");
    edit->setFocus();
    ASSERT_EQ(edit->text(), QStringLiteral("200"));
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::keyClick(edit, Qt::Key_Left, Qt::ShiftModifier); // selects the "2"... of "20"
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Right);
    QTest::keyClick(edit, Qt::Key_5);
    EXPECT_EQ(edit->text(), QStringLiteral("2500"));
    edit->setText(QStringLiteral("30"));
    QTest::keyClick(edit, Qt::Key_Space);
    // "30 " is no number: the edit falls back to 500, so the blank went into it.
    EXPECT_EQ(edit->text(), QStringLiteral("500"));
    EXPECT_EQ(shown(), before);
    EXPECT_FALSE(window.session().state().slideShowEnabled);
}

// A held key steps once per painted frame: repeats that arrive before the window has painted
// the last step are dropped, not queued.
TEST_F(ReplayKeysTest, HeldKeyRepeatsWaitForThePaint) {
    map()->setFocus();
    const int32_t first = window.session().firstEventIndex();
    press(Qt::Key_Right);
    EXPECT_EQ(shown(), first);
    for (int i = 0; i < 5; ++i)
        press(Qt::Key_Right, Qt::NoModifier, true);
    EXPECT_EQ(shown(), first) << "repeats before the paint";
    press(Qt::Key_Right); // a new press is the user's own and always steps
    EXPECT_EQ(shown(), first + 1);

    QTest::qWait(30); // the window paints
    press(Qt::Key_Right, Qt::NoModifier, true);
    EXPECT_EQ(shown(), first + 2);
    press(Qt::Key_Left, Qt::NoModifier, true);
    EXPECT_EQ(shown(), first + 2);
    QTest::qWait(30);
    press(Qt::Key_Left, Qt::NoModifier, true);
    EXPECT_EQ(shown(), first + 1);
}
