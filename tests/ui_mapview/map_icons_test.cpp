#include <QImage>

#include "mapview/ui/map_icons.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace kx;

namespace {

QRgb pixel(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

} // namespace

TEST(MapIcons, FramesAreOneLogicalPixelOfTheSideColour) {
    struct Case {
        int icon;
        QRgb frame;
    };
    const Case cases[] = {{0, qRgb(79, 79, 79)},   {5, qRgb(223, 207, 47)},
                          {7, qRgb(223, 207, 47)}, {13, qRgb(223, 207, 47)},
                          {8, qRgb(0, 111, 208)},  {16, qRgb(0, 111, 208)},
                          {20, qRgb(222, 8, 49)},  {25, qRgb(222, 8, 49)}};
    for (qreal ratio : {1.0, 2.0}) {
        for (const Case& c : cases) {
            const QImage image = renderMapIcon(c.icon, ratio);
            ASSERT_EQ(image.width(), 20 * ratio);
            ASSERT_EQ(image.devicePixelRatio(), ratio);
            const int last = image.width() - 1;
            const int inner = static_cast<int>(ratio) - 1; // the frame's innermost pixel
            for (int at : {inner, last / 2, last - inner}) {
                EXPECT_EQ(pixel(image, at, inner), c.frame & 0xFFFFFF) << c.icon << " " << ratio;
                EXPECT_EQ(pixel(image, inner, at), c.frame & 0xFFFFFF) << c.icon << " " << ratio;
                EXPECT_EQ(pixel(image, at, last - inner), c.frame & 0xFFFFFF) << c.icon;
                EXPECT_EQ(pixel(image, last - inner, at), c.frame & 0xFFFFFF) << c.icon;
            }
            // Inside the frame the picture begins.
            EXPECT_NE(pixel(image, static_cast<int>(ratio), 3 * static_cast<int>(ratio)),
                      c.frame & 0xFFFFFF)
                << c.icon << " " << ratio;
        }
    }
    // The blank tile is black between its cross and its rim; HQs have no frame.
    EXPECT_EQ(pixel(renderMapIcon(0, 1), 4, 4), 0u);
    for (int hq : {17, 18, 19}) {
        const QImage image = renderMapIcon(hq, 1);
        QSet<QRgb> edge;
        for (int x = 0; x < 20; ++x)
            edge.insert(pixel(image, x, 0));
        EXPECT_GT(edge.size(), 3) << hq;
    }
}

TEST(MapIcons, AllDifferStayTheSameAndUnknownIndexesAreBlank) {
    QSet<QByteArray> seen;
    for (int i = 0; i < 26; ++i) {
        const QImage image = renderMapIcon(i, 1);
        EXPECT_EQ(image, renderMapIcon(i, 1)) << i; // a fixed pattern, not a random one
        const QByteArray bytes(reinterpret_cast<const char*>(image.constBits()),
                               image.sizeInBytes());
        EXPECT_FALSE(seen.contains(bytes)) << "icon " << i << " repeats another";
        seen.insert(bytes);
    }
    EXPECT_EQ(renderMapIcon(26, 1), renderMapIcon(0, 1));
    EXPECT_EQ(renderMapIcon(-1, 1), renderMapIcon(0, 1));

    const QPixmap& cached = mapIcon(5, 2);
    EXPECT_EQ(cached.devicePixelRatio(), 2);
    EXPECT_EQ(cached.size(), QSize(40, 40));
    EXPECT_EQ(&mapIcon(5, 2), &cached);
    EXPECT_EQ(mapIcon(99, 1).toImage(), mapIcon(0, 1).toImage());
}
