// Fuzz target: time stamps and cell addresses.
//
// The input's bytes are read as a time text, a cell address and kxrtool's action list; its
// first eight bytes are also two seconds values. Checked: day and hour numbers stay in their
// ranges, recounts are never negative and are the whole hours between two real times, every
// Unix time gives a time text that reads back, and every address the map shows reads back as
// its own cell.

#include "records/cell_address.h"
#include "records/time_stamp.h"
#include "records/windows1250.h"
#include "replay_actions.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

int32_t int32At(const uint8_t* data) {
    uint32_t value;
    std::memcpy(&value, data, sizeof value);
    return static_cast<int32_t>(value);
}

void checkSeconds(int32_t a, int32_t b) {
    // Day numbers run from 1 to 32 within a 365-day year (the first of a month carries the
    // number after the previous month's last day), plus one for the hours before 02:00.
    check(kx::dayNumber(a) >= 1 && kx::dayNumber(a) <= 33);
    check(kx::hourNumber(a) <= 23);

    for (const int32_t unix : {a, b}) {
        const QByteArray text = kx::timeTextFromUnix(unix);
        check(text.size() == 19);
        check(kx::timeSeconds(text).has_value());
    }
    // Local 02:00 on 1 January 1970 is Unix time 0: the recounts are whole Unix hours.
    const auto from = kx::readTimeStamp(kx::timeTextFromUnix(a));
    const auto to = kx::readTimeStamp(kx::timeTextFromUnix(b));
    check(from && to);
    auto hourOf = [](int64_t unix) { return (unix - ((unix % 3600) + 3600) % 3600) / 3600; };
    const int64_t hours = hourOf(b) - hourOf(a);
    check(kx::recountsBetween(from->hour, to->hour) == (hours > 0 ? hours : 0));

    // The address the map shows for a cell reads back as that cell.
    const int x = int(uint32_t(a) % 26);
    const int y = int(uint32_t(b) & 0x7fffffff);
    const QString shown = kx::cellAddressText(x, y);
    const auto bytes = kx::encodeWindows1250(shown);
    check(bytes.has_value());
    bool unreadable = false;
    check(kx::addressColumn(*bytes) == x);
    check(kx::addressRow(*bytes, &unreadable) == y && !unreadable);
    const int wide = int(uint32_t(a) % 1000);
    check(kx::cellOfAddressText(kx::cellAddressText(wide, y)) == std::pair(wide, y));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView text(reinterpret_cast<const char*>(data), qsizetype(size));

    if (const auto seconds = kx::timeSeconds(text))
        checkSeconds(*seconds, *seconds);
    if (const auto time = kx::readTimeStamp(text)) {
        check(time->seconds == kx::timeSeconds(text));
        check(kx::recountsBetween(time->hour, time->hour) == 0);
    }
    const QString label = kx::eventTimeLabel(text);
    check(label.size() <= 18);

    const int column = kx::addressColumn(text);
    check(text.isEmpty() ? column == -1 : column >= -128 - 'A' && column <= 127 - 'A');
    bool unreadable = false;
    const int row = kx::addressRow(text, &unreadable);
    check(!unreadable || row == 0);
    (void)kx::cellOfAddressText(kx::cellAddressText(column, row));

    if (size >= 8)
        checkSeconds(int32At(data), int32At(data + 4));

    // kxrtool's action list (cells in "pt:" actions are addresses too).
    QString bad;
    if (const auto actions = kx::parseReplayActions(kx::decodeWindows1250(text), &bad))
        check(actions->size() <= size / 2 + 1);
    return 0;
}
