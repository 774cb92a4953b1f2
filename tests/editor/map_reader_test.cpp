#include "editor/map_file.h"
#include "editor/map_reader.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace kx;

namespace {

QByteArray join(const QList<QByteArray>& pieces) {
    QByteArray bytes;
    for (const QByteArray& piece : pieces)
        bytes += piece;
    return bytes;
}

// A map of the given size whose cells run through every terrain, and every unit kind on
// every passable terrain, with counts up to 99.
MapEditor generatedMap(int width, int height) {
    MapEditor editor;
    editor.allocateMap(width, height);
    const int32_t terrains[] = {kEditorNormal, kEditorSwamp, kEditorRock, kEditorImpassable};
    int n = width * 7 + height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x, n += 5) {
            editor.image1Click(terrains[n % 4] == kEditorImpassable ? 0 : terrains[n % 4]);
            editor.paintCount = 1 + n % 99;
            editor.dgMapSelectCell(x + 1, y + 1, n % 7);
        }
    return editor;
}

const MapTexts kTexts{QString::fromUtf8("Žluťoučký kůň"),
                      QString::fromUtf8("Šárka"),
                      QString::fromUtf8("Bažiny a skály"),
                      QStringLiteral("03"),
                      QStringLiteral("10"),
                      QStringLiteral("-5"),
                      QStringLiteral("100")};

TEST(MapReaderTest, EveryWrittenMapReadsBackAndSavesToTheSameBytes) {
    for (int width = kMinMapSide; width <= kMaxMapSide; ++width)
        for (int height = kMinMapSide; height <= kMaxMapSide; ++height) {
            const MapEditor written = generatedMap(width, height);
            const QByteArray bytes = join(*mapFilePieces(written, kTexts));
            const MapReading reading = readMap(bytes);
            ASSERT_TRUE(reading.map)
                << width << "x" << height << ": " << reading.error.toStdString();
            EXPECT_EQ(reading.map->texts, kTexts);
            MapEditor opened;
            opened.loadDrawing(reading.map->editFields, reading.map->editUnits);
            ASSERT_EQ(join(*mapFilePieces(opened, reading.map->texts)), bytes)
                << width << "x" << height;
        }
}

TEST(MapReaderTest, DamagedMapsAreRefusedWithWhatIsWrong) {
    MapEditor editor = generatedMap(3, 3);
    const QByteArray good = join(*mapFilePieces(editor, kTexts));
    ASSERT_TRUE(readMap(good).map);
    // Each case replaces the first `from` in a good 3 x 3 map by `to`.
    const struct {
        const char* from;
        const char* to;
        const char* message; // a part of the message
    } cases[] = {
        {"<world>", "<zaznam>", "místo <world>"},
        {"</world>", "", "je neúplný, končí předčasně"},
        {"<name>", "<name><", "poškozený zápis XML na řádku 3"},
        {"<name>", "<name><b>", "nemá obsahovat další prvky"},
        {"<width>3<", "<width>21<", "Šířka mapy „21“ není mezi 3 a 20"},
        {"<height>3<", "<height>2<", "Výška mapy „2“"},
        {"<width>3<", "<width>abc<", "Šířka mapy „abc“"},
        {"<speed>03<", "<speed>x<", "„Rychlost“"},
        {"<class>0<", "<class>1<", "<class>"},
        {"<author>", "<autor>", "neznámý prvek <autor>"},
        {"<limit>10</limit>\n", "", "chybí údaj <limit>"},
        {"<max>", "<min>1</min><max>", "<min> je v mapě dvakrát"},
        {"<id>8</id>", "<id>9</id>", "Políčko číslo 9 leží mimo mapu 3 × 3"},
        {"<id>8</id>", "<id>7</id>", "Políčko číslo 7 je v mapě dvakrát"},
        {"<id>0</id>", "<id>x</id>", "není celé číslo"},
        {"<t>", "<t>4", "neznámý terén"},
        {"<u>", "<u>Drak", "neznámou jednotku „Drak"},
        {"<c>25<", "<c>300000000<", "počet jednotek „300000000“"},
        {"<c>0</c>", "<c>3</c>", "nemá jednotky, ale jejich počet je „3“"},
        {"<t>3</t><u></u><c>0<", "<t>3</t><u>Hovado</u><c>2<", "nedobytné, a přesto"},
        {"<fld><id>4</id>", "<fld><x>1</x><id>4</id>", "neznámý prvek <x>"},
        {"<fld><id>4</id>", "<fld><id>4</id><id>4</id>", "má údaj <id> dvakrát"},
        {"<id>0</id>", "", "chybí údaj <id>"},
        {"</world>", "</world><world/>", "poškozený zápis XML na řádku 26"},
        {"</world>", "</world>mapa", "poškozený zápis XML na řádku 26"},
        {"encoding=\"Windows-1250\"", "encoding=\"UTF-8\"", "kódování „UTF-8“"},
    };
    for (const auto& c : cases) {
        QByteArray bytes = good;
        const qsizetype at = bytes.indexOf(c.from);
        ASSERT_GE(at, 0) << c.from;
        bytes.replace(at, qstrlen(c.from), c.to);
        const MapReading reading = readMap(bytes);
        EXPECT_FALSE(reading.map) << c.from;
        EXPECT_TRUE(reading.error.contains(QString::fromUtf8(c.message)))
            << c.from << ": " << reading.error.toStdString();
    }

    // A field line taken away and a file cut short.
    QByteArray missing = good;
    const qsizetype line = missing.indexOf("<fld><id>4</id>");
    missing.remove(line, missing.indexOf('\n', line) + 1 - line);
    EXPECT_TRUE(readMap(missing).error.contains(QString::fromUtf8("chybí políčko B1 (číslo 4)")));
    EXPECT_FALSE(readMap(good.left(good.size() / 2)).map);
    EXPECT_FALSE(readMap(QByteArray("Toto není mapa.")).map);
    EXPECT_FALSE(readMap(QByteArray()).map);
}

TEST(MapReaderTest, FilesThatCannotBeReadAreNamed) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chybí.xml"));
    EXPECT_TRUE(readMapFile(path).error.contains(QStringLiteral("chybí.xml")));
    QFile big(path);
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(QByteArray(2 << 20, ' '));
    big.close();
    EXPECT_TRUE(readMapFile(path).error.contains(QString::fromUtf8("příliš velký")));
}

} // namespace
