// The summary of a large XML record converts only its first lines and checks the rest: it must
// agree with converting the whole record, whatever the rest holds.
#include "record_files.h"

#include "browser/record_file_reader.h"
#include "browser/record_summary.h"
#include "browser/xml_events_check.h"
#include "record_generator.h"
#include "records/xml_converter.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace kx;

namespace {

// What the summary of `xml` must be: the whole record converted, its lines summarized.
SummaryResult reference(const QByteArray& xml) {
    SummaryResult result;
    XmlConverter converter;
    converter.loadLog(xml);
    if (!converter.convertXmlRecord())
        return result;
    result.status = *summarizeRecordLines(converter.kxr(), true, result.summary);
    return result;
}

QList<QByteArray> linesOf(const QByteArray& bytes) {
    return bytes.split('\n');
}
QByteArray joined(const QList<QByteArray>& lines) {
    return lines.join('\n');
}

struct XmlSummary : ::testing::Test {
    RecordFiles files;
    RecordedMessages messages;

    // Also checks that the case is what it means to be: a record shown or one rejected.
    void expectAsWhole(const QByteArray& xml, const std::string& what,
                       SummaryStatus status = SummaryStatus::NotRead) {
        const SummaryResult expected = reference(xml);
        EXPECT_EQ(expected.status, status) << what;
        const SummaryResult got =
            ShowRecordSummary(files.writeBytes(QStringLiteral("r.kxr2"), xml), messages);
        EXPECT_EQ(got.status, expected.status) << what;
        EXPECT_EQ(got.summary.lbMN, expected.summary.lbMN) << what;
        EXPECT_EQ(got.summary.lbML, expected.summary.lbML) << what;
        EXPECT_EQ(got.summary.lbTS, expected.summary.lbTS) << what;
        EXPECT_EQ(got.summary.lbPl, expected.summary.lbPl) << what;
    }

    // A generated record of about 200 kB with LF line ends.
    static QByteArray generated(int players = 4, int events = 2000) {
        RecordGeneratorOptions options;
        options.players = players;
        options.events = events;
        QByteArray xml = generateRecord(options).xml;
        xml.replace("\r\n", "\n");
        return xml;
    }
};

} // namespace

TEST_F(XmlSummary, AgreesWithTheWholeConversionOnDamageAnywhere) {
    const QByteArray xml = generated();
    ASSERT_GT(xml.size(), 150000);
    expectAsWhole(xml, "as generated", SummaryStatus::Shown);

    const QList<QByteArray> lines = linesOf(xml);
    const qsizetype last = lines.lastIndexOf("  </events>") - 1; // the last event
    ASSERT_GT(last, 100);
    auto replaced = [&](qsizetype index, const QByteArray& line) {
        QList<QByteArray> copy = lines;
        copy[index] = line;
        return joined(copy);
    };
    expectAsWhole(replaced(last + 1, "</evnts>"), "no closing line");
    expectAsWhole(replaced(last, "<buy><t>soon</t><c>A0</c><k>vosa</k><n>1</n></buy>"),
                  "a time that is no number at the end");
    expectAsWhole(replaced(last, "   "), "a blank line among the events");
    expectAsWhole(replaced(last, "<buy><t>1</t>"), "an event without its closing tag");
    expectAsWhole(replaced(last, "<zzz>x</zzz>"), "an unknown element is passed over",
                  SummaryStatus::Shown);
    expectAsWhole(replaced(last - 500, "</events>"), "the events closed early",
                  SummaryStatus::Shown);
    expectAsWhole(replaced(last - 500, "\t<buy><t>1</t><c>A0</c><k>vosa</k><n>1</n></buy>"),
                  "a tab before an element", SummaryStatus::Shown);
    expectAsWhole(xml.first(xml.size() - 40), "a record cut short");
    expectAsWhole(replaced(0, "<?xml version='1.0'?>"), "a wrong declaration");
}

TEST_F(XmlSummary, AgreesWhenTheHqBlockGoesOnAfterTheFirstLines) {
    QList<QByteArray> lines = linesOf(generated(3));
    // Move the third HQ deep into the events: the HQ block is read until all three exist.
    const qsizetype third = 6;
    ASSERT_TRUE(lines[third].trimmed().startsWith("<chq>"));
    const QByteArray hq = lines.takeAt(third);
    lines.insert(lines.size() - 100, hq);
    expectAsWhole(joined(lines), "a late HQ", SummaryStatus::Shown);

    // Taken away, the HQ block never ends: the conversion fails.
    lines.removeAt(lines.size() - 101);
    expectAsWhole(joined(lines), "a missing HQ");
}

TEST_F(XmlSummary, AgreesWhenTheWorldNameMovesThePlayerCount) {
    // A semicolon in the name shifts the header's fields: the summary then reads far more
    // "players" than the HQ block made, from the event lines.
    QByteArray xml = generated();
    xml.replace(QByteArray::fromPercentEncoding("Kopretinov%E1 louka"), "Louka; 900");
    expectAsWhole(xml, "a count of 900 in the name", SummaryStatus::Shown);
}

TEST_F(XmlSummary, RandomlyDamagedEventsAreJudgedAsTheConverterJudgesThem) {
    const QByteArray head = "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\n<record>\n"
                            "<world><i>1</i><n>W</n><c>0</c><w>2</w><h>1</h><p>1</p><s>4</s>"
                            "<m>NN</m></world>\n<events>\n"
                            "<chq><t>5</t><n>A</n><c>A0</c><team>les</team></chq>\n";
    const QByteArray pieces[] = {
        "<buy><t>7</t><c>A0</c><k>vosa</k><n>1</n></buy>",
        "  <att><t>-8</t><a>A0</a><b>B0</b><n>1</n><x/><y/><z/><s>1</s><l>0</l></att>",
        "<mov><t>+9</t></mov>",
        "<ret><t>1O</t><c>A0</c><n>1</n></ret>",
        "<trn/>",
        "<trb><t>1</t>",
        "<cfd>",
        "</cfd>",
        "<",
        ">",
        "<>",
        "x",
        "",
        " ",
        "\t<buy>",
        "<chq><t>x</t></chq>",
        "<rhq>",
        "</events>",
        "<buy></buy>",
        "<buy><t></t></buy>",
        "<buy><t>99999999999</t></buy>",
        "<trn><t>3</t><a></trn>",
        "<b<uy>>",
        "</buy><buy>",
        // Near the usual "<buy><t>7</t>…</buy>": the element closed early or twice, the child
        // named as the element or unclosed, a '<' or a sign in the time.
        "<buy><t>7</t></buy></buy>",
        "<buy><t>7</buy></t></buy>",
        "<buy></buy><t>7</t></buy>",
        "<buy><buy>7</buy></buy>",
        "<buy><t>7</t><c>A0</c>",
        "<buy><t>7<</t></buy>",
        "<buy><t>-7</t></buy>",
        "<buy><t>7</tt></buy>",
        "<buy><t>7</t></buyy>",
    };
    QRandomGenerator random(42);
    for (int round = 0; round < 3000; ++round) {
        QByteArray xml = head;
        const int count = random.bounded(1, 8);
        for (int i = 0; i < count; ++i)
            xml += pieces[random.bounded(int(std::size(pieces)))] +
                   (random.bounded(3) ? "\n" : "\r\n");
        if (random.bounded(2))
            xml += "</events>\n";
        XmlConverter converter;
        converter.loadLog(xml);
        const bool converted = converter.convertXmlRecord();
        ASSERT_EQ(xmlEventsReadable(xml), converted) << xml.toStdString();
        // Read from a file in two halves, split at its middle line.
        if (round % 10 == 0) {
            RecordFileReader reader;
            ASSERT_TRUE(reader.open(files.writeBytes(QStringLiteral("r.kxr2"), xml), nullptr));
            ASSERT_EQ(xmlEventsReadable(reader, 0), converted) << xml.toStdString();
        }
    }
}

TEST_F(XmlSummary, LinesAreSplitAsTheConverterSplitsThem) {
    const QByteArray text = "a\r\nb\rc\n\nd\r\r\ne";
    LineCursor cursor(text);
    QList<QByteArray> lines;
    QByteArrayView line;
    while (cursor.next(line))
        lines.append(line.toByteArray());
    EXPECT_EQ(lines, (QList<QByteArray>{"a", "b", "c", "", "d", "", "e"}));
}

TEST_F(XmlSummary, ALargeRecordIsSummarizedQuickly) {
    const QByteArray xml = generated(20, 300000);
    const QString path = files.writeBytes(QStringLiteral("big.kxr2"), xml);
    QElapsedTimer timer;
    timer.start();
    const SummaryResult result = ShowRecordSummary(path, messages);
    const qint64 elapsed = timer.elapsed();
    ASSERT_EQ(result.status, SummaryStatus::Shown);
    EXPECT_EQ(result.summary.lbPl.size(), 20);
    // Converting the whole record takes several times as long; a debug build is slow.
    EXPECT_LT(elapsed, 2000);
}
