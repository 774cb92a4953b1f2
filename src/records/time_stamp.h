#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>

namespace kx {

// Time stamps "yyyy-dd-mm-hh-mm-ss" (day before month), two hours ahead of UTC. Their
// seconds value counts 365-day years from 1970 with the two hours removed; it serves only
// for day and hour numbers.

// Days from the start of a year to the end of month m (no leap years); 0 outside 1 to 12.
int32_t monthEnd(int32_t month);

// nullopt when a field is not a decimal integer (the caller shows "Chyba formátu času").
std::optional<int32_t> timeSeconds(QByteArrayView text);

uint16_t dayNumber(int32_t seconds);
uint16_t hourNumber(int32_t seconds);

// Hourly recounts between two events; 0, positive or negative.
int32_t recountsBetween(int32_t previous, int32_t current);

// Caption of the time label for a time text: "07. 03. - 14:05:09".
QString eventTimeLabel(QByteArrayView text);

// Time text of Unix seconds with the fixed two-hour offset, as the XML conversion writes it.
QByteArray timeTextFromUnix(int32_t unixSeconds);

inline const char* const kTimeFormatError = "Chyba formátu času";

} // namespace kx
