#pragma once

#include <QByteArrayView>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace kx {

// The one rule for "a decimal integer" in the whole program: an optional sign ('+' or '-')
// followed by one or more ASCII digits, with a value that fits in 32 signed bits.
std::optional<int32_t> parseDecimalInt(QByteArrayView text);
std::optional<int32_t> parseDecimalInt(QStringView text);

// The game's arithmetic is 32-bit signed with wrap-around. These helpers compute in 64 bits
// and narrow (modulo 2^32 since C++20), so no record can cause signed overflow.
inline int32_t wrap(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}
inline int32_t wrapAdd(int32_t a, int32_t b) {
    return wrap(int64_t{a} + b);
}
inline int32_t wrapSub(int32_t a, int32_t b) {
    return wrap(int64_t{a} - b);
}
inline int32_t wrapMul(int32_t a, int32_t b) {
    return wrap(int64_t{a} * b);
}

// Truncating division and remainder with the dividend's sign, defined for every input:
// a zero divisor gives 0, and INT32_MIN / -1 wraps to INT32_MIN.
inline int32_t wrapDiv(int32_t a, int32_t b) {
    return b == 0 ? 0 : wrap(int64_t{a} / b);
}
inline int32_t wrapMod(int32_t a, int32_t b) {
    return b == 0 ? 0 : wrap(int64_t{a} % b);
}

} // namespace kx
