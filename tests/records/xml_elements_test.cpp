#include "records/xml_elements.h"

#include <QByteArray>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <array>

using namespace kx;

// The one-pass reading of the usual event line gives what the general reading gives, on
// usual lines and on lines near them: names, brackets and slashes out of place, a child named
// as the element, children missing or extra, contents with brackets.
TEST(XmlElements, TheUsualLineIsReadAsTheGeneralReadingReadsIt) {
    const QByteArray pieces[] = {"<",     ">",      "/",   "</",   "<t>",  "</t>", "7",    "buy",
                                 "<buy>", "</buy>", "<c>", "</c>", "<>",   "</>",  "<x/>", "a>b",
                                 "<//t>", "</buy",  "<t",  " ",    "<bu>", "</bu>"};
    QRandomGenerator random(3);
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        // A usual line of up to five children, then a few pieces put in, replaced or cut.
        const int children = random.bounded(0, 6);
        QByteArray line = "<buy>";
        for (int k = 0; k < children; ++k) {
            const QByteArray name = QByteArray(1, "tcknb"[random.bounded(5)]);
            line += "<" + name + ">" + QByteArray::number(random.bounded(100)) + "</" + name + ">";
        }
        line += "</buy>";
        for (int d = random.bounded(0, 3); d > 0; --d) {
            const qsizetype at = random.bounded(qsizetype(0), line.size() + 1);
            const QByteArray& piece = pieces[random.bounded(int(std::size(pieces)))];
            switch (random.bounded(3)) {
            case 0:
                line.insert(at, piece);
                break;
            case 1:
                line.replace(at, piece.size(), piece);
                break;
            default:
                line.truncate(at);
            }
        }
        const QByteArrayView tag = tagName(line);
        for (int count = 1; count <= 5; ++count) {
            std::array<QByteArrayView, 5> usual;
            if (!readUsualChildren(line, tag, usual.data(), count))
                continue;
            ++accepted;
            std::array<QByteArrayView, 5> general;
            readChildren(line, general.data(), count);
            for (int k = 0; k < count; ++k)
                ASSERT_EQ(usual[size_t(k)], general[size_t(k)])
                    << line.toStdString() << " child " << k << " of " << count;
        }
    }
    EXPECT_GT(accepted, 10000);
}
