#include "record_generator.h"

#include "records/xml_converter.h"

#include <gtest/gtest.h>

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
