// A hostile HQ block of many HQs and removals converts in linear time, with the same result
// as a short one.

#include "records/xml_converter.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace kx;

namespace {

QByteArray xmlRecord(const QByteArray& players, const QList<QByteArray>& block) {
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<record>\r\n"
                     "<world><id>1</id><name>L</name><created>1120392000</created><width>4"
                     "</width><height>3</height><players>" +
                     players +
                     "</players><speed>4</speed><map>NNBSNNNNSBNN</map></world>\r\n"
                     "<events>\r\n";
    for (const QByteArray& line : block)
        xml += line + "\r\n";
    return xml + "</events>\r\n";
}

QByteArray chq(const QByteArray& name) {
    return "<chq><time>1120392060</time><player>" + name +
           "</player><cell>A0</cell><team>louka</team></chq>";
}

QByteArray rhq(const QByteArray& name) {
    return "<rhq><time>1</time><player>" + name + "</player><cell>A0</cell></rhq>";
}

} // namespace

TEST(LongHqBlock, ManyRemovalsOfUnknownPlayersStayLinear) {
    // Each removal names nobody: nothing is taken back, and the count of active HQs never
    // reaches the two players until the last two lines.
    constexpr int kPairs = 50000;
    QList<QByteArray> block;
    for (int i = 0; i < kPairs; ++i)
        block << chq("P" + QByteArray::number(i)) << rhq("X");
    block << chq("Q") << chq("R");
    XmlConverter converter;
    converter.loadLog(xmlRecord("2", block));
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(converter.convertXmlRecord()) << converter.lastError().toStdString();
    // A search of every line per removal took minutes here.
    EXPECT_LT(timer.elapsed(), 20000);
    ASSERT_EQ(converter.kxr().size(), 3 + kPairs + 2);
    EXPECT_EQ(converter.kxr().at(3), "2005-03-07-14-01-00; create_hq; P0; louka; A0;");
    EXPECT_EQ(converter.kxr().at(3 + kPairs + 1), "2005-03-07-14-01-00; create_hq; R; louka; A0;");
    EXPECT_EQ(converter.hq().size(), kPairs + 2);
    EXPECT_EQ(converter.hqc().size(), kPairs + 2);
}

TEST(LongHqBlock, RemovalsTakeBackTheFirstMatchingHqInOrder) {
    // Every player's HQ created twice, a minute apart, then taken back once: the removal finds
    // the first creation's time and takes back that line, so the later copies stay. The block
    // ends as soon as as many HQs are active as there are players: after both lines of the
    // last but one player, before its removal.
    constexpr int kPlayers = 30000;
    QList<QByteArray> block;
    for (int i = 0; i < kPlayers; ++i) {
        const QByteArray name = "P" + QByteArray::number(i);
        block << chq(name) << chq(name).replace("1120392060", "1120392120") << rhq(name);
    }
    XmlConverter converter;
    converter.loadLog(xmlRecord(QByteArray::number(kPlayers), block));
    ASSERT_TRUE(converter.convertXmlRecord()) << converter.lastError().toStdString();
    ASSERT_EQ(converter.kxr().size(), 3 + kPlayers);
    EXPECT_EQ(converter.kxr().at(3), "2005-03-07-14-02-00; create_hq; P0; louka; A0;");
    EXPECT_EQ(converter.kxr().at(1 + kPlayers),
              "2005-03-07-14-01-00; create_hq; P29998; louka; A0;");
    EXPECT_EQ(converter.kxr().at(2 + kPlayers),
              "2005-03-07-14-02-00; create_hq; P29998; louka; A0;");
    ASSERT_EQ(converter.hq().size(), kPlayers);
    EXPECT_EQ(converter.hq().at(1), "P1=A0");
    ASSERT_EQ(converter.hqc().size(), kPlayers);
    EXPECT_EQ(converter.hqc().at(1), "P1=2005-03-07-14-02-00");
}
