#pragma once

#include <QString>

#include <cstdint>

namespace kx {

// A user's note on one event of a record (the event's item index, as "Akce i z N" counts).
struct Bookmark {
    int32_t event = 0;
    QString note;

    bool operator==(const Bookmark&) const = default;
};

} // namespace kx
