#include "numbers.h"

namespace kx {

namespace {

template <typename CharAt> std::optional<int32_t> parseDigits(qsizetype size, CharAt charAt) {
    if (size == 0)
        return std::nullopt;
    qsizetype pos = 0;
    bool negative = false;
    if (charAt(0) == '-' || charAt(0) == '+') {
        negative = charAt(0) == '-';
        pos = 1;
    }
    if (pos == size)
        return std::nullopt;
    int64_t value = 0;
    for (; pos < size; ++pos) {
        const char32_t c = charAt(pos);
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > int64_t{INT32_MAX} + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

} // namespace

std::optional<int32_t> parseDecimalInt(QByteArrayView text) {
    return parseDigits(text.size(),
                       [&](qsizetype i) { return static_cast<char32_t>(uint8_t(text[i])); });
}

std::optional<int32_t> parseDecimalInt(QStringView text) {
    return parseDigits(text.size(), [&](qsizetype i) { return char32_t{text[i].unicode()}; });
}

} // namespace kx
