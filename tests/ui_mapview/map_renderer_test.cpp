#include "record_files.h"

#include "mapview/ui/map_grid.h"
#include "mapview/ui/map_icons.h"
#include "mapview/ui/map_image.h"
#include "mapview/ui/map_picture.h"
#include "mapview/ui/map_renderer.h"
#include "mapview/ui/session_map_source.h"
#include "replay/session.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>

#include <set>
#include <utility>

using namespace kx;

namespace {

// A grid of `size` whose body cells show icons that differ from their neighbours; it keeps
// which cells were asked for.
class CountingCells : public MapCells {
  public:
    explicit CountingCells(QSize size) : size_(size) {}
    QSize gridSize() const override { return size_; }
    bool bodyShown() const override { return true; }
    const QPixmap& cellPixmap(int column, int row, qreal ratio) const override {
        asked.insert({column, row});
        return mapIcon((column * 7 + row * 3) % kIconCount, ratio);
    }
    mutable std::set<std::pair<int, int>> asked;

  private:
    QSize size_;
};

const QPoint kNone(-1, -1);

// A 4 x 3 world of every terrain with an HQ of each team.
bool loadSmallMap(RecordFiles& files, ReplaySession& session) {
    return session.loadRecord(
        files.write("r.kxr", {QString::fromUtf8("2005-07-03-14-00-00; Mapa; 2; 4; 3; 4;"),
                              QString::fromUtf8("2005-07-03-14-00-00; create_world; NBSXNNBNSNNN;"),
                              QString::fromUtf8("2005-07-03-14-01-00; create_hq; Pepa; louka; A1;"),
                              QString::fromUtf8("2005-07-03-14-02-00; create_hq; Jana; les; D2;")}),
        RecordFormat::EventLog);
}

} // namespace

TEST(MapRendererTest, GeometryAndHitTesting) {
    const CountingCells small(QSize(5, 4)); // a 4 x 3 map
    const CountingCells large(QSize(41, 31));
    struct Case {
        const MapCells& cells;
        QPoint scroll;
        QPoint point;
        QPoint gridCell;
        QPoint bodyCell;
    };
    const Case cases[] = {
        {small, {}, {0, 0}, {0, 0}, kNone},           // the corner
        {small, {}, {25, 5}, {1, 0}, kNone},          // column header
        {small, {}, {5, 79}, {0, 3}, kNone},          // row header
        {small, {}, {25, 45}, {1, 2}, {1, 2}},        // body
        {small, {}, {99, 79}, {4, 3}, {4, 3}},        // the last pixel of the grid
        {small, {}, {100, 10}, kNone, kNone},         // beyond the last column
        {small, {}, {10, 80}, kNone, kNone},          // below the last row
        {small, {}, {-1, 30}, kNone, kNone},          // before the grid
        {large, {100, 60}, {25, 25}, {6, 4}, {6, 4}}, // scrolled body
        {large, {100, 60}, {25, 5}, {6, 0}, kNone},   // headers stay in place
        {large, {100, 60}, {5, 25}, {0, 4}, kNone},
        {large, {100, 60}, {19, 19}, {0, 0}, kNone},
        {large, {100, 60}, {719, 559}, {40, 30}, {40, 30}},
        {large, {100, 60}, {720, 30}, kNone, kNone},
    };
    for (const Case& c : cases) {
        MapRenderer map(c.cells);
        map.setScroll(c.scroll);
        EXPECT_EQ(map.gridCellAt(c.point), c.gridCell) << c.point.x() << "," << c.point.y();
        EXPECT_EQ(map.cellAt(c.point), c.bodyCell) << c.point.x() << "," << c.point.y();
    }

    MapRenderer map(large);
    EXPECT_EQ(map.size(), QSize(820, 620));
    map.setScroll({100, 60});
    EXPECT_EQ(map.size(), QSize(820, 620));
    EXPECT_EQ(map.cellRect(6, 4), QRect(20, 20, 20, 20));
    EXPECT_EQ(map.cellRect(6, 0), QRect(20, 0, 20, 20));
    EXPECT_EQ(map.cellRect(0, 4), QRect(0, 20, 20, 20));
    EXPECT_EQ(map.bodyArea(), QRect(QPoint(20, 20), QPoint(719, 559)));
}

TEST(MapRendererTest, DrawsOnlyTheExposedAreaAndAsksOnlyForCellsThatMeetIt) {
    const CountingCells cells(QSize(41, 31));
    const MapLook look{Qt::lightGray, Qt::black, QFont(), narrowHeaderFont(QFont())};
    MapRenderer map(cells, look);
    map.setScroll({100, 60});
    const QImage whole = map.image();
    cells.asked.clear();

    QImage image(whole.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    const QRect exposed(25, 5, 20, 40); // column headers over two rows of two body cells
    {
        QPainter painter(&image);
        map.draw(painter, exposed);
    }
    EXPECT_EQ(image.copy(exposed), whole.copy(exposed));
    QImage outside = image;
    QPainter(&outside).fillRect(exposed, Qt::magenta);
    QImage untouched(whole.size(), QImage::Format_RGB32);
    untouched.fill(Qt::magenta);
    EXPECT_EQ(outside, untouched);
    const std::set<std::pair<int, int>> meeting = {{6, 4}, {6, 5}, {7, 4}, {7, 5}};
    EXPECT_EQ(cells.asked, meeting);
}

// The window's map and the saved picture come from the same drawing.
TEST(MapRendererTest, PictureOfTheMapEqualsWhatTheGridShows) {
    RecordFiles files;
    RecordedMessages messages;
    ReplaySession session(messages, QLocale::c());
    ASSERT_TRUE(loadSmallMap(files, session));
    MapGrid grid;
    grid.setSource(std::make_unique<SessionMapSource>(session));
    grid.resize(grid.sizeHint());
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    const QImage shown = grid.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(renderMapImage(session, grid.palette(), grid.font()), shown);
    grid.setSource(nullptr);
}

// The picture is written in strips: every zoom gives what the grid shows at it, pixel for
// pixel, in strips of a few rows as in one.
TEST(MapRendererTest, PicturesWrittenInStripsAreWhatTheGridShowsAtEachZoom) {
    RecordFiles files;
    RecordedMessages messages;
    ReplaySession session(messages, QLocale::c());
    ASSERT_TRUE(loadSmallMap(files, session));
    MapGrid grid;
    grid.setSource(std::make_unique<SessionMapSource>(session));
    grid.resize(1000, 800);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    for (const int zoom : {25, 50, 100, 200, 400}) {
        SCOPED_TRACE(zoom);
        grid.setZoom(zoom);
        const MapPicture picture(session, grid.palette(), grid.font(), zoom);
        const QSize size = picture.size();
        const QImage shown = grid.viewport()
                                 ->grab()
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32)
                                 .copy(QRect(QPoint(), size));
        for (const int rows : {3, 1000}) {
            const QString path = files.path(QStringLiteral("p%1.png").arg(rows));
            ASSERT_EQ(picture.writePng(path, {}, qsizetype(size.width()) * 4 * rows), QString());
            EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32), shown) << rows;
        }
    }
    grid.setSource(nullptr);
}
