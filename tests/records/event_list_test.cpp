#include "records/event_list.h"

#include <gtest/gtest.h>

using namespace kx;

namespace {
std::vector<QByteArray> subItems(const EventItem& item) {
    std::vector<QByteArray> out;
    for (int k = 0; k < item.subItemCount; ++k)
        out.push_back(item.subItem(k).toByteArray());
    return out;
}
using Bytes = std::vector<QByteArray>;
} // namespace

TEST(SplitEventLine, BuildsCaptionAndSubItemsFromFields) {
    const EventItem buy = splitFields("2005-07-03-14-05-09; buy; C5; komár; 10;");
    EXPECT_EQ(buy.caption, "buy");
    EXPECT_EQ(subItems(buy), (Bytes{"2005-07-03-14-05-09", "C5", "komár", "10"}));
    EXPECT_EQ(buy.subItem(7), "");

    const EventItem header = splitFields("2005-07-03-14-05-09; Les u potoka; 4; 20; 20; 4;");
    EXPECT_EQ(header.caption, "Les u potoka");
    EXPECT_EQ(header.subItemCount, 5);
}

TEST(SplitEventLine, KeepsTheSplittersQuirks) {
    // An empty field ends the sub-items.
    EXPECT_EQ(subItems(splitFields("2005-07-03-14-05-09; buy; C5; ; 10;")),
              (Bytes{"2005-07-03-14-05-09", "C5"}));
    // A line that does not end with a semicolon loses its last field.
    EXPECT_EQ(subItems(splitFields("2005-07-03-14-05-09; retreat; C5; 4")),
              (Bytes{"2005-07-03-14-05-09", "C5"}));
    // The character after a semicolon is skipped whatever it is.
    const EventItem skipped = splitFields("x;yz;");
    EXPECT_EQ(skipped.caption, "z");
    EXPECT_EQ(subItems(skipped), (Bytes{"x"}));
    // No semicolon: empty caption, no sub-items.
    const EventItem none = splitFields("just text");
    EXPECT_TRUE(none.caption.isEmpty());
    EXPECT_EQ(none.subItemCount, 0);
    // An empty time stamp leaves the item without sub-items.
    EXPECT_EQ(splitFields("; buy; C5;").subItemCount, 0);
}

TEST(SplitEventLine, UsesOnlyTheFirstTenFields) {
    const EventItem item = splitFields("t; k; 1; 2; 3; 4; 5; 6; 7; 8; 9; 10; 11;");
    EXPECT_EQ(item.caption, "k");
    EXPECT_EQ(subItems(item), (Bytes{"t", "1", "2", "3", "4", "5", "6", "7", "8"}));
}

TEST(EventList, SkipsEmptyLinesAndSharesTheText) {
    const LineList lines = LineList::fromText("a; x;\n\nb; y;\r\nc; z;");
    EventList list;
    for (qsizetype i = 0; i < lines.size(); ++i)
        list.appendFrom(lines, i);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.item(1).caption, "y");
    EXPECT_EQ(list.item(2).subItem(0), "c");

    EXPECT_TRUE(splitEventLine("", list));
    EXPECT_EQ(list.size(), 3);
    EXPECT_TRUE(splitEventLine("d; w;", list));
    EXPECT_EQ(list.item(3).caption, "w");
}

TEST(EventList, FromLinesSkipsEmptyLinesWhereverTheyStand) {
    // Empty lines first, between, last, side by side, and more than the few mapped by index.
    for (const QByteArray& text :
         {QByteArray("a\nb\n\nc"), QByteArray("\n\na\nb"), QByteArray("a\nb\n\n"),
          QByteArray("\n\n\n\n\n\n\n\n\na\n\nb\nc\n\n"), QByteArray("a\nb"), QByteArray("\n\n")}) {
        const LineList lines = LineList::fromText(text);
        QList<QByteArray> expected;
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (!lines.at(i).isEmpty())
                expected.append(lines.at(i).toByteArray());
        const EventList events = EventList::fromLines(lines);
        QList<QByteArray> got;
        for (qsizetype i = 0; i < events.size(); ++i)
            got.append(events.line(i).toByteArray());
        EXPECT_EQ(got, expected) << text.toStdString();
    }
}
