#include "main_window_fixture.h"

#include "app/ui/window_layout.h"

#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>

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

// A long world name loses its end in the players' title, which keeps " - hráči " and shows
// the whole caption in its tool tip; the window keeps its width.
TEST_F(LayoutTest, ALongWorldNameIsShortenedInThePlayersTitle) {
    const QString name = QString::fromUtf8("Velmi dlouhý název světa, který se nevejde ?");
    ASSERT_EQ(name.size(), 44);
    QStringList lines = kSmallRecord;
    lines[0] = QString::fromUtf8("2005-07-03-14-00-00; %1; 2; 4; 3; 4;").arg(name);
    auto* players = child<QGroupBox>("gbPlayers");
    const int width = window.width();
    ASSERT_TRUE(window.openRecord(files.write(QStringLiteral("dlouhy.kxr"), lines)));
    QCoreApplication::processEvents();
    EXPECT_EQ(window.width(), width);
    EXPECT_TRUE(players->title().endsWith(QString::fromUtf8("… - hráči ")))
        << players->title().toStdString();
    EXPECT_LE(players->minimumSizeHint().width(), players->width());
    EXPECT_EQ(players->toolTip(), name + QString::fromUtf8(" - hráči"));
}

// Without a stored layout the window opens at its layout size, grown only as far as its
// controls need, centred on the screen.
TEST(FirstStart, TheWindowOpensAtItsLayoutSizeCentred) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("kx.ini")), QSettings::IniFormat);
    TFMain window;
    restoreWindowLayout(window, settings);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.size(), QSize(582, 474).expandedTo(window.minimumSizeHint()));
    const QRect room = window.screen()->availableGeometry();
    const QSize frame = window.frameGeometry().size() - window.size();
    EXPECT_LE((window.frameGeometry().center() - room.center()).manhattanLength(),
              frame.width() + frame.height() + 2);
}
