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

QString cellAddressText(int x, int y) {
    // The column letter is the byte 'A' + x, as the game writes it.
    const char letter = static_cast<char>((int64_t{'A'} + x) & 0xFF);
    return decodeWindows1250(QByteArrayView(&letter, 1)) + QString::number(y);
}

} // namespace kx
