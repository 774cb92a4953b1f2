#include "record_files.h"

#include "browser/record_summary.h"
#include "records/line_list.h"
#include "records/record_loader.h"
#include "records/xml_converter.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace kx;

namespace {

const QString kHeader = QString::fromUtf8("2005-12-03-14-05-09; Les u potoka; 2; 5; 3; 4;");
const QString kMap = QStringLiteral("2005-12-03-14-05-09; create_world; NNBSNNXNNNSSSNn;");
const QString kHqPepa = QStringLiteral("2005-12-03-14-06-00; create_hq; Pepa; les; C0;");
const QString kHqJana = QString::fromUtf8("2005-13-03-09-30-01; create_hq; Jána; louka; B2;");
const QString kBuy = QString::fromUtf8("2005-13-03-10-00-00; buy; C0; komár; 10;");

const QByteArray kXml =
    "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<record>\r\n"
    "  <world><id>1</id><name>Les u potoka</name><created>1110629109</created>"
    "<w>5</w><h>3</h><players>2</players><speed>4</speed>"
    "<map>NNBSNNXNNNSSSNn</map></world>\r\n"
    "<events>\r\n"
    "  <chq><t>1110629160</t><n>Pepa</n><c>C0</c><team>les</team></chq>\r\n"
    "  <chq><t>1110699001</t><n>J\xe1na</n><c>B2</c><team>louka</team></chq>\r\n"
    "  <buy><t>1110700800</t><c>C0</c><k>kom\xe1r</k><n>10</n></buy>\r\n"
    "</events>\r\n</record>\r\n";

struct Summary : ::testing::Test {
    RecordFiles files;
    RecordedMessages messages;

    SummaryResult read(const QStringList& lines, const QString& name = QStringLiteral("r.kxr")) {
        return ShowRecordSummary(files.write(name, lines), messages);
    }
    SummaryResult readBytes(const QByteArray& bytes, const QString& name) {
        return ShowRecordSummary(files.writeBytes(name, bytes), messages);
    }
};

void expectLesUPotoka(const SummaryResult& result) {
    ASSERT_EQ(result.status, SummaryStatus::Shown);
    const RecordSummary& s = result.summary;
    EXPECT_EQ(s.lbMN, QStringLiteral("Les u potoka"));
    EXPECT_EQ(s.lbMR, QStringLiteral("5 x 3"));
    EXPECT_EQ(s.lbMS, QStringLiteral("4"));
    EXPECT_EQ(s.lbML, QStringLiteral("2"));
    EXPECT_EQ(s.lbTR, QStringLiteral("12. 03. - 14:05:09"));
    EXPECT_EQ(s.lbTS, QStringLiteral("12. 03. - 14:06:00"));
    EXPECT_EQ(s.lbPl, (QStringList{"Pepa (les)", QString::fromUtf8("Jána (louka)")}));
}

} // namespace

TEST_F(Summary, ReadsAnEventLogsHeaderAndPlayers) {
    expectLesUPotoka(read({kHeader, kMap, QString(), kHqPepa, kHqJana, kBuy}));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(Summary, ConvertsAnXmlRecordToTheSameSummary) {
    expectLesUPotoka(readBytes(kXml, QStringLiteral("Les_2005-03-12.kxr2")));
    // The record type is taken from the file's name, in any letter case.
    expectLesUPotoka(readBytes(kXml, QStringLiteral("Les_2005-03-12.KXR2")));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(Summary, AFirstReadShorterThanTheHeadIsDoubledUntilTheSummaryHasAll) {
    const QString log =
        files.write(QStringLiteral("r.kxr"), {kHeader, kMap, kHqPepa, kHqJana, kBuy});
    const QString xml = files.writeBytes(QStringLiteral("r.kxr2"), kXml);
    for (const qint64 firstRead : {qint64{1}, qint64{16}, qint64{100}, kSummaryFirstRead}) {
        SCOPED_TRACE(firstRead);
        expectLesUPotoka(ShowRecordSummary(log, messages, firstRead));
        expectLesUPotoka(ShowRecordSummary(xml, messages, firstRead));
    }
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(Summary, TakesTheTypeFromTheFileNameNotItsFolder) {
    ASSERT_TRUE(QDir(files.path(QString())).mkdir(QStringLiteral("old.kxr2")));
    const QString path =
        files.write(QStringLiteral("old.kxr2/r.kxr"), {kHeader, kMap, kHqPepa, kHqJana});
    expectLesUPotoka(ShowRecordSummary(path, messages));
}

TEST_F(Summary, PassesOverEmptyLinesAndAcceptsTheMapLineFirst) {
    expectLesUPotoka(read({QString(), QString(), kMap, QString(), kHeader, QString(), kHqPepa,
                           QString(), QString(), kHqJana}));
}

TEST_F(Summary, AnHqLineWithoutKeywordCountsButIsNotListed) {
    const QString noKeyword = QStringLiteral("2005-13-03-09-30-01; ; Jana; les; B2;");
    const SummaryResult result = read({kHeader, kMap, kHqPepa, noKeyword, kHqJana});
    ASSERT_EQ(result.status, SummaryStatus::Shown);
    EXPECT_EQ(result.summary.lbPl, QStringList{"Pepa (les)"});
}

TEST_F(Summary, DamagedRecordsShowTheMessageAndNothingElse) {
    const QString badCount = QStringLiteral("2005-12-03-14-05-09; Les; dva; 5; 3; 4;");
    const QList<QStringList> records = {
        {kHeader, kBuy, kHqPepa},  // no create_world line among the first two
        {kMap},                    // a map line without a header
        {QString(), QString()},    // only empty lines
        {badCount, kMap, kHqPepa}, // a player count that is not a number
        {QStringLiteral("x; create_world;"), QStringLiteral("2005; Les;")}, // no count at all
    };
    for (const QStringList& lines : records) {
        messages.shown.clear();
        const SummaryResult result = read(lines);
        EXPECT_EQ(result.status, SummaryStatus::Damaged) << lines.join('|').toStdString();
        EXPECT_EQ(messages.shown, QStringList{QString::fromUtf8("Záznam je zřejmě poškozen.")});
        EXPECT_EQ(result.summary.lbMN, QString());
        EXPECT_TRUE(result.summary.lbPl.isEmpty());
    }
}

TEST_F(Summary, ShowsWhatAShortRecordHolds) {
    // Fewer HQ lines than players: the players there are.
    SummaryResult result = read({kHeader, kMap, kHqPepa});
    ASSERT_EQ(result.status, SummaryStatus::Shown);
    EXPECT_EQ(result.summary.lbPl, QStringList{"Pepa (les)"});
    EXPECT_EQ(result.summary.lbTS, QStringLiteral("12. 03. - 14:06:00"));

    // No player: no start time, and the first event is not taken for an HQ.
    result = read({QStringLiteral("2005-12-03-14-05-09; Pusto; 0; 5; 3; 4;"), kMap, kBuy});
    ASSERT_EQ(result.status, SummaryStatus::Shown);
    EXPECT_EQ(result.summary.lbML, QStringLiteral("0"));
    EXPECT_EQ(result.summary.lbTS, QString());
    EXPECT_TRUE(result.summary.lbPl.isEmpty());

    // A header with fewer fields and a short time stamp: the fields that are there.
    result = read({QStringLiteral("2005-12-03; Kratky; 1; 7;"), kMap});
    ASSERT_EQ(result.status, SummaryStatus::Shown);
    EXPECT_EQ(result.summary.lbMR, QStringLiteral("7 x "));
    EXPECT_EQ(result.summary.lbMS, QString());
    EXPECT_EQ(result.summary.lbTR, QStringLiteral("12. 03. - ::"));

    // A huge player count reads to the end of the record and no further.
    result = read(
        {QStringLiteral("2005-12-03-14-05-09; Mnoho; 2147483647; 5; 3; 4;"), kMap, kHqPepa, kBuy});
    ASSERT_EQ(result.status, SummaryStatus::Shown);
    EXPECT_EQ(result.summary.lbPl.size(), 2);
}

TEST_F(Summary, NothingIsShownForAnEmptyFileOrARejectedXmlRecord) {
    QByteArray unclosed = kXml;
    unclosed.replace("</events>", "</evnts>");
    for (const auto& [bytes, name] : {std::pair{QByteArray(), "e.kxr"},
                                      {QByteArray(), "e.kxr2"},
                                      {unclosed, "u.kxr2"},
                                      {QByteArray("junk\n"), "j.kxr2"}}) {
        const SummaryResult result = readBytes(bytes, QString::fromLatin1(name));
        EXPECT_EQ(result.status, SummaryStatus::NotRead) << name;
        EXPECT_EQ(result.summary.lbMN, QString());
    }
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(Summary, AFileThatCannotBeReadIsReportedNotShown) {
    const QString missing = files.path(QStringLiteral("missing.kxr"));
    const SummaryResult result = ShowRecordSummary(missing, messages);
    EXPECT_EQ(result.status, SummaryStatus::Unreadable);
    EXPECT_EQ(result.fileError, QString::fromUtf8(LoadMessages::kCannotOpen) + missing);
    EXPECT_TRUE(messages.shown.isEmpty());

    EXPECT_EQ(ShowRecordSummary(files.path(QString()), messages).status, SummaryStatus::Unreadable);
}

TEST(SummaryOfLines, AskForMoreOnlyWhenTheStartOfARecordIsNotEnough) {
    RecordSummary summary;
    const LineList head = LineList::fromText("2005-12-03-14-05-09; L; 2; 5; 3; 4;\n"
                                             "t; create_world; NNN;\n"
                                             "t; create_hq; A; les; A0;\n");
    EXPECT_FALSE(summarizeRecordLines(head, false, summary));
    EXPECT_EQ(summarizeRecordLines(head, true, summary), SummaryStatus::Shown);
    EXPECT_EQ(summary.lbPl, QStringList{"A (les)"});
    EXPECT_FALSE(summarizeRecordLines(LineList(), false, summary));
    EXPECT_FALSE(summarizeRecordLines(LineList::fromText("\n\n"), false, summary));
    EXPECT_EQ(summarizeRecordLines(LineList::fromText("a; b;\nc; d;\n"), false, summary),
              SummaryStatus::Damaged);
}
