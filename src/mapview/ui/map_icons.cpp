#include "map_icons.h"

#include "mapview/icon_choice.h"
#include "widgets/icon_pixmap_cache.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace kx {

namespace {

constexpr qreal kSide = kMapIconSize;

// The side of an icon in device pixels; a zoomed cell's ratio (such as 7 / 20) is a whole
// number of pixels that floating point may overshoot by a hair.
int devicePixels(qreal ratio) {
    return static_cast<int>(std::ceil(kSide * ratio - 1e-6));
}

// ---- Mottled ground ----------------------------------------------------------------------
// Textures come from a fixed hash of the lattice points, sampled at every device pixel in
// logical coordinates: the same pattern at every ratio, finer where there are more pixels.

enum class Ground { Hidden, Grass, Meadow, Swamp, Rock };

uint32_t hashPoint(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B1u ^ static_cast<uint32_t>(x) * 0x85EBCA77u ^
                 static_cast<uint32_t>(y) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

// Lattice values repeat every `period` points, so that a texture of whole periods per tile
// joins its neighbours without a seam.
double lattice(int x, int y, int period, uint32_t seed) {
    x = ((x % period) + period) % period;
    y = ((y % period) + period) % period;
    return (hashPoint(x, y, seed) & 0xFFFF) / 65535.0;
}

// Smooth noise in 0..1 with `period` lattice cells across one tile.
double valueNoise(double x, double y, int period, uint32_t seed) {
    x *= period / kSide;
    y *= period / kSide;
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    auto smooth = [](double t) { return t * t * (3 - 2 * t); };
    const double tx = smooth(x - x0);
    const double ty = smooth(y - y0);
    const double top =
        lattice(x0, y0, period, seed) * (1 - tx) + lattice(x0 + 1, y0, period, seed) * tx;
    const double bottom =
        lattice(x0, y0 + 1, period, seed) * (1 - tx) + lattice(x0 + 1, y0 + 1, period, seed) * tx;
    return top * (1 - ty) + bottom * ty;
}

// Three octaves: clumps of a few pixels with a fine grain on top.
double mottle(double x, double y, uint32_t seed) {
    return 0.55 * valueNoise(x, y, 6, seed) + 0.30 * valueNoise(x, y, 12, seed + 1) +
           0.15 * valueNoise(x, y, 25, seed + 2);
}

QColor mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

struct GroundColours {
    QColor dark, base, light;
    double contrast;
};

GroundColours coloursOf(Ground ground) {
    switch (ground) {
    case Ground::Hidden:
        return {QColor(22, 46, 24), QColor(36, 70, 36), QColor(56, 96, 50), 2.4};
    case Ground::Grass:
        return {QColor(52, 100, 36), QColor(78, 136, 50), QColor(118, 168, 70), 2.3};
    case Ground::Meadow:
        return {QColor(84, 158, 50), QColor(112, 190, 64), QColor(150, 214, 90), 2.0};
    case Ground::Swamp:
        return {QColor(74, 68, 34), QColor(112, 98, 50), QColor(146, 128, 70), 2.3};
    case Ground::Rock:
        return {QColor(112, 110, 106), QColor(160, 158, 152), QColor(206, 204, 198), 2.2};
    }
    return {};
}

QColor groundAt(Ground ground, double x, double y, uint32_t seed) {
    const GroundColours c = coloursOf(ground);
    const double t = (mottle(x, y, seed) - 0.5) * c.contrast + 0.5;
    QColor colour = t < 0.5 ? mix(c.dark, c.base, t * 2) : mix(c.base, c.light, t * 2 - 1);
    if (ground == Ground::Swamp) {
        // Small dark pools of standing water.
        const double pool = valueNoise(x, y, 7, seed + 7);
        if (pool > 0.72)
            colour = mix(colour, QColor(48, 74, 64), (pool - 0.72) * 8);
    } else if (ground == Ground::Rock) {
        // Dark grit and pale chips.
        const double grit = valueNoise(x, y, 25, seed + 9);
        if (grit > 0.8)
            colour = mix(colour, QColor(96, 94, 90), (grit - 0.8) * 5);
        else if (grit < 0.16)
            colour = mix(colour, c.light.lighter(108), (0.16 - grit) * 6);
    } else if (ground != Ground::Hidden) {
        // Sparse bright blades.
        if (hashPoint(static_cast<int>(x * 2), static_cast<int>(y * 2), seed + 5) % 29 == 0)
            colour = mix(colour, c.light.lighter(112), 0.8);
    }
    return colour;
}

QImage groundTexture(Ground ground, qreal ratio, uint32_t seed) {
    const int side = devicePixels(ratio);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    // Below one device pixel per logical pixel, a device pixel is the average of the logical
    // pixels it covers, so a map zoomed out shows the ground's colour, not a chance sample.
    const int samples = ratio < 1 ? static_cast<int>(std::ceil(1 / ratio - 1e-6)) : 1;
    const double n = samples * samples;
    for (int py = 0; py < side; ++py) {
        for (int px = 0; px < side; ++px) {
            if (samples == 1) {
                image.setPixel(
                    px, py, groundAt(ground, (px + 0.5) / ratio, (py + 0.5) / ratio, seed).rgb());
                continue;
            }
            double red = 0, green = 0, blue = 0;
            for (int sy = 0; sy < samples; ++sy)
                for (int sx = 0; sx < samples; ++sx) {
                    const QColor colour = groundAt(ground, (px + (sx + 0.5) / samples) / ratio,
                                                   (py + (sy + 0.5) / samples) / ratio, seed);
                    red += colour.redF();
                    green += colour.greenF();
                    blue += colour.blueF();
                }
            image.setPixel(px, py,
                           QColor::fromRgbF(static_cast<float>(red / n),
                                            static_cast<float>(green / n),
                                            static_cast<float>(blue / n))
                               .rgb());
        }
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

void fillGround(QPainter& p, Ground ground, uint32_t seed) {
    p.drawImage(QRectF(0, 0, kSide, kSide),
                groundTexture(ground, p.device()->devicePixelRatioF(), seed));
}

void fillGround(QPainter& p, Ground ground, uint32_t seed, const QPainterPath& area) {
    p.save();
    p.setClipPath(area);
    fillGround(p, ground, seed);
    p.restore();
}

// ---- Pieces ------------------------------------------------------------------------------

// A line of whole device pixels about one logical pixel wide (never thinner than one device
// pixel): frames stay sharp at every zoom, and on a map zoomed out they still tell the side.
qreal lineWidth(const QPainter& p) {
    const qreal ratio = p.device()->devicePixelRatioF();
    return std::max<qreal>(1, std::floor(ratio)) / ratio;
}

void frame(QPainter& p, const QColor& colour) {
    const qreal w = lineWidth(p);
    p.fillRect(QRectF(0, 0, kSide, w), colour);
    p.fillRect(QRectF(0, kSide - w, kSide, w), colour);
    p.fillRect(QRectF(0, w, w, kSide - 2 * w), colour);
    p.fillRect(QRectF(kSide - w, w, w, kSide - 2 * w), colour);
}

// A faint second line inside a frame so the side reads at a glance on busy ground.
void innerGlow(QPainter& p, QColor colour, int alpha) {
    colour.setAlpha(alpha);
    const qreal w = lineWidth(p);
    p.fillRect(QRectF(w, w, kSide - 2 * w, w), colour);
    p.fillRect(QRectF(w, kSide - 2 * w, kSide - 2 * w, w), colour);
    p.fillRect(QRectF(w, 2 * w, w, kSide - 4 * w), colour);
    p.fillRect(QRectF(kSide - 2 * w, 2 * w, w, kSide - 4 * w), colour);
}

// A patch of swamp or rock on the lower part of a field, under its flower or tree.
void terrainPatch(QPainter& p, int terrain) {
    if (terrain == 2) {
        QPainterPath patch;
        patch.addEllipse(QRectF(2.5, 11.0, 15.0, 7.5));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 52, 26, 110));
        p.drawEllipse(QRectF(2.5, 11.6, 15.0, 7.5)); // soft rim below
        fillGround(p, Ground::Swamp, 31, patch);
    } else if (terrain == 3) {
        const std::array<QRectF, 3> stones = {
            QRectF(2.2, 12.2, 8.0, 6.2), QRectF(8.6, 10.8, 9.0, 7.6), QRectF(6.2, 14.0, 6.5, 4.6)};
        for (const QRectF& stone : stones) {
            QPainterPath path;
            path.addRoundedRect(stone, 2.6, 2.4);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(40, 44, 30, 120));
            p.drawPath(path.translated(0.4, 0.6)); // shadow
            fillGround(p, Ground::Rock, 41, path);
            p.setPen(QPen(QColor(84, 84, 80), 0.6));
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
        }
    }
}

// A red five-petal flower with a yellow centre on a short stem.
void flower(QPainter& p) {
    const QPointF centre(9.5, 7.8);
    p.setPen(QPen(QColor(34, 104, 30), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 10.5), QPointF(9.5, 16.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 122, 36));
    QPainterPath leaf;
    leaf.moveTo(9.5, 15.0);
    leaf.quadTo(5.0, 15.2, 4.8, 12.4);
    leaf.quadTo(8.0, 12.2, 9.5, 15.0);
    p.drawPath(leaf);
    QPainterPath leaf2;
    leaf2.moveTo(9.5, 13.8);
    leaf2.quadTo(13.6, 13.8, 13.8, 11.2);
    leaf2.quadTo(10.8, 11.0, 9.5, 13.8);
    p.drawPath(leaf2);

    p.setPen(QPen(QColor(132, 14, 22), 0.6));
    p.setBrush(QColor(222, 34, 40));
    for (int i = 0; i < 5; ++i) {
        const double angle = -M_PI / 2 + i * 2 * M_PI / 5;
        const QPointF at = centre + QPointF(std::cos(angle), std::sin(angle)) * 2.9;
        p.drawEllipse(at, 2.5, 2.5);
    }
    p.setPen(QPen(QColor(196, 120, 16), 0.5));
    p.setBrush(QColor(255, 222, 52));
    p.drawEllipse(centre, 1.8, 1.8);
}

// A dark green fir of three tiers on a brown trunk.
void firTree(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawEllipse(QRectF(4.6, 15.4, 10.0, 2.6)); // shadow
    p.setBrush(QColor(104, 64, 30));
    p.drawRect(QRectF(8.6, 13.6, 2.0, 3.6));
    const QColor dark(18, 78, 36);
    const QColor light(40, 118, 52);
    const std::array<std::array<double, 3>, 3> tiers = {{
        {2.0, 7.0, 3.0}, // top, bottom, half width at the bottom
        {4.6, 10.6, 4.4},
        {7.8, 14.6, 5.8},
    }};
    for (const auto& tier : tiers) {
        QPolygonF shape;
        shape << QPointF(9.6, tier[0]) << QPointF(9.6 + tier[2], tier[1])
              << QPointF(9.6 - tier[2], tier[1]);
        p.setPen(QPen(QColor(10, 52, 22), 0.6));
        p.setBrush(dark);
        p.drawPolygon(shape);
        QPolygonF lit;
        lit << QPointF(9.6, tier[0] + 0.8) << QPointF(9.6 + tier[2] - 1.0, tier[1] - 0.5)
            << QPointF(9.6, tier[1] - 0.5);
        p.setPen(Qt::NoPen);
        p.setBrush(light);
        p.drawPolygon(lit);
    }
}

// The letter A as a 5 x 5 pixel glyph, crisp at ratio 1.
void pixelA(QPainter& p, QPointF origin, qreal pixel, const QColor& colour) {
    static const char* const rows[] = {".###.", "#...#", "#####", "#...#", "#...#"};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            if (rows[y][x] == '#')
                p.fillRect(QRectF(origin.x() + x * pixel, origin.y() + y * pixel, pixel, pixel),
                           colour);
}

QPainterPath letterA(QRectF box) {
    QPainterPath path;
    path.moveTo(box.left(), box.bottom());
    path.lineTo(box.center().x(), box.top());
    path.lineTo(box.right(), box.bottom());
    const double bar = box.top() + box.height() * 0.64;
    const double inset = box.width() * 0.5 * 0.36;
    path.moveTo(box.left() + inset * 0.9, bar);
    path.lineTo(box.right() - inset * 0.9, bar);
    return path;
}

// Units on the field: a small black A on a pale patch in the lower right corner.
void unitMark(QPainter& p) {
    const qreal ratio = p.device()->devicePixelRatioF();
    p.setPen(QPen(QColor(40, 40, 24, 150), 0.5));
    p.setBrush(QColor(248, 244, 218));
    p.drawRoundedRect(QRectF(11.75, 11.75, 6.5, 6.5), 1.4, 1.4);
    if (ratio < 1.5) {
        // Glyph pixels of whole device pixels, on the device's grid.
        const qreal pixel = ratio < 1 ? 1 : 1 / ratio;
        pixelA(p, QPointF(std::floor(13 * ratio) / ratio, std::floor(13 * ratio) / ratio), pixel,
               Qt::black);
    } else {
        p.setPen(QPen(Qt::black, 1.1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(letterA(QRectF(13.1, 12.9, 3.8, 4.6)));
    }
}

// Units on a highlighted field: a large black A in the middle, with a pale halo.
void bigA(QPainter& p) {
    const QPainterPath path = letterA(QRectF(5.0, 4.4, 10.0, 11.4));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 240, 130), 4.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(Qt::black, 2.3, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
    p.drawPath(path);
}

void questionMark(QPainter& p) {
    const QColor pale(138, 194, 122);
    QPainterPath hook;
    hook.moveTo(7.0, 7.4);
    hook.cubicTo(7.0, 4.2, 13.2, 4.0, 13.2, 7.2);
    hook.cubicTo(13.2, 9.4, 10.0, 9.6, 10.0, 12.2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(10, 30, 12, 140), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(hook.translated(0.4, 0.5));
    p.setPen(QPen(pale, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(pale);
    p.drawEllipse(QPointF(10.0, 15.2), 1.3, 1.3);
}

// The HQ: a blue striped dome with a black doorway.
void dome(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 80));
    p.drawEllipse(QRectF(1.6, 13.4, 17.4, 4.6)); // shadow on the ground
    QPainterPath shell;
    shell.moveTo(2.5, 15.5);
    shell.arcTo(QRectF(2.5, 3.0, 15.0, 25.0), 180, -180);
    shell.closeSubpath();
    p.save();
    p.setClipPath(shell);
    p.fillRect(QRectF(0, 0, kSide, kSide), QColor(28, 76, 188));
    for (double y = 3.0; y < 16; y += 2.5)
        p.fillRect(QRectF(0, y + 1.25, kSide, 1.25), QColor(112, 164, 238));
    QRadialGradient shine(QPointF(7.0, 6.5), 9.0);
    shine.setColorAt(0, QColor(255, 255, 255, 110));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 0, kSide, kSide), shine);
    p.restore();
    p.setPen(QPen(QColor(12, 32, 92), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shell);
    // Doorway.
    QPainterPath door;
    door.moveTo(8.2, 15.6);
    door.lineTo(8.2, 11.6);
    door.arcTo(QRectF(8.2, 9.8, 3.6, 3.6), 180, -180);
    door.lineTo(11.8, 15.6);
    door.closeSubpath();
    p.setPen(QPen(QColor(200, 220, 250), 0.5));
    p.setBrush(Qt::black);
    p.drawPath(door);
}

// ---- Icons -------------------------------------------------------------------------------

void paintIcon(QPainter& p, int index) {
    switch (index) {
    case 1:
        fillGround(p, Ground::Hidden, 11);
        questionMark(p);
        return;
    case 2:
        fillGround(p, Ground::Grass, 21);
        return;
    case 3:
        fillGround(p, Ground::Swamp, 22);
        return;
    case 4:
        fillGround(p, Ground::Rock, 23);
        return;
    default:
        break;
    }
    if (index >= 5 && index <= 16) {
        const int terrain = (index - 5) % 3 + 1;
        const bool louka = index <= 7 || (index >= 11 && index <= 13);
        fillGround(p, Ground::Meadow, 51);
        terrainPatch(p, terrain);
        if (louka)
            flower(p);
        else
            firTree(p);
        if (index >= 11)
            unitMark(p);
        const QColor side = louka ? QColor(223, 207, 47) : QColor(0, 111, 208);
        innerGlow(p, side, 90);
        frame(p, side);
        return;
    }
    if (index >= 17 && index <= 19) {
        const Ground grounds[] = {Ground::Grass, Ground::Swamp, Ground::Rock};
        fillGround(p, grounds[index - 17], 61 + static_cast<uint32_t>(index));
        dome(p);
        return;
    }
    if (index >= 20 && index <= 25) {
        fillGround(p, Ground::Meadow, 71);
        terrainPatch(p, (index - 20) % 3 + 1);
        if (index >= 23)
            bigA(p);
        const QColor red(222, 8, 49);
        innerGlow(p, red, 110);
        frame(p, red);
        return;
    }
    // 0, the blank tile: black, a thin dark-grey cross and a grey rim.
    p.fillRect(QRectF(0, 0, kSide, kSide), Qt::black);
    p.fillRect(QRectF(9.5, 1, 1, kSide - 2), QColor(44, 44, 44));
    p.fillRect(QRectF(1, 9.5, kSide - 2, 1), QColor(44, 44, 44));
    frame(p, QColor(79, 79, 79));
}

} // namespace

QImage renderMapIcon(int index, qreal devicePixelRatio) {
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1;
    const int side = devicePixels(ratio);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    paintIcon(painter, index);
    return image;
}

const QPixmap& mapIcon(int index, qreal devicePixelRatio) {
    return cachedIconPixmap<kIconCount, renderMapIcon>(index, devicePixelRatio);
}

} // namespace kx
