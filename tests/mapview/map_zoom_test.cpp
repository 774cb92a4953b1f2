#include "mapview/map_zoom.h"
#include "mapview/overview_geometry.h"

#include <gtest/gtest.h>

using namespace kx;

TEST(MapZoom, StepsClampAndSizes) {
    struct Case {
        int percent, clamped, in, out, cell, header;
    };
    const Case cases[] = {
        {100, 100, 125, 75, 20, 20}, {25, 25, 30, 25, 5, 20},       {400, 400, 400, 300, 80, 80},
        {10, 25, 30, 25, 5, 20},     {9999, 400, 400, 300, 80, 80}, {87, 85, 100, 75, 17, 20},
        {-3, 25, 30, 25, 5, 20},     {150, 150, 200, 125, 30, 30},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(clampZoom(c.percent), c.clamped) << c.percent;
        EXPECT_EQ(zoomInStep(c.percent), c.in) << c.percent;
        EXPECT_EQ(zoomOutStep(c.percent), c.out) << c.percent;
        EXPECT_EQ(cellSizeAt(c.percent), c.cell) << c.percent;
        EXPECT_EQ(headerSizeAt(c.percent), c.header) << c.percent;
    }
}

TEST(MapZoom, FitsTheWorldAndItsHeaders) {
    struct Case {
        QSize view, cells;
        int zoom;
    };
    const Case cases[] = {
        {{420, 420}, {20, 20}, 100},    // the blank world at its own size
        {{419, 420}, {20, 20}, 95},     // a pixel short
        {{1000, 600}, {10, 5}, 400},    // a tiny world stops at the top
        {{460, 460}, {1000, 1000}, 25}, // a huge one at the bottom
        {{820, 420}, {40, 20}, 100},    // the narrower side decides
    };
    for (const Case& c : cases)
        EXPECT_EQ(fitZoom(c.view, c.cells), c.zoom) << c.view.width() << " " << c.cells.width();
}

// The world cell under the anchor before and after zooming must be the same one, and at the
// same spot of the view, wherever the view is scrolled and whichever way it zooms.
TEST(MapZoom, TheCellUnderTheAnchorStaysUnderIt) {
    struct Case {
        int from, to;
        QPoint scroll, anchor;
    };
    const Case cases[] = {
        {100, 400, {0, 0}, {137, 251}},      {400, 25, {5000, 3000}, {300, 90}},
        {100, 125, {777, 13}, {30, 30}},     {25, 400, {0, 0}, {459, 459}},
        {300, 85, {12345, 999}, {200, 100}}, {85, 300, {17, 4}, {99, 70}},
    };
    for (const Case& c : cases) {
        const BodyGeometry from{cellSizeAt(c.from), headerSizeAt(c.from), c.scroll};
        const BodyGeometry to = zoomedAround(from, c.to, c.anchor);
        EXPECT_EQ(to.cell, cellSizeAt(c.to));
        EXPECT_EQ(from.bodyPoint(c.anchor).x() / from.cell, to.bodyPoint(c.anchor).x() / to.cell)
            << c.from << "->" << c.to;
        EXPECT_EQ(from.bodyPoint(c.anchor).y() / from.cell, to.bodyPoint(c.anchor).y() / to.cell)
            << c.from << "->" << c.to;
    }
    // Over a header the anchor stands for the body's edge: the first column in view stays.
    const BodyGeometry from{20, 20, {400, 0}};
    EXPECT_EQ(zoomedAround(from, 200, {5, 5}).scroll, QPoint(800, 0));
}

TEST(MapZoom, VisibleCellsAndCentring) {
    const BodyGeometry geometry{10, 20, {150, 40}};
    EXPECT_EQ(geometry.visibleCells({220, 120}), QRectF(15, 4, 20, 10));
    EXPECT_EQ(scrollCentredOn(geometry, {50, 30}, {220, 120}), QPoint(400, 250));
}

TEST(OverviewGeometry, PictureAndMappingsBothWays) {
    struct Case {
        QSize widget, cells;
        QRectF picture;
    };
    const Case cases[] = {
        {{200, 200}, {1000, 500}, {0, 50, 200, 100}}, // shrunk below a pixel per cell
        {{200, 150}, {20, 20}, {30, 5, 140, 140}},    // whole pixels: 7 per cell
        {{200, 200}, {150, 150}, {25, 25, 150, 150}}, // one pixel per cell, centred
        {{0, 200}, {20, 20}, {}},
        {{200, 200}, {0, 20}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(overviewPicture(c.widget, c.cells), c.picture) << c.widget.width();

    const QRectF picture(30, 5, 140, 140); // 20 x 20 cells of 7 pixels
    EXPECT_EQ(overviewToCells({30 + 7 * 3.5, 5 + 7 * 10}, picture, {20, 20}), QPointF(3.5, 10));
    EXPECT_EQ(overviewToCells({0, 500}, picture, {20, 20}), QPointF(0, 20)); // clamped
    EXPECT_EQ(cellsToOverview({2, 4, 5, 3}, picture, {20, 20}), QRectF(44, 33, 35, 21));
    EXPECT_EQ(cellsToOverview({18, -2, 5, 3}, picture, {20, 20}), QRectF(156, 5, 14, 7));
}
