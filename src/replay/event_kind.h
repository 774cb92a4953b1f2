#pragma once

#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>

namespace kx {

struct ReplayContext;

// The kinds of events the replay knows, by their keyword (compared after turning only A to Z
// into a to z); every other caption is Other.
enum class EventKind : uint8_t {
    Buy = 1,
    Attack,
    Move,
    ConvertGround,
    Retreat,
    Trade,
    TradeHq,
    Other,
};
inline constexpr int kEventKindCount = 8;

// Who takes part in an event of a kind, as the event list's player filter sees it.
enum class EventParties : uint8_t {
    None,     // nobody
    Cell,     // the owner of the first cell
    Attack,   // the owner of the first cell and the owner of the target before the attack
    Transfer, // the sender and the receiver, by name
};

// Everything a kind decides. A new kind is one new row of kEventKinds and its operation.
struct EventKindInfo {
    EventKind kind;
    QByteArrayView keyword;                     // lower case; empty for Other
    const char* name;                           // Czech name as the event list shows it, UTF-8
    void (*apply)(ReplayContext& ctx, int row); // nullptr: the event changes nothing
    EventParties parties;
};

// One row per kind, in the order of EventKind's values (row i is kind i + 1).
extern const std::array<EventKindInfo, kEventKindCount> kEventKinds;

inline const EventKindInfo& eventKindInfo(EventKind kind) {
    return kEventKinds[static_cast<size_t>(kind) - 1];
}

// The caption compared with a keyword after turning only A to Z into a to z.
inline bool isEventKeyword(QByteArrayView caption, QByteArrayView keyword) {
    if (caption.size() != keyword.size())
        return false;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        char c = caption[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != keyword[i])
            return false;
    }
    return true;
}

EventKind eventKindOf(QByteArrayView caption);
// The Czech name of a kind, as the event list shows it.
inline QString eventKindName(EventKind kind) {
    return QString::fromUtf8(eventKindInfo(kind).name);
}

} // namespace kx
