#include "wait_for.h"

#include "record_files.h"

#include "mapview/ui/map_grid.h"
#include "mapview/ui/map_icons.h"
#include "mapview/ui/session_map_source.h"
#include "replay/session.h"

#include "session_test_access.h"

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QScrollBar>
#include <QSignalSpy>

using namespace kx;

namespace {

// Keeps the region of every paint so that a test sees what was repainted.
class RecordingGrid : public MapGrid {
  public:
    QRegion painted;
    int paints = 0;

  protected:
    void paintEvent(QPaintEvent* event) override {
        painted += event->region();
        ++paints;
        MapGrid::paintEvent(event);
    }
};

// A 4 x 3 world: Pepa (louka) has his HQ on A1 and units on B1, Jana (les) her HQ on D2 and
// a field on C2. D0 is impassable, B0 free swamp.
const QStringList kSmallWorld = {
    QString::fromUtf8("2005-07-03-14-00-00; Mapa; 2; 4; 3; 4;"),
    QString::fromUtf8("2005-07-03-14-00-00; create_world; NBSXNNBNSNNN;"),
    QString::fromUtf8("2005-07-03-14-01-00; create_hq; Pepa; louka; A1;"),
    QString::fromUtf8("2005-07-03-14-02-00; create_hq; Jana; les; D2;"),
};

struct MapGridTest : ::testing::Test {
    RecordFiles files;
    RecordedMessages messages;
    ReplaySession session{messages, QLocale::c()};
    RecordingGrid grid;

    void SetUp() override {
        grid.setSource(std::make_unique<SessionMapSource>(session));
        grid.resize(grid.sizeHint());
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }
    void TearDown() override { grid.setSource(nullptr); }

    void load(const QStringList& lines) {
        ASSERT_TRUE(session.loadRecord(files.write("r.kxr", lines), RecordFormat::EventLog));
    }
    void loadSmallWorld() {
        load(kSmallWorld);
        SessionTestAccess::state(session).world.fieldGrid(1, 1) = 116;
        SessionTestAccess::state(session).world.fieldGrid(2, 2) = 221;
        grid.redrawMap();
    }

    QImage shot() const {
        return grid.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // The icon a body cell shows, or -1 when it shows none of them.
    int iconAt(const QImage& image, int column, int row) const {
        const QImage cell = image.copy(grid.cellRect(column, row));
        for (int i = 0; i < 26; ++i)
            if (cell == mapIcon(i, 1).toImage().convertToFormat(QImage::Format_RGB32))
                return i;
        return -1;
    }
    QColor face() const { return grid.palette().color(QPalette::Button); }
    // Pixels of a cell that differ from `colour`.
    int pixelsOtherThan(const QImage& image, const QRect& rect, const QColor& colour) const {
        int count = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                count += image.pixelColor(x, y) != colour;
        return count;
    }
    void moveMouse(QPoint point) {
        QMouseEvent move(QEvent::MouseMove, QPointF(point),
                         QPointF(grid.viewport()->mapToGlobal(point)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(grid.viewport(), &move);
    }
    void settle() {
        waitFor([&] { return grid.paints > 0; });
        QTest::qWait(20);
        grid.painted = QRegion();
        grid.paints = 0;
    }
};

} // namespace

TEST_F(MapGridTest, BlankWorldShowsBlankTilesUnderTheHeaders) {
    EXPECT_EQ(grid.objectName(), "dgMap");
    EXPECT_EQ(grid.sizeHint(), QSize(420, 420));
    const QImage image = shot();
    for (int column = 1; column <= 20; ++column)
        for (int row = 1; row <= 20; ++row)
            ASSERT_EQ(iconAt(image, column, row), 0) << column << " " << row;

    EXPECT_EQ(pixelsOtherThan(image, grid.cellRect(0, 0), face()), 0);
    const QImage letterA = image.copy(grid.cellRect(1, 0));
    EXPECT_GT(pixelsOtherThan(image, grid.cellRect(1, 0), face()), 0);
    EXPECT_GT(pixelsOtherThan(image, grid.cellRect(20, 0), face()), 0);
    EXPECT_NE(letterA, image.copy(grid.cellRect(2, 0)));
    EXPECT_GT(pixelsOtherThan(image, grid.cellRect(0, 1), face()), 0);
    EXPECT_GT(pixelsOtherThan(image, grid.cellRect(0, 20), face()), 0);
}

TEST_F(MapGridTest, CellsShowTheirIconsAndTheGridEndsWithTheWorld) {
    loadSmallWorld();
    EXPECT_EQ(grid.sizeHint(), QSize(100, 80));
    grid.resize(160, 120);
    QImage image = shot();
    EXPECT_EQ(iconAt(image, 4, 1), 0);  // impassable
    EXPECT_EQ(iconAt(image, 2, 1), 3);  // free swamp
    EXPECT_EQ(iconAt(image, 2, 2), 11); // louka units
    EXPECT_EQ(iconAt(image, 3, 3), 8);  // les field
    EXPECT_EQ(iconAt(image, 1, 2), 5);  // HQs drawn as fields of their team ("Skrýt velení")
    EXPECT_EQ(iconAt(image, 4, 3), 8);
    // Beyond the last column and row: black, headers included; no scroll bars.
    EXPECT_EQ(image.pixelColor(110, 10), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(10, 90), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(150, 110), QColor(Qt::black));
    EXPECT_EQ(grid.horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 0);

    session.cbHHClick(false);
    image = shot();
    EXPECT_EQ(iconAt(image, 1, 2), 17);
    EXPECT_EQ(iconAt(image, 4, 3), 17);

    // Pointing at Pepa's units highlights all his fields: the units show even in the les
    // view, which sees them next to Jana's field but does not see his HQ.
    session.cbHHClick(true);
    session.cbViewChange(int(MapView::Les));
    moveMouse(grid.cellRect(2, 2).center());
    image = shot();
    EXPECT_EQ(iconAt(image, 2, 2), 23);
    EXPECT_EQ(iconAt(image, 1, 2), 1);
    EXPECT_EQ(iconAt(image, 3, 3), 8);
    EXPECT_EQ(iconAt(image, 4, 1), 0);
    session.cbViewChange(int(MapView::All));
    EXPECT_EQ(iconAt(shot(), 1, 2), 17); // a highlighted HQ shows itself
}

TEST_F(MapGridTest, RedrawCellRepaintsThatCellAlone) {
    loadSmallWorld();
    settle();
    grid.redrawCell(3, 2);
    ASSERT_TRUE(waitFor([&] { return grid.paints > 0; }));
    EXPECT_EQ(grid.painted, QRegion(grid.cellRect(3, 2)));

    settle();
    // Headers, the positions one past the last column or row, and anything further out.
    for (const QPoint& cell : {QPoint(0, 1), QPoint(1, 0), QPoint(0, 0), QPoint(5, 1), QPoint(1, 4),
                               QPoint(-1, 2), QPoint(2, 1000)})
        grid.redrawCell(cell.x(), cell.y());
    QTest::qWait(50);
    EXPECT_EQ(grid.paints, 0);
}

TEST_F(MapGridTest, PointingAtACellFeedsTheInspectorAndRepaintsTheHighlight) {
    loadSmallWorld();
    settle();
    QSignalSpy pointed(&grid, &MapGrid::cellPointed);
    moveMouse(grid.cellRect(2, 2).center());
    EXPECT_EQ(pointed.count(), 1);
    EXPECT_EQ(session.state().inspector.lbFN, "B1");
    EXPECT_EQ(session.highlightOwner(), 1);
    ASSERT_TRUE(waitFor([&] { return grid.paints > 0; }));
    EXPECT_EQ(grid.painted, QRegion(grid.cellRect(2, 2)) + QRegion(grid.cellRect(1, 2)));

    // Headers and the room beyond the grid do nothing.
    for (const QPoint& point : {grid.cellRect(3, 0).center(), grid.cellRect(0, 3).center(),
                                QPoint(5, 5), QPoint(150, 30), QPoint(30, 150)})
        moveMouse(point);
    EXPECT_EQ(pointed.count(), 1);
    EXPECT_EQ(session.state().inspector.lbFN, "B1");

    moveMouse(grid.cellRect(4, 1).center());
    EXPECT_EQ(pointed.count(), 2);
    EXPECT_EQ(session.state().inspector.lbFN, "D0");
    EXPECT_EQ(session.highlightOwner(), 0);
}

TEST_F(MapGridTest, NothingInTheBodyWhileTheReplaySkips) {
    loadSmallWorld();
    SessionTestAccess::state(session).world.liveDisplay = 0;
    const QImage image = shot();
    const QRect body = grid.cellRect(1, 1).united(grid.cellRect(4, 3));
    EXPECT_EQ(pixelsOtherThan(image, body, Qt::black), 0);
    EXPECT_GT(pixelsOtherThan(image, grid.cellRect(1, 0), face()), 0);
    EXPECT_EQ(image.pixelColor(grid.cellRect(1, 0).topLeft()), face());
    SessionTestAccess::state(session).world.liveDisplay = 1;
}

TEST_F(MapGridTest, LargeWorldScrollsUnderFixedHeaders) {
    const QString header = QString::fromUtf8("2005-07-03-14-00-00; Velká; 0; 40; 30; 4;");
    const QString map = "2005-07-03-14-00-00; create_world; " + QString(1200, 'N') + ";";
    load({header, map});
    grid.resize(200, 150);
    ASSERT_TRUE(waitFor([&] { return grid.horizontalScrollBar()->isVisible(); }));
    EXPECT_GT(grid.horizontalScrollBar()->maximum(), 0);
    EXPECT_TRUE(grid.verticalScrollBar()->isVisible());

    grid.horizontalScrollBar()->setValue(100);
    grid.verticalScrollBar()->setValue(60);
    EXPECT_EQ(grid.cellAt(QPoint(25, 25)), QPoint(6, 4));
    EXPECT_EQ(grid.cellAt(QPoint(25, 5)), QPoint(6, 0));
    EXPECT_EQ(grid.cellAt(QPoint(5, 25)), QPoint(0, 4));
    EXPECT_EQ(grid.cellRect(6, 4).topLeft(), QPoint(20, 20));
    EXPECT_EQ(grid.cellRect(6, 0).topLeft(), QPoint(20, 0));

    const QImage image = shot();
    EXPECT_EQ(iconAt(image, 6, 4), 2);
    EXPECT_EQ(pixelsOtherThan(image, grid.cellRect(0, 0), face()), 0);
    EXPECT_GT(pixelsOtherThan(image, grid.cellRect(6, 0), face()), 0);
    EXPECT_GT(pixelsOtherThan(image, grid.cellRect(0, 4), face()), 0);
    // A cell scrolled under the headers does not paint over them.
    EXPECT_EQ(pixelsOtherThan(image, QRect(0, 0, 20, 20), face()), 0);

    moveMouse(QPoint(25, 25));
    EXPECT_EQ(session.state().inspector.lbFN, "F3");
}

TEST_F(MapGridTest, EveryColumnOfAWideWorldHasAHeader) {
    load({QString::fromUtf8("2005-07-03-14-00-00; Široká; 0; 200; 1; 4;"),
          "2005-07-03-14-00-00; create_world; " + QString(200, 'N') + ";"});
    grid.resize(200, 80);
    ASSERT_TRUE(waitFor([&] { return grid.horizontalScrollBar()->isVisible(); }));
    grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum());
    const QRect last = grid.cellRect(200, 0);
    EXPECT_GT(pixelsOtherThan(shot(), last, face()), 0);
    moveMouse(last.center() + QPoint(0, 20));
    EXPECT_EQ(session.state().inspector.lbFN, "199:0");
}
