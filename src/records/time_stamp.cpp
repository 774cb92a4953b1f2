#include "time_stamp.h"

#include "numbers.h"
#include "windows1250.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cstdio>

namespace kx {

namespace {

constexpr int32_t kYearSeconds = 31536000;
constexpr int32_t kDaySeconds = 86400;

// Characters from 1-based position `from`, at most `count`, clipped to the text.
QByteArrayView copyOf(QByteArrayView text, qsizetype from, qsizetype count) {
    const qsizetype start = from - 1;
    if (start >= text.size())
        return {};
    return text.sliced(start, std::min(count, text.size() - start));
}

struct StampFields {
    int32_t year, month, day, hour, minute, second;
};

int32_t composeSeconds(const StampFields& f) {
    int32_t s = wrapMul(wrapSub(f.year, 1970), kYearSeconds);
    s = wrapAdd(s, wrapMul(monthEnd(wrapSub(f.month, 1)), kDaySeconds));
    s = wrapAdd(s, wrapMul(wrapSub(f.day, 1), kDaySeconds));
    s = wrapAdd(s, wrapMul(wrapSub(f.hour, 2), 3600));
    s = wrapAdd(s, wrapMul(f.minute, 60));
    return wrapAdd(s, f.second);
}

// Days from 1970-01-01 to the first of the month on the proleptic Gregorian calendar
// (the civil-from-days inverse over 400-year eras).
int64_t daysToMonth(int64_t year, int32_t month) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::optional<StampFields> readFields(QByteArrayView text) {
    // The usual text of plain digits is read directly; anything else by the general rule.
    auto digit = [&](qsizetype i) { return text[i] >= '0' && text[i] <= '9'; };
    if (text.size() >= 19 && digit(0) && digit(1) && digit(2) && digit(3) && digit(5) && digit(6) &&
        digit(8) && digit(9) && digit(11) && digit(12) && digit(14) && digit(15) && digit(17) &&
        digit(18)) {
        auto number = [&](qsizetype i, int count) {
            int32_t value = 0;
            for (int k = 0; k < count; ++k)
                value = value * 10 + (text[i + k] - '0');
            return value;
        };
        return StampFields{number(0, 4),  number(8, 2),  number(5, 2),
                           number(11, 2), number(14, 2), number(17, 2)};
    }
    const auto year = parseDecimalInt(copyOf(text, 1, 4));
    const auto day = parseDecimalInt(copyOf(text, 6, 2));
    const auto month = parseDecimalInt(copyOf(text, 9, 2));
    const auto hour = parseDecimalInt(copyOf(text, 12, 2));
    const auto minute = parseDecimalInt(copyOf(text, 15, 2));
    const auto second = parseDecimalInt(copyOf(text, 18, 2));
    if (!year || !day || !month || !hour || !minute || !second)
        return std::nullopt;
    return StampFields{*year, *month, *day, *hour, *minute, *second};
}

// Day numbers by the 0-based day of the 365-day year, before the hour rule.
const std::array<uint16_t, 365>& dayNumbers() {
    static const std::array<uint16_t, 365> table = [] {
        std::array<uint16_t, 365> t{};
        for (int32_t d = 0; d < 365; ++d) {
            int32_t m = 1;
            while (monthEnd(m) < d)
                ++m;
            t[static_cast<size_t>(d)] = static_cast<uint16_t>(d - monthEnd(m - 1) + 1);
        }
        return t;
    }();
    return table;
}

} // namespace

int32_t monthEnd(int32_t month) {
    static constexpr int32_t kEnds[12] = {31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};
    return month >= 1 && month <= 12 ? kEnds[month - 1] : 0;
}

std::optional<int32_t> timeSeconds(QByteArrayView text) {
    const auto fields = readFields(text);
    if (!fields)
        return std::nullopt;
    return composeSeconds(*fields);
}

std::optional<StampTime> readTimeStamp(QByteArrayView text) {
    const auto f = readFields(text);
    if (!f || f->month < 1 || f->month > 12 || f->day < 1 || f->day > 31)
        return std::nullopt;
    const int64_t days = daysToMonth(f->year, f->month) + f->day - 1;
    return StampTime{composeSeconds(*f), days * 24 + f->hour - 2};
}

uint16_t hourNumber(int32_t seconds) {
    const uint32_t h = (static_cast<uint32_t>(seconds) % kDaySeconds) / 3600;
    return static_cast<uint16_t>(h <= 21 ? h + 2 : h - 22);
}

uint16_t dayNumber(int32_t seconds) {
    const uint32_t d = (static_cast<uint32_t>(seconds) % kYearSeconds) / kDaySeconds;
    int32_t day = dayNumbers()[d];
    if (hourNumber(seconds) < 2)
        ++day;
    return static_cast<uint16_t>(day);
}

int32_t recountsBetween(int64_t previousHour, int64_t currentHour) {
    const int64_t hours = currentHour - previousHour;
    return hours > 0 ? static_cast<int32_t>(std::min<int64_t>(hours, INT32_MAX)) : 0;
}

QString eventTimeLabel(QByteArrayView text) {
    QByteArray label;
    label.reserve(24);
    label.append(copyOf(text, 6, 2)).append(". ").append(copyOf(text, 9, 2)).append(". - ");
    label.append(copyOf(text, 12, 2)).append(':').append(copyOf(text, 15, 2)).append(':');
    label.append(copyOf(text, 18, 2));
    return decodeWindows1250(label);
}

QByteArray timeTextFromUnix(int32_t unixSeconds) {
    using namespace std::chrono;
    const int64_t local = int64_t{unixSeconds} + 7200;
    const sys_seconds moment{seconds{local}};
    const sys_days day = floor<days>(moment);
    const year_month_day date{day};
    const hh_mm_ss<seconds> time{moment - day};
    char buffer[32];
    const int n =
        std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u-%02d-%02d-%02d", int(date.year()),
                      unsigned(date.day()), unsigned(date.month()), int(time.hours().count()),
                      int(time.minutes().count()), int(time.seconds().count()));
    return QByteArray(buffer, n);
}

} // namespace kx
