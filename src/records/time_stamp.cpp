#include "time_stamp.h"

#include "numbers.h"
#include "windows1250.h"

#include <chrono>
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

} // namespace

int32_t monthEnd(int32_t month) {
    static constexpr int32_t kEnds[12] = {31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};
    return month >= 1 && month <= 12 ? kEnds[month - 1] : 0;
}

std::optional<int32_t> timeSeconds(QByteArrayView text) {
    const auto year = parseDecimalInt(copyOf(text, 1, 4));
    const auto day = parseDecimalInt(copyOf(text, 6, 2));
    const auto month = parseDecimalInt(copyOf(text, 9, 2));
    const auto hour = parseDecimalInt(copyOf(text, 12, 2));
    const auto minute = parseDecimalInt(copyOf(text, 15, 2));
    const auto second = parseDecimalInt(copyOf(text, 18, 2));
    if (!year || !day || !month || !hour || !minute || !second)
        return std::nullopt;
    int32_t s = wrapMul(wrapSub(*year, 1970), kYearSeconds);
    s = wrapAdd(s, wrapMul(monthEnd(wrapSub(*month, 1)), kDaySeconds));
    s = wrapAdd(s, wrapMul(wrapSub(*day, 1), kDaySeconds));
    s = wrapAdd(s, wrapMul(wrapSub(*hour, 2), 3600));
    s = wrapAdd(s, wrapMul(*minute, 60));
    return wrapAdd(s, *second);
}

uint16_t hourNumber(int32_t seconds) {
    const uint32_t h = (static_cast<uint32_t>(seconds) % kDaySeconds) / 3600;
    return static_cast<uint16_t>(h <= 21 ? h + 2 : h - 22);
}

uint16_t dayNumber(int32_t seconds) {
    const auto d = static_cast<int32_t>((static_cast<uint32_t>(seconds) % kYearSeconds) /
                                        kDaySeconds);
    int32_t m = 1;
    while (monthEnd(m) < d)
        ++m;
    int32_t day = d - monthEnd(m - 1) + 1;
    if (hourNumber(seconds) < 2)
        ++day;
    return static_cast<uint16_t>(day);
}

int32_t recountsBetween(int32_t previous, int32_t current) {
    int32_t days = (int32_t{dayNumber(current)} - int32_t{dayNumber(previous)}) * 24;
    if (days <= 0)
        days = 0;
    return int32_t{hourNumber(current)} + days - int32_t{hourNumber(previous)};
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
    const int n = std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u-%02d-%02d-%02d",
                                int(date.year()), unsigned(date.day()), unsigned(date.month()),
                                int(time.hours().count()), int(time.minutes().count()),
                                int(time.seconds().count()));
    return QByteArray(buffer, n);
}

} // namespace kx
