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

// What the replay reads from an event's time stamp: its seconds value and its hour on the
// real (proleptic Gregorian) calendar, counted from 1970-01-01 02:00 local so that both are 0
// at the same moment. A day past the end of its month runs on into the next month.
struct StampTime {
    int32_t seconds = 0;
    int64_t hour = 0;
};

// nullopt when a field is not a decimal integer, the month is outside 1 to 12 or the day
// outside 1 to 31 (the replay then keeps the previous event's time).
std::optional<StampTime> readTimeStamp(QByteArrayView text);

// Hourly recounts between two events' calendar hours: the whole hours crossed, 0 when the
// clock does not move forward.
int32_t recountsBetween(int64_t previousHour, int64_t currentHour);
// Seconds values cannot give the recounts (their years have no leap days).
int32_t recountsBetween(int32_t, int32_t) = delete;

// Caption of the time label for a time text: "07. 03. - 14:05:09".
QString eventTimeLabel(QByteArrayView text);

// Time text of Unix seconds with the fixed two-hour offset, as the XML conversion writes it.
QByteArray timeTextFromUnix(int32_t unixSeconds);

inline const char* const kTimeFormatError = "Chyba formátu času";

} // namespace kx
