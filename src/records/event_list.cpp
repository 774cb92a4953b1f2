#include "event_list.h"

#include "windows1250.h"

namespace kx {

QString EventItem::captionText() const {
    return decodeWindows1250(caption);
}
QString EventItem::subItemText(int k) const {
    return decodeWindows1250(subItem(k));
}

EventItem splitFields(QByteArrayView line) {
    constexpr int kFields = 10;
    std::array<QByteArrayView, kFields> fields{};
    int filled = 0;
    qsizetype pos = 0;
    const qsizetype size = line.size();
    const char* const text = line.data();
    while (pos < size) {
        // Fields are short, so a plain scan beats a library search call per field.
        qsizetype semicolon = pos;
        while (semicolon < size && text[semicolon] != ';')
            ++semicolon;
        if (semicolon == size)
            break;
        if (filled < kFields)
            fields[static_cast<size_t>(filled++)] = line.sliced(pos, semicolon - pos);
        else
            break; // fields beyond the tenth are never used
        pos = semicolon + 2;
    }
    EventItem item;
    item.caption = fields[1];
    // Sub-items: slot 0, then fields 2 to 9, up to the first empty one.
    for (int s = 0; s < kFields; ++s) {
        if (s == 1)
            continue;
        if (fields[static_cast<size_t>(s)].isEmpty())
            break;
        item.subItems[static_cast<size_t>(item.subItemCount++)] = fields[static_cast<size_t>(s)];
    }
    return item;
}

EventList EventList::fromLines(const LineList& lines) {
    // Beyond a few empty lines the mapping would cost every read: the table is copied instead.
    constexpr size_t kMostSkipped = 8;
    EventList list;
    list.lines_ = lines;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines.at(i).isEmpty())
            continue;
        if (list.skipped_.size() == kMostSkipped) {
            list.clear();
            list.lines_.reserve(lines.size(), 0);
            for (qsizetype j = 0; j < lines.size(); ++j)
                list.appendFrom(lines, j);
            return list;
        }
        list.skipped_.push_back(i);
    }
    return list;
}

void EventList::appendFrom(const LineList& source, qsizetype i) {
    if (!source.at(i).isEmpty())
        lines_.appendFrom(source, i);
}

void EventList::append(QByteArrayView line) {
    if (!line.isEmpty())
        lines_.append(line);
}

bool splitEventLine(QByteArrayView line, EventList& list) {
    list.append(line);
    return true;
}

} // namespace kx
