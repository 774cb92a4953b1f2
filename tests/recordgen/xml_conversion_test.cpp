#include "record_generator.h"

#include "records/xml_converter.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace kx;

namespace {

// The converter's output as the bytes of an event-log file.
QByteArray convertedLog(const QByteArray& xml) {
    XmlConverter converter;
    converter.loadLog(xml);
    EXPECT_TRUE(converter.convertXmlRecord()) << converter.lastError().toStdString();
    QByteArray bytes;
    for (qsizetype i = 0; i < converter.kxr().size(); ++i)
        bytes += converter.kxr().at(i).toByteArray() + "\r\n";
    return bytes;
}

} // namespace

TEST(RecordGenerator, ConvertingTheXmlRecordGivesTheEventLog) {
    // Seeds with and without a removed HQ, one player, a world wider than its addresses.
    struct Case {
        uint64_t seed;
        int players, width, height;
    };
    bool sawHqRemoval = false;
    for (const Case& c : {Case{1, 4, 20, 20}, Case{2, 5, 20, 20}, Case{3, 2, 3, 3},
                          Case{4, 1, 8, 8}, Case{5, 30, 60, 40}, Case{6, 7, 20, 20}}) {
        SCOPED_TRACE(testing::Message() << "seed " << c.seed);
        RecordGeneratorOptions options;
        options.seed = c.seed;
        options.events = 2000;
        options.players = c.players;
        options.width = c.width;
        options.height = c.height;
        const GeneratedRecord record = generateRecord(options);
        ASSERT_TRUE(record.error.isEmpty());
        sawHqRemoval = sawHqRemoval || record.xml.contains("<rhq>");
        EXPECT_EQ(convertedLog(record.xml), record.log);
    }
    EXPECT_TRUE(sawHqRemoval);
}

namespace {

// What a conversion left: its outcome, its message and its lists.
struct Outcome {
    bool converted = false;
    QString error;
    QList<QByteArray> kxr, hq, hqc;
    bool operator==(const Outcome&) const = default;
};

QList<QByteArray> linesOf(const LineList& list) {
    QList<QByteArray> lines;
    for (qsizetype i = 0; i < list.size(); ++i)
        lines.append(list.at(i).toByteArray());
    return lines;
}

Outcome outcomeOf(const XmlConverter& converter, bool converted) {
    return {converted, converter.lastError(), linesOf(converter.kxr()), linesOf(converter.hq()),
            linesOf(converter.hqc())};
}

Outcome convertedWhole(const QByteArray& xml) {
    XmlConverter converter;
    converter.loadLog(xml);
    return outcomeOf(converter, converter.convertXmlRecord());
}

// The record read in pieces of random sizes up to `piece` bytes.
Outcome convertedStreamed(const QByteArray& xml, qsizetype piece, QRandomGenerator& random) {
    qsizetype offset = 0;
    StreamedLines lines(
        [&](char* into, qint64 room) {
            const qint64 got =
                std::min<qint64>(random.bounded(1, int(room) + 1), xml.size() - offset);
            std::memcpy(into, xml.constData() + offset, size_t(got));
            offset += got;
            return got;
        },
        piece);
    XmlConverter converter;
    return outcomeOf(converter, converter.convertXmlStream(lines, xml.size()));
}

} // namespace

TEST(RecordGenerator, ConvertingWhileReadingGivesWhatTheWholeConversionGives) {
    // Generated records, with every kind of line end, then damaged at random: lines taken out,
    // repeated, blanked, replaced by pieces of elements, HQs moved late, the text cut short.
    const QByteArray pieces[] = {"</events>",
                                 "",
                                 "   ",
                                 "<buy><t>x</t></buy>",
                                 "<chq><t>9</t><n>Z</n><c>A0</c></chq>",
                                 "<rhq><t>9</t><n>Z</n><c>A0</c></rhq>",
                                 "<buy><t>7</t>",
                                 "<",
                                 "\t<mov>",
                                 "<zzz/>"};
    QRandomGenerator random(11);
    int converted = 0;
    for (int round = 0; round < 400; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        RecordGeneratorOptions options;
        options.seed = uint64_t(round % 8);
        options.events = 200;
        options.players = random.bounded(1, 6);
        QByteArray xml = generateRecord(options).xml;
        const char* const ends[] = {"\r\n", "\n", "\r"};
        xml.replace("\r\n", ends[round % 3]);
        QList<QByteArray> lines = xml.split('\n');
        const int damages = round < 40 ? 0 : random.bounded(1, 4);
        for (int d = 0; d < damages && lines.size() > 2; ++d) {
            const qsizetype at = random.bounded(qsizetype(1), lines.size());
            switch (random.bounded(4)) {
            case 0:
                lines.removeAt(at);
                break;
            case 1:
                lines.insert(at, lines[random.bounded(qsizetype(0), lines.size())]);
                break;
            case 2:
                lines[at] = pieces[random.bounded(int(std::size(pieces)))];
                break;
            default:
                lines.move(random.bounded(qsizetype(4), std::min<qsizetype>(10, lines.size())), at);
            }
        }
        xml = lines.join('\n');
        if (round % 5 == 4)
            xml.truncate(random.bounded(qsizetype(0), xml.size() + 1));
        const Outcome whole = convertedWhole(xml);
        converted += whole.converted;
        for (const qsizetype piece : {qsizetype{1}, qsizetype{7}, qsizetype{4096}})
            ASSERT_EQ(convertedStreamed(xml, piece, random), whole) << "pieces of " << piece;
    }
    EXPECT_GT(converted, 60); // damage does not leave every record unreadable
    EXPECT_LT(converted, 380);
}
