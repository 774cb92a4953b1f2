#include "main_window_fixture.h"

#include "app/ui/window_extras.h"

#include <QDockWidget>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>

using namespace kx;

namespace {

struct MapZoomKeysTest : MainWindowTest {
    void activate() {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

} // namespace

TEST_F(MapZoomKeysTest, KeysAndMenuItemsZoomAndShowTheOverview) {
    loadSmall();
    activate();
    const struct {
        Qt::Key key;
        int zoom;
    } keys[] = {{Qt::Key_Plus, 125},  {Qt::Key_Equal, 150}, {Qt::Key_Minus, 125},
                {Qt::Key_Minus, 100}, {Qt::Key_Minus, 75},  {Qt::Key_0, 100}};
    for (const auto& k : keys) {
        QTest::keyClick(&window, k.key, Qt::ControlModifier);
        EXPECT_EQ(map()->zoom(), k.zoom) << k.key;
    }
    EXPECT_EQ(action("mmViewZoomFit")->text(), QString::fromUtf8("Přizpůsobit ok&nu"));
    action("mmViewZoomFit")->trigger();
    EXPECT_GT(map()->zoom(), 100); // a 4 x 3 world fills the map
    EXPECT_EQ(map()->horizontalScrollBar()->maximum(), 0);

    auto* dock = child<QDockWidget>("dockOverview");
    EXPECT_TRUE(dock->isHidden());
    QTest::keyClick(&window, Qt::Key_F7);
    EXPECT_TRUE(dock->isVisible());
    EXPECT_EQ(action("mmViewOverview")->text(), QString::fromUtf8("Přehled &mapy"));
}

TEST_F(MapZoomKeysTest, ZoomAndOverviewComeBackInTheNextRun) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("kx.ini")), QSettings::IniFormat);
    {
        TFMain run;
        auto* extras = new WindowExtras(run, settings);
        run.findChild<MapGrid*>(QStringLiteral("dgMap"))->setZoom(250);
        run.findChild<QDockWidget*>(QStringLiteral("dockOverview"))->show();
        extras->saveLayout();
    }
    TFMain nextRun;
    new WindowExtras(nextRun, settings);
    EXPECT_EQ(nextRun.findChild<MapGrid*>(QStringLiteral("dgMap"))->zoom(), 250);
    EXPECT_FALSE(nextRun.findChild<QDockWidget*>(QStringLiteral("dockOverview"))->isHidden());

    settings.setValue(QStringLiteral("map/zoom"), QStringLiteral("velký")); // hand-edited
    TFMain damaged;
    new WindowExtras(damaged, settings);
    EXPECT_EQ(damaged.findChild<MapGrid*>(QStringLiteral("dgMap"))->zoom(), 100);
}
