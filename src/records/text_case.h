#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace kx {

// Letter case of single Windows-1250 bytes, as the user's (Czech) locale cases the characters
// they stand for; a byte whose cased form has no single byte stays as it is.
uint8_t upperWindows1250(uint8_t byte);
uint8_t lowerWindows1250(uint8_t byte);

QByteArray lowerWindows1250(QByteArrayView bytes);

// Turns only the ASCII letters A to Z into a to z.
QByteArray asciiLower(QByteArrayView bytes);

} // namespace kx
