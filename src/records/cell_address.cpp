#include "cell_address.h"

#include "numbers.h"
#include "text_case.h"
#include "windows1250.h"

#include <QByteArray>

namespace kx {

int addressColumn(QByteArrayView address) {
    if (address.isEmpty())
        return -1;
    const auto upper = static_cast<int8_t>(upperWindows1250(uint8_t(address[0])));
    return upper - 'A';
}

int addressRow(QByteArrayView address, bool* unreadable) {
    qsizetype length = address.size();
    while (length > 0 && address[length - 1] == ' ')
        --length;
    // The 'O' read as a zero is looked at before trimming, so "AO " still reads row 0.
    const bool secondIsLetterO = address.size() >= 2 && address[1] == 'O';
    if (length < 2)
        return 0;
    std::optional<int32_t> row;
    if (secondIsLetterO) {
        QByteArray copy = address.first(length).toByteArray();
        copy[1] = '0';
        row = parseDecimalInt(QByteArrayView(copy).sliced(1));
    } else {
        row = parseDecimalInt(address.sliced(1, length - 1));
    }
    if (!row) {
        if (unreadable)
            *unreadable = true;
        return 0;
    }
    return *row;
}

namespace {
// Past '~' the byte 'A' + x is a control code, a character records cannot address, or none.
constexpr int kLetterColumns = '~' - 'A' + 1;
} // namespace

QString columnName(int x) {
    if (x >= 0 && x < kLetterColumns)
        return QString(QChar(u'A' + x));
    return QString::number(x);
}

QString cellAddressText(int x, int y) {
    const bool numbered = x < 0 || x >= kLetterColumns;
    return columnName(x) + (numbered ? QStringLiteral(":") : QString()) + QString::number(y);
}

std::optional<std::pair<int, int>> cellOfAddressText(QStringView text) {
    const qsizetype colon = text.indexOf(u':');
    if (colon >= 0) {
        const auto x = parseDecimalInt(text.first(colon));
        const auto y = parseDecimalInt(text.sliced(colon + 1));
        if (!x || !y)
            return std::nullopt;
        return std::pair{int{*x}, int{*y}};
    }
    if (text.size() < 2 || text[0] < u'A' || text[0] > u'~')
        return std::nullopt;
    const auto y = parseDecimalInt(text.sliced(1));
    if (!y)
        return std::nullopt;
    return std::pair{text[0].unicode() - 'A', int{*y}};
}

} // namespace kx
