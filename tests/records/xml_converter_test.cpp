#include "records/time_stamp.h"
#include "records/xml_converter.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using namespace kx;

namespace {

using Lines = std::vector<QByteArray>;

const QByteArray kDecl = R"(<?xml version="1.0" encoding="windows-1250"?>)";
// 1110200709 is 7 March 2005 13:05:09 UTC, written two hours ahead.
const QByteArray kWorld = "<world><id>7</id><name>Arena</name><created>1110200709</created>"
                          "<w>3</w><h>2</h><players>2</players><speed>4</speed>"
                          "<map>NNBSNN</map></world>";
const Lines kHeaderKxr = {"2005-07-03-15-05-09; Arena; 2; 3; 2; 4;",
                          "2005-07-03-15-05-09; create_world; NNBSNN;", ""};

QByteArray world(const QByteArray& created, const QByteArray& players) {
    return "<world><id>7</id><name>Arena</name><created>" + created +
           "</created><w>3</w><h>2</h>"
           "<players>" +
           players + "</players><speed>4</speed><map>NNBSNN</map></world>";
}
QByteArray chq(const char* name, const char* cell, const char* team, int time = 1110200710) {
    return "<chq><t>" + QByteArray::number(time) + "</t><n>" + name + "</n><c>" + cell +
           "</c><team>" + team + "</team></chq>";
}
QByteArray rhq(const char* name, const char* cell) {
    return QByteArray("<rhq><t>1110200720</t><n>") + name + "</n><c>" + cell + "</c></rhq>";
}
QByteArray buy(const QByteArray& time, const char* cell = "A0") {
    return "<buy><t>" + time + "</t><c>" + cell + "</c><k>kom\xe1r</k><n>10</n></buy>";
}
QByteArray buyLine(const char* cell = "A0") {
    return QByteArray("2005-07-03-15-06-00; buy; ") + cell + "; kom\xe1r; 10;";
}

QByteArray joined(const Lines& lines) {
    QByteArray text;
    for (const QByteArray& line : lines)
        text += line + "\r\n";
    return text;
}

// The four opening lines, then the given HQ and event lines and the closing lines.
Lines record(const Lines& body, const QByteArray& world = kWorld) {
    Lines lines = {kDecl, "<record>", world, "<events>"};
    lines.insert(lines.end(), body.begin(), body.end());
    lines.push_back("</events>");
    lines.push_back("</record>");
    return lines;
}

Lines toLines(const LineList& list) {
    Lines out;
    for (qsizetype i = 0; i < list.size(); ++i)
        out.push_back(list.at(i).toByteArray());
    return out;
}

Lines concat(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Converted {
    bool ok = false;
    Lines kxr, hq, hqc;
    QString error;
};

Converted convert(const Lines& lines) {
    XmlConverter converter;
    converter.loadLog(joined(lines));
    Converted c;
    c.ok = converter.convertXmlRecord();
    c.kxr = toLines(converter.kxr());
    c.hq = toLines(converter.hq());
    c.hqc = toLines(converter.hqc());
    c.error = converter.lastError();
    EXPECT_EQ(c.ok, c.error.isEmpty());
    return c;
}

const QByteArray kTime = "1110200760"; // 15:06:00 local
const Lines kTwoHqs = {chq("Pepa", "A0", "les"), chq("Jana", "C1", "louka")};
const Lines kTwoHqsKxr = {"2005-07-03-15-05-10; create_hq; Pepa; les; A0;",
                          "2005-07-03-15-05-10; create_hq; Jana; louka; C1;"};

} // namespace

TEST(XmlConverter, ConvertsEveryKindOfElement) {
    const Lines body = concat(
        kTwoHqs, {buy(kTime),
                  "<att><t>" + kTime +
                      "</t><a>A0</a><b>B0</b><n>5</n><x>9</x><y>9</y><z>9</z><s>1</s>"
                      "<l>2</l></att>",
                  "<cfd><t>" + kTime + "</t><c>B1</c><g>S</g></cfd>",
                  "<mov><t>" + kTime + "</t><a>A0</a><b>A1</b><n>3</n></mov>",
                  "<unknown><t>x</t></unknown>", // passed over
                  "<ret><t>" + kTime + "</t><c>A1</c><n>2</n></ret>",
                  "<trn><t>" + kTime + "</t><a>Pepa</a><b>Jana</b><n>100</n></trn>",
                  "<trb><t>" + kTime + "</t><a>Pepa</a><b>Jana</b><n>100</n><u>4</u></trb>"});
    Lines lines = record(body);
    lines.push_back("");        // after the closing line nothing is read
    lines.push_back("garbage"); // (not even an empty line)

    const Converted c = convert(lines);
    ASSERT_TRUE(c.ok) << c.error.toStdString();
    const Lines events = {buyLine(),
                          "2005-07-03-15-06-00; attack; A0; B0; 5; 1; 2;",
                          "2005-07-03-15-06-00; convert_gnd; B1; S;",
                          "2005-07-03-15-06-00; move; A0; A1; 3;",
                          "2005-07-03-15-06-00; retreat; A1; 2;",
                          "2005-07-03-15-06-00; trade; Pepa; Jana; 100;",
                          "2005-07-03-15-06-00; trade_hq; Pepa; Jana; 100; 4;"};
    EXPECT_EQ(c.kxr, concat(concat(kHeaderKxr, kTwoHqsKxr), events));
    EXPECT_EQ(c.hq, (Lines{"Pepa=A0", "Jana=C1"}));
    EXPECT_EQ(c.hqc, (Lines{"Pepa=2005-07-03-15-05-10", "Jana=2005-07-03-15-05-10"}));
}

TEST(XmlConverter, ReadsChildrenByPositionOnly) {
    const QByteArray renamed = "<world><a>0</a><b>Arena</b><c>1110200709</c><d>3</d><e>2</e>"
                               "<f>2</f><g>4</g><h>NNBSNN</h></world>";
    const QByteArray renamedBuy =
        "<buy><x>" + kTime + "</x><x>A0</x><y>kom\xe1r</y><z>10</z></buy>";
    const Converted c = convert(record(concat(kTwoHqs, {renamedBuy}), renamed));
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.kxr, convert(record(concat(kTwoHqs, {buy(kTime)}))).kxr);
}

TEST(XmlConverter, AcceptsBlankIndentationButNotTabsOnTheExactLines) {
    Lines blanks = record(concat(kTwoHqs, {buy(kTime)}));
    for (QByteArray& line : blanks)
        line.prepend("    ");
    const Converted indented = convert(blanks);
    ASSERT_TRUE(indented.ok) << indented.error.toStdString();
    EXPECT_EQ(indented.kxr, concat(concat(kHeaderKxr, kTwoHqsKxr), {buyLine()}));

    // Tabs stay: the exact lines fail, while tags and contents are found after them.
    for (int exact : {0, 1, 3}) {
        Lines lines = record(kTwoHqs);
        lines[size_t(exact)].prepend('\t');
        EXPECT_FALSE(convert(lines).ok) << exact;
    }
    Lines tabs = record(concat(kTwoHqs, {buy(kTime)}));
    for (size_t i = 2; i < tabs.size(); ++i) {
        if (i != 3)
            tabs[i].prepend("\t ");
    }
    const Converted tabbed = convert(tabs);
    ASSERT_TRUE(tabbed.ok) << tabbed.error.toStdString();
    EXPECT_EQ(tabbed.kxr, indented.kxr);
}

TEST(XmlConverter, RequiresTheExactOpeningLines) {
    for (const QByteArray& decl : {
             QByteArray(R"(<?xml version="1.0" encoding="utf-8"?>)"),
             QByteArray(R"(<?xml version='1.0' encoding='windows-1250'?>)"),
             QByteArray(R"(<?xml version = "1.0" encoding = "windows-1250"?>)"),
             QByteArray(R"(<?xml version="1.0" encoding="Windows-1250"?>)"),
             kDecl + " ",
         }) {
        Lines lines = record(kTwoHqs);
        lines[0] = decl;
        EXPECT_FALSE(convert(lines).ok) << decl.constData();
    }
    Lines record2 = record(kTwoHqs);
    record2[1] = "<record >";
    EXPECT_FALSE(convert(record2).ok);
    Lines notWorld = record(kTwoHqs, "<wrld><a>0</a></wrld>");
    EXPECT_FALSE(convert(notWorld).ok);
    EXPECT_TRUE(convert(notWorld).kxr.empty());
    Lines events = record(kTwoHqs);
    events[3] = "<events/>";
    const Converted c = convert(events);
    EXPECT_FALSE(c.ok);
    EXPECT_EQ(c.kxr, kHeaderKxr); // what was appended before the failure stays
}

TEST(XmlConverter, RemovesHqsAndCountsActiveOnes) {
    // chq A, rhq A, chq B, chq C with two players: B and C remain, in that order.
    Converted c = convert(record({chq("A", "A0", "louka"), rhq("A", "A0"), chq("B", "B0", "les"),
                                  chq("C", "C0", "louka"), buy(kTime)}));
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.kxr,
              concat(kHeaderKxr, {"2005-07-03-15-05-10; create_hq; B; les; B0;",
                                  "2005-07-03-15-05-10; create_hq; C; louka; C0;", buyLine()}));
    EXPECT_EQ(c.hq, (Lines{"B=B0", "C=C0"}));
    EXPECT_EQ(c.hqc, (Lines{"B=2005-07-03-15-05-10", "C=2005-07-03-15-05-10"}));

    // chq A, chq B, rhq A: the count reaches 2 before the rhq line, so A stays; the events
    // begin after the rhq line.
    c = convert(
        record({chq("A", "A0", "les"), chq("B", "B0", "louka"), rhq("A", "A0"), buy(kTime)}));
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.kxr,
              concat(kHeaderKxr, {"2005-07-03-15-05-10; create_hq; A; les; A0;",
                                  "2005-07-03-15-05-10; create_hq; B; louka; B0;", buyLine()}));

    // A removal also finds the line of a les HQ; one without a created HQ deletes nothing but
    // still lowers the count.
    c = convert(
        record({chq("A", "A0", "les"), rhq("A", "A0"), rhq("X", "A0"), chq("B", "B0", "louka"),
                chq("C", "C0", "les"), chq("D", "D0", "les"), buy(kTime)}));
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.kxr,
              concat(kHeaderKxr, {"2005-07-03-15-05-10; create_hq; B; louka; B0;",
                                  "2005-07-03-15-05-10; create_hq; C; les; C0;",
                                  "2005-07-03-15-05-10; create_hq; D; les; D0;", buyLine()}));
    EXPECT_EQ(c.hq, (Lines{"B=B0", "C=C0", "D=D0"}));
}

TEST(XmlConverter, TakesBackTheHqOfTheNamedPlayerOnly) {
    // "a=b=..." starts with "a=", yet it is not the entry of player a.
    const Converted c =
        convert(record({chq("a=b", "B0", "les"), chq("a", "A0", "les", 1110200000), rhq("a", "A0"),
                        chq("c", "C0", "les"), chq("d", "D0", "les"), buy(kTime)},
                       world("1110200709", "3")));
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.hq, (Lines{"a=b=B0", "c=C0", "d=D0"}));
    EXPECT_EQ(c.hqc,
              (Lines{"a=b=2005-07-03-15-05-10", "c=2005-07-03-15-05-10", "d=2005-07-03-15-05-10"}));
    EXPECT_EQ(c.kxr[3], "2005-07-03-15-05-10; create_hq; a=b; les; B0;");
    EXPECT_EQ(c.kxr[4], "2005-07-03-15-05-10; create_hq; c; les; C0;");
}

TEST(XmlConverter, CopiesChildTextAsItStands) {
    // A short empty child has no closing tag: it and all later children take the whole rest.
    Converted c = convert(record(
        concat(kTwoHqs, {"<buy><t>" + kTime + "</t><c/><k>x</k><n>10</n></buy>",
                         "<buy><t>" + kTime + "</t><c> A;1 &amp; </c><k>x</k><n>10</n></buy>"})));
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.kxr[5], "2005-07-03-15-06-00; buy; <c/><k>x</k><n>10</n>; "
                        "<c/><k>x</k><n>10</n>; <c/><k>x</k><n>10</n>;");
    // No trimming, no entity decoding; a semicolon makes an extra field.
    EXPECT_EQ(c.kxr[6], "2005-07-03-15-06-00; buy;  A;1 &amp; ; x; 10;");

    // An element spread over several lines cannot be read: its time is the whole line.
    c = convert(record(concat(kTwoHqs, {"<buy>", "<t>" + kTime + "</t>", "<c>A0</c>", "<k>x</k>",
                                        "<n>1</n>", "</buy>"})));
    EXPECT_FALSE(c.ok);
}

TEST(XmlConverter, FindsTagsByTheFirstBrackets) {
    const Converted c = convert(
        {kDecl, "<record>", kWorld, "<events>", chq("Pepa", "A0", "les"),
         chq("Jana", "C1", "louka"),
         "text before <buy><t>" + kTime + "</t><c>A0</c><k>kom\xe1r</k><n>10</n></buy> after",
         "x>" + buy(kTime),             // the first '>' stands before the first '<': an empty tag
         "<buy a=\"1\"><t>1</t></buy>", // the tag 'buy a="1"' is no event: passed over
         "/events", // no brackets: the whole line is the tag, which ends the events
         "<buy>broken"});
    ASSERT_TRUE(c.ok) << c.error.toStdString();
    EXPECT_EQ(c.kxr, concat(concat(kHeaderKxr, kTwoHqsKxr), {buyLine()}));
}

TEST(XmlConverter, FailsOnNumbersThatAreNotDecimalIntegers) {
    EXPECT_FALSE(convert(record(kTwoHqs, world("1110200709x", "2"))).ok);
    EXPECT_FALSE(convert(record(kTwoHqs, world("1110200709", "two"))).ok);
    EXPECT_FALSE(convert(record(kTwoHqs, world("1110200709", "-1"))).ok);
    EXPECT_FALSE(convert(record(kTwoHqs, world("1110200709", "2147483648"))).ok);
    EXPECT_FALSE(convert(record({chq("A", "A0", "les"), "<chq><t>1e3</t></chq>"})).ok);
    EXPECT_FALSE(convert(record(concat(kTwoHqs, {buy(" 1110200760")}))).ok);
    EXPECT_FALSE(convert(record(concat(kTwoHqs, {buy("")}))).ok);

    // No players: no HQ line is read, and the events begin after the HQ block all the same.
    const Converted none = convert(record({chq("A", "A0", "les"), buy(kTime)}, world(kTime, "0")));
    ASSERT_TRUE(none.ok);
    EXPECT_EQ(none.kxr.size(), 4u);
    EXPECT_EQ(none.kxr[3], buyLine());
    EXPECT_TRUE(none.hq.empty());
}

TEST(XmlConverter, FailsInsteadOfReadingPastTheLastLine) {
    EXPECT_FALSE(convert({}).ok);
    EXPECT_FALSE(convert({kDecl, "<record>", kWorld}).ok);
    // Fewer active HQs than players: the HQ reading runs through the events to the end.
    EXPECT_FALSE(convert(record({chq("A", "A0", "les"), buy(kTime)})).ok);
    EXPECT_FALSE(
        convert(record({chq("A", "A0", "les"), rhq("A", "A0"), chq("B", "B0", "les"), buy(kTime)}))
            .ok);
    // No closing events line; or nothing but HQ lines after the opening ones.
    Lines unclosed = record(concat(kTwoHqs, {buy(kTime)}));
    unclosed.resize(unclosed.size() - 2);
    EXPECT_FALSE(convert(unclosed).ok);
    EXPECT_FALSE(convert({kDecl, "<record>", kWorld, "<events>", kTwoHqs[0], kTwoHqs[1]}).ok);
}

TEST(XmlConverter, FailsOnEmptyOrBlankLinesThatAreRead) {
    const Lines good = record(concat(kTwoHqs, {buy(kTime), buy(kTime)}));
    ASSERT_TRUE(convert(good).ok);
    for (size_t at = 0; at + 1 < good.size(); ++at) {
        for (const QByteArray& blank : {QByteArray(), QByteArray("   ")}) {
            Lines lines = good;
            lines.insert(lines.begin() + qsizetype(at), blank);
            const Converted c = convert(lines);
            EXPECT_FALSE(c.ok) << at;
        }
    }
    // After the closing events line nothing is read, so empty lines there do no harm.
    Lines tail = good;
    tail.insert(tail.end() - 1, {"", "  "});
    EXPECT_TRUE(convert(tail).ok);
}

TEST(XmlConverter, WritesTimeTextsLikeTheTimeStampHelper) {
    // Neighbouring days, both sides of 1970 and the ends of the 32-bit range.
    const std::vector<int32_t> times = {
        1110200709, 1110200710, 1110236399, 1110236400, 1110240000, 1110322799,   0, -1, -7200,
        -7201,      79199,      79200,      INT32_MAX,  INT32_MIN,  INT32_MIN + 1};
    Lines body = kTwoHqs;
    for (int32_t t : times)
        body.push_back(buy(QByteArray::number(t)));
    const Converted c = convert(record(body));
    ASSERT_TRUE(c.ok);
    ASSERT_EQ(c.kxr.size(), 5 + times.size());
    for (size_t i = 0; i < times.size(); ++i)
        EXPECT_EQ(c.kxr[5 + i].left(19), timeTextFromUnix(times[i])) << times[i];
}

TEST(XmlConverter, ReportsProgressFromZeroToFifty) {
    Lines body = kTwoHqs;
    for (int i = 0; i < 20000; ++i)
        body.push_back(buy(kTime));
    XmlConverter converter;
    converter.loadLog(joined(record(body)));

    ASSERT_TRUE(converter.convertXmlRecord()); // without a receiver
    std::vector<int> values;
    int keepAlive = 0;
    converter.setProgress({[&](int v) { values.push_back(v); }, [&] { ++keepAlive; }});
    ASSERT_TRUE(converter.convertXmlRecord());
    ASSERT_FALSE(values.empty());
    EXPECT_EQ(values.front(), 0);
    EXPECT_EQ(values.back(), 49);
    for (size_t i = 1; i < values.size(); ++i)
        EXPECT_EQ(values[i], values[i - 1] + 1);
    EXPECT_GE(keepAlive, 5);
    EXPECT_EQ(converter.kxr().size(), 3 + 2 + 20000);
}

TEST(XmlConverter, StartsEachConversionAfresh) {
    XmlConverter converter;
    converter.loadLog(joined(record(concat(kTwoHqs, {buy(kTime)}))));
    ASSERT_TRUE(converter.convertXmlRecord());
    converter.loadLog(joined(record({chq("A", "A0", "les")})));
    EXPECT_FALSE(converter.convertXmlRecord());
    EXPECT_FALSE(converter.lastError().isEmpty());
    EXPECT_EQ(toLines(converter.hq()), (Lines{"A=A0"}));
    EXPECT_EQ(converter.kxr().size(), 4);
}
