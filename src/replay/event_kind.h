#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace kx {

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
QString eventKindName(EventKind kind);

} // namespace kx
