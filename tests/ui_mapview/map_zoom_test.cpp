#include "wait_for.h"

#include "record_files.h"
#include "session_test_access.h"

#include "mapview/ui/map_grid.h"
#include "mapview/ui/map_icons.h"
#include "mapview/ui/map_overview.h"
#include "mapview/ui/session_map_source.h"
#include "replay/session.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

using namespace kx;

namespace {

// A 40 x 30 world of free ground: Pepa (louka) holds B2, Jana (les) K7.
QStringList largeWorld() {
    return {QString::fromUtf8("2005-07-03-14-00-00; Mapa; 2; 40; 30; 4;"),
            QStringLiteral("2005-07-03-14-00-00; create_world; %1;").arg(QString(1200, 'N')),
            QString::fromUtf8("2005-07-03-14-01-00; create_hq; Pepa; louka; B2;"),
            QString::fromUtf8("2005-07-03-14-02-00; create_hq; Jana; les; K7;")};
}

struct MapZoomTest : ::testing::Test {
    RecordFiles files;
    RecordedMessages messages;
    ReplaySession session{messages, QLocale::c()};
    MapGrid grid;

    void SetUp() override {
        ASSERT_TRUE(session.loadRecord(files.write("r.kxr", largeWorld()), RecordFormat::EventLog));
        grid.setSource(std::make_unique<SessionMapSource>(session));
        grid.resize(300, 240);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }
    void TearDown() override { grid.setSource(nullptr); }

    void wheel(QPoint at, int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(at), QPointF(grid.viewport()->mapToGlobal(at)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(grid.viewport(), &event);
    }
    QImage shot() const {
        return grid.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

} // namespace

TEST_F(MapZoomTest, CtrlWheelZoomsAroundTheCellUnderTheMouse) {
    struct Step {
        QPoint at;
        int delta, zoom;
    };
    const Step steps[] = {
        {{150, 120}, 120, 125}, {{150, 120}, 240, 200},  {{60, 200}, 120, 250},
        {{250, 90}, -120, 200}, {{250, 90}, 60, 200}, // half a notch waits for the rest
        {{250, 90}, 60, 250},   {{200, 150}, -240, 150},
    };
    for (const Step& step : steps) {
        const QPoint before = grid.cellAt(step.at);
        ASSERT_GT(before.x(), 0);
        wheel(step.at, step.delta, Qt::ControlModifier);
        EXPECT_EQ(grid.zoom(), step.zoom);
        EXPECT_EQ(grid.cellAt(step.at), before) << step.at.x() << " " << step.zoom;
    }
    // Without Ctrl the wheel scrolls.
    grid.setZoom(200);
    const int scrolled = grid.verticalScrollBar()->value();
    wheel({150, 120}, -120, Qt::NoModifier);
    EXPECT_EQ(grid.zoom(), 200);
    EXPECT_GT(grid.verticalScrollBar()->value(), scrolled);
}

TEST_F(MapZoomTest, IconsAndHeadersAreDrawnAtTheZoomedSize) {
    grid.resize(420, 420); // room for two cells at 400 %
    for (int zoom : {25, 60, 200, 400}) {
        grid.setZoom(zoom);
        grid.horizontalScrollBar()->setValue(0);
        grid.verticalScrollBar()->setValue(0);
        const QImage image = shot();
        const int side = zoom / 5;
        EXPECT_EQ(grid.cellRect(0, 1).width(), std::max(20, side)) << zoom;
        // Pepa's HQ on B2 shows as his field, the cell beside it as free ground: each drawn
        // for its size, pixel for pixel, not scaled from the 20-pixel picture.
        for (const auto& [cell, icon] : {std::pair{QPoint(2, 3), 5}, std::pair{QPoint(3, 3), 2}}) {
            const QRect rect = grid.cellRect(cell.x(), cell.y());
            ASSERT_EQ(rect.size(), QSize(side, side)) << zoom;
            EXPECT_EQ(image.copy(rect),
                      mapIcon(icon, zoom / 100.0).toImage().convertToFormat(QImage::Format_RGB32))
                << zoom << " " << icon;
        }
    }
}

TEST_F(MapZoomTest, FitShowsTheWholeWorld) {
    grid.setZoom(400);
    grid.fitToWindow();
    EXPECT_EQ(grid.zoom(), 35); // 20 + 40 x 7 = 300 pixels across
    EXPECT_EQ(grid.horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 0);
}

TEST_F(MapZoomTest, TheOverviewFollowsCellsAndMovesTheViewWhereClicked) {
    MapOverview overview(grid);
    overview.resize(160, 120); // 4 pixels a cell
    overview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&overview));
    const QImage picture = overview.picture();
    ASSERT_EQ(picture.size(), QSize(40, 30));
    const QRgb louka = picture.pixel(1, 2);
    EXPECT_NE(louka, picture.pixel(10, 7)); // the two sides differ
    EXPECT_NE(louka, picture.pixel(2, 2));  // and from free ground

    // A changed cell recolours its pixel alone.
    SessionTestAccess::state(session).world.fieldGrid(20, 15) = 111;
    grid.redrawCell(21, 16);
    EXPECT_EQ(overview.picture().pixel(20, 15), louka);

    grid.setZoom(200);
    const QRectF drawn = overview.pictureRect();
    for (const QPointF cell : {QPointF(20, 15), QPointF(30.5, 20), QPointF(12, 25)}) {
        QTest::mouseClick(&overview, Qt::LeftButton, Qt::NoModifier,
                          (drawn.topLeft() + cell * 4).toPoint());
        const QPointF centre = grid.visibleCells().center();
        EXPECT_NEAR(centre.x(), cell.x(), 0.6) << cell.x();
        EXPECT_NEAR(centre.y(), cell.y(), 0.6) << cell.y();
    }
}

TEST_F(MapZoomTest, ZoomedOutAChangedCellIsRepainted) {
    grid.setZoom(50);
    QTest::qWait(20);
    const QRect rect = grid.cellRect(6, 6);
    const auto iconImage = [](int icon) {
        return mapIcon(icon, 0.5).toImage().convertToFormat(QImage::Format_RGB32);
    };
    EXPECT_EQ(shot().copy(rect), iconImage(2));
    SessionTestAccess::state(session).world.fieldGrid(5, 5) = 221; // a field of Jana's
    grid.redrawCell(6, 6);
    QTest::qWait(20);
    EXPECT_EQ(shot().copy(rect), iconImage(8));
}
