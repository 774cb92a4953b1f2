#include "text_case.h"

#include "windows1250.h"

#include <array>

namespace kx {

namespace {

struct CaseTables {
    std::array<uint8_t, 256> upper{};
    std::array<uint8_t, 256> lower{};
};

const CaseTables& caseTables() {
    static const CaseTables tables = [] {
        CaseTables t;
        for (int i = 0; i < 256; ++i) {
            const char byte = static_cast<char>(i);
            const QString text = decodeWindows1250(QByteArrayView(&byte, 1));
            const auto upper = encodeWindows1250(text.toUpper());
            const auto lower = encodeWindows1250(text.toLower());
            t.upper[i] = upper && upper->size() == 1 ? uint8_t((*upper)[0]) : uint8_t(i);
            t.lower[i] = lower && lower->size() == 1 ? uint8_t((*lower)[0]) : uint8_t(i);
        }
        return t;
    }();
    return tables;
}

} // namespace

uint8_t upperWindows1250(uint8_t byte) {
    return caseTables().upper[byte];
}
uint8_t lowerWindows1250(uint8_t byte) {
    return caseTables().lower[byte];
}

QByteArray lowerWindows1250(QByteArrayView bytes) {
    const auto& lower = caseTables().lower;
    QByteArray result(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        result[i] = static_cast<char>(lower[uint8_t(bytes[i])]);
    return result;
}

QByteArray asciiLower(QByteArrayView bytes) {
    QByteArray result = bytes.toByteArray();
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return result;
}

} // namespace kx
