#include "event_kind.h"

#include <utility>

namespace kx {

EventKind eventKindOf(QByteArrayView caption) {
    static const std::pair<QByteArrayView, EventKind> kKeywords[] = {
        {"buy", EventKind::Buy},         {"attack", EventKind::Attack},
        {"move", EventKind::Move},       {"convert_gnd", EventKind::ConvertGround},
        {"retreat", EventKind::Retreat}, {"trade", EventKind::Trade},
        {"trade_hq", EventKind::TradeHq}};
    for (const auto& [keyword, kind] : kKeywords)
        if (isEventKeyword(caption, keyword))
            return kind;
    return EventKind::Other;
}

QString eventKindName(EventKind kind) {
    switch (kind) {
    case EventKind::Buy:
        return QString::fromUtf8("nákup");
    case EventKind::Attack:
        return QString::fromUtf8("útok");
    case EventKind::Move:
        return QString::fromUtf8("přesun");
    case EventKind::ConvertGround:
        return QString::fromUtf8("převod půdy");
    case EventKind::Retreat:
        return QString::fromUtf8("prodej jednotek");
    case EventKind::Trade:
        return QString::fromUtf8("nektar hráči");
    case EventKind::TradeHq:
        return QString::fromUtf8("nektar na velení");
    case EventKind::Other:
        break;
    }
    return QString::fromUtf8("jiná");
}

} // namespace kx
