#include "main_window_fixture.h"

using namespace kx;

namespace {

using LayoutTest = MainWindowTest;

} // namespace

TEST_F(LayoutTest, ExtraRoomGoesToTheMapAndTheMemo) {
    ASSERT_TRUE(window.openRecord(samplePath("kxr2")));
    QCoreApplication::processEvents();
    // The sample's whole map fits the window as it opens.
    EXPECT_GE(map()->viewport()->width(), 21 * 20);
    EXPECT_GE(map()->viewport()->height(), 21 * 20);

    auto* memo = child<QPlainTextEdit>("mInfo");
    auto* players = child<QGroupBox>("gbPlayers");
    const QSize windowBefore = window.size();
    const QSize mapBefore = map()->size();
    const QSize memoBefore = memo->size();
    const QRect playersBefore = players->geometry();

    window.resize(windowBefore + QSize(200, 150));
    ASSERT_TRUE(waitFor([&] { return map()->size() != mapBefore; }));
    EXPECT_EQ(map()->size(), mapBefore + QSize(200, 150));
    EXPECT_EQ(memo->size(), memoBefore + QSize(0, 150));
    EXPECT_EQ(players->geometry(), playersBefore);
    EXPECT_EQ(map()->cellRect(3, 3).size(), QSize(20, 20));

    // At its smallest the window still shows every control of the left column.
    window.resize(window.minimumSizeHint());
    QCoreApplication::processEvents();
    for (const char* name :
         {"cbPlayers", "lbPD", "Button7", "Button2", "PageControl1", "lbTime", "mInfo"})
        EXPECT_FALSE(child<QWidget>(name)->visibleRegion().isEmpty()) << name;
}

TEST_F(LayoutTest, TheProgressBarMovesNothing) {
    // Loading and jumping show pbLoad for a moment; the controls and the window stay put.
    auto* bar = child<QProgressBar>("pbLoad");
    auto* memo = child<QPlainTextEdit>("mInfo");
    window.resize(window.minimumSizeHint());
    QCoreApplication::processEvents();
    const QSize windowBefore = window.size();
    const QRect memoBefore = memo->geometry();
    bar->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(memo->geometry(), memoBefore);
    EXPECT_EQ(window.size(), windowBefore);
    bar->hide();

    // Nor does the first time shown under an empty time label.
    loadSmall();
    click("Button1");
    QCoreApplication::processEvents();
    EXPECT_FALSE(child<QLabel>("lbTime")->text().isEmpty());
    EXPECT_EQ(memo->geometry(), memoBefore);
    EXPECT_EQ(window.size(), windowBefore);
}
