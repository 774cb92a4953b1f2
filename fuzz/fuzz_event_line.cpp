// Fuzz target: the line splitter of a record and the event-line splitter.
//
// The input is a record's bytes. It is cut into lines (CR LF, LF or CR) and every line is
// split into an event item; every field must be a view inside its own line, no line may hold
// a line end, and an item never has more than nine sub-items, none of them empty.

#include "records/event_list.h"
#include "records/line_list.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

bool inside(QByteArrayView part, QByteArrayView whole) {
    return part.isEmpty() || (part.data() >= whole.data() &&
                              part.data() + part.size() <= whole.data() + whole.size());
}

void checkItem(const kx::EventItem& item, QByteArrayView line) {
    check(item.subItemCount >= 0 && item.subItemCount <= kx::EventItem::kMaxSubItems);
    check(inside(item.caption, line));
    for (int k = 0; k < item.subItemCount; ++k) {
        check(!item.subItem(k).isEmpty());
        check(inside(item.subItem(k), line));
    }
    // Sub-items the line does not have read as empty, whatever is asked for.
    check(item.subItem(-1).isEmpty() && item.subItem(item.subItemCount).isEmpty());
    check(item.subItem(1000).isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // The whole input as one line, the way a line with stray bytes reaches the splitter.
    checkItem(kx::splitFields(bytes), bytes);

    const kx::LineList lines = kx::LineList::fromText(bytes);
    kx::EventList events;
    qsizetype nonEmpty = 0;
    qsizetype total = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArrayView line = lines.at(i);
        check(!line.contains('\n') && !line.contains('\r'));
        total += line.size();
        if (!line.isEmpty())
            ++nonEmpty;
        kx::splitEventLine(line, events);
        events.appendFrom(lines, i);
    }
    check(total <= bytes.size());
    // Both ways of filling the list skip empty lines alike.
    check(events.size() == 2 * nonEmpty);
    for (qsizetype i = 0; i < events.size(); ++i) {
        const QByteArrayView line = events.line(i);
        const kx::EventItem item = events.item(i);
        checkItem(item, line);
        (void)item.captionText();
        for (int k = 0; k < item.subItemCount; ++k)
            (void)item.subItemText(k);
    }
    return 0;
}
