#include "records/line_list.h"
#include "records/streamed_lines.h"
#include "records/text_case.h"
#include "records/unit_kinds.h"
#include "records/windows1250.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QStringList>

#include <algorithm>
#include <cstring>

using namespace kx;

namespace {
QByteArray cp1250(const char* utf8) {
    return *encodeWindows1250(QString::fromUtf8(utf8));
}
} // namespace

TEST(Windows1250, RoundTripsCzechAndRefusesWhatItCannotHold) {
    const QString czech = QString::fromUtf8("Příliš žluťoučký kůň úpěl ďábelské ódy");
    const auto bytes = encodeWindows1250(czech);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), czech.size());
    EXPECT_EQ(decodeWindows1250(*bytes), czech);
    EXPECT_EQ(uint8_t(cp1250("š")[0]), 0x9A);

    const QString chinese = QString::fromUtf8("Mapa 中");
    EXPECT_FALSE(encodeWindows1250(chinese));
    EXPECT_EQ(firstUnencodableWindows1250(chinese), 5);
    EXPECT_EQ(firstUnencodableWindows1250(czech), -1);
}

TEST(LineList, SplitsAtEveryKindOfLineEnd) {
    const LineList lines = LineList::fromText(QByteArray("a\r\nb\nc\rd\r\n\r\ne"));
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines.at(0), "a");
    EXPECT_EQ(lines.at(1), "b");
    EXPECT_EQ(lines.at(2), "c");
    EXPECT_EQ(lines.at(3), "d");
    EXPECT_EQ(lines.at(4), "");
    EXPECT_EQ(lines.at(5), "e");
    EXPECT_EQ(LineList::fromText(QByteArray("x\r\n")).size(), 1);
    EXPECT_EQ(LineList::fromText(QByteArray()).size(), 0);
    EXPECT_EQ(LineList::fromText(QByteArray("\n\n")).size(), 2);
    const LineList oldMac = LineList::fromText(QByteArray("a\rb\r\rc\nd\r"));
    ASSERT_EQ(oldMac.size(), 5);
    EXPECT_EQ(oldMac.at(2), "");
    EXPECT_EQ(oldMac.at(3), "c");
    EXPECT_EQ(oldMac.at(4), "d");
    const LineList crBeforeCrLf = LineList::fromText(QByteArray("a\r\r\nb"));
    ASSERT_EQ(crBeforeCrLf.size(), 3);
    EXPECT_EQ(crBeforeCrLf.at(1), "");
    EXPECT_EQ(crBeforeCrLf.at(2), "b");
}

namespace {
QStringList linesOf(const LineList& list) {
    QStringList lines;
    for (qsizetype i = 0; i < list.size(); ++i)
        lines << QString::fromLatin1(list.at(i));
    return lines;
}
} // namespace

TEST(LineList, TextSplitAsItArrivesGivesTheLinesOfTheWholeText) {
    // Every cut, one of them between the CR and the LF of a CR LF, and long runs without a
    // line end that are skipped eight bytes at a time.
    const QByteArray text("a\r\nbb\ncccccccccccccccccc\rd\r\r\n\n0123456789abcdefghij\t\x80\xff\r");
    const QStringList whole = linesOf(LineList::fromText(text));
    ASSERT_EQ(whole.size(), 7);
    for (qsizetype first = 0; first <= text.size(); ++first) {
        for (qsizetype second = first; second <= text.size(); second += 3) {
            LineSplitter splitter;
            splitter.advance(QByteArrayView(text).first(first), false);
            splitter.advance(QByteArrayView(text).first(second), false);
            splitter.advance(text, true);
            ASSERT_EQ(linesOf(splitter.take(text)), whole) << first << " " << second;
        }
    }
}

TEST(StreamedLines, PiecesOfAnySizeGiveTheLinesOfTheWholeTextInASmallWindow) {
    // Random texts of short lines (CR, LF and CR LF, a CR LF often cut between pieces), read
    // in pieces of random sizes, with lines released as they are read.
    QRandomGenerator random(5);
    for (int round = 0; round < 200; ++round) {
        QByteArray text;
        const int size = round < 190 ? random.bounded(0, 400) : 2000000;
        const char* const alphabet = "ab \r\n";
        for (int i = 0; i < size; ++i) {
            if (size < 1000)
                text += alphabet[random.bounded(5)];
            else
                text += i % 40 == 39 ? alphabet[random.bounded(3, 5)] : 'a';
        }
        const LineList whole = LineList::fromText(text);
        const qsizetype piece = round < 190 ? random.bounded(1, 9) : qsizetype{1} << 16;
        qsizetype offset = 0;
        StreamedLines streamed(
            [&](char* into, qint64 room) {
                const qint64 got =
                    std::min<qint64>(random.bounded(1, int(room) + 1), text.size() - offset);
                std::memcpy(into, text.constData() + offset, size_t(got));
                offset += got;
                return got;
            },
            piece);
        qsizetype held = 0;
        for (qsizetype i = 0; i < whole.size(); ++i) {
            ASSERT_TRUE(streamed.has(i)) << round << " " << i;
            ASSERT_EQ(streamed.at(i), whole.at(i)) << round << " " << i;
            // Released now and then, not always at once.
            if (i % 7 != 3)
                streamed.release(i);
            held = std::max(held, streamed.heldBytes());
        }
        EXPECT_FALSE(streamed.has(whole.size()));
        EXPECT_EQ(streamed.size(), whole.size());
        EXPECT_EQ(streamed.bytesRead(), text.size());
        EXPECT_FALSE(streamed.failed());
        if (size > 1000000) {
            EXPECT_LT(held, 8 * piece) << "the window grew with the text";
        }
    }
}

TEST(StreamedLines, AReaderErrorEndsTheText) {
    int calls = 0;
    StreamedLines streamed([&](char* into, qint64) -> qint64 {
        if (++calls > 1)
            return -1;
        std::memcpy(into, "a\nb", 3);
        return 3;
    });
    ASSERT_TRUE(streamed.has(0));
    EXPECT_EQ(streamed.at(0), "a");
    EXPECT_TRUE(streamed.has(1)); // the last line, ended by the error
    EXPECT_FALSE(streamed.has(2));
    EXPECT_TRUE(streamed.failed());
}

TEST(LineList, AppendedLinesFillTheRoomAndCopiesKeepTheirOwn) {
    LineList list;
    list.reserve(2, 8);
    for (int i = 0; i < 50; ++i)
        list.append(QByteArray::number(i * 7));
    const LineList copy = list;
    list.append("last");
    list.append("");
    ASSERT_EQ(list.size(), 52);
    EXPECT_EQ(list.at(49), "343");
    EXPECT_EQ(list.at(50), "last");
    EXPECT_EQ(list.at(51), "");
    ASSERT_EQ(copy.size(), 50);
    EXPECT_EQ(copy.at(49), "343");
    LineList shared;
    shared.appendFrom(list, 50);
    EXPECT_TRUE(shared.buffer().isSharedWith(list.buffer()));
    shared.append("new");
    EXPECT_EQ(linesOf(shared), QStringList({"last", "new"}));
    EXPECT_EQ(list.at(51), "");
}

TEST(LineList, SharesItsBufferWithListsBuiltFromIt) {
    const LineList source = LineList::fromText(QByteArray("one\ntwo\n"));
    LineList copy;
    copy.appendFrom(source, 1);
    copy.appendFrom(source, 0);
    EXPECT_TRUE(copy.buffer().isSharedWith(source.buffer()));
    EXPECT_EQ(copy.at(0), "two");
    copy.append("three"); // detaches without touching the source
    EXPECT_EQ(copy.at(2), "three");
    EXPECT_EQ(source.at(1), "two");
}

TEST(TextCase, FollowsCzechLettersInWindows1250) {
    EXPECT_EQ(lowerWindows1250(QByteArrayView(cp1250("KOMÁR ŠVÁB Žluť"))),
              cp1250("komár šváb žluť"));
    EXPECT_EQ(upperWindows1250(uint8_t('c')), uint8_t('C'));
    EXPECT_EQ(asciiLower(QByteArrayView(cp1250("BUY Á"))), cp1250("buy Á"));
}

TEST(UnitKinds, NamesAndPricesOfTheSixKinds) {
    EXPECT_EQ(unitKindFromName(cp1250("komár")), 1);
    EXPECT_EQ(unitKindFromName(cp1250("KOMÁR")), 1);
    EXPECT_EQ(unitKindFromName(cp1250("Komár")), 1);
    EXPECT_EQ(unitKindFromName(cp1250("HOVADO")), 2);
    EXPECT_EQ(unitKindFromName(cp1250("šváb")), 3);
    EXPECT_EQ(unitKindFromName(cp1250("beruška")), 4);
    EXPECT_EQ(unitKindFromName(cp1250("chrobák")), 5);
    EXPECT_EQ(unitKindFromName(cp1250("Vosička")), 6);
    EXPECT_EQ(unitKindFromName(cp1250("komar")), 0);
    EXPECT_EQ(unitKindFromName(cp1250(" komár")), 0);
    EXPECT_EQ(unitKindFromName(QByteArrayView()), 0);

    const int prices[] = {0, 2, 10, 17, 8, 10, 12, 0};
    for (int kind = 0; kind <= 7; ++kind)
        EXPECT_EQ(unitPrice(kind), prices[kind]) << kind;
    EXPECT_EQ(unitValue(3, 1), 15);
    EXPECT_EQ(unitValue(3, 2), 0);
    EXPECT_EQ(unitName(4), QString::fromUtf8("Beruška"));
    EXPECT_TRUE(unitName(0).isEmpty());
}
