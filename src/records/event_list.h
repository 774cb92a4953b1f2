#pragma once

#include "line_list.h"

#include <QByteArrayView>
#include <QString>

#include <array>

namespace kx {

// One item of the event list: caption = field 1 (the keyword, or the world name in the
// header line), sub-item 0 = field 0 (the time stamp), sub-item k = field k + 1. The fields
// are views into the line's text.
struct EventItem {
    static constexpr int kMaxSubItems = 9;

    QByteArrayView caption;
    std::array<QByteArrayView, kMaxSubItems> subItems{};
    int subItemCount = 0;

    // A sub-item the line does not have reads as empty text.
    QByteArrayView subItem(int k) const {
        return k >= 0 && k < subItemCount ? subItems[static_cast<size_t>(k)] : QByteArrayView();
    }
    QString captionText() const;
    QString subItemText(int k) const;
};

// Splits one event-log line by the game's rule: each field ends at a semicolon and the one
// character after the semicolon is skipped; at most ten fields are kept (later ones are
// dropped); an empty field ends the sub-items.
EventItem splitFields(QByteArrayView line);

// The event list: one item per non-empty line. Each line's text is kept once (shared with
// the list it came from) and items are split when they are read.
class EventList {
  public:
    qsizetype size() const { return lines_.size(); }
    bool isEmpty() const { return lines_.isEmpty(); }
    EventItem item(qsizetype i) const { return splitFields(lines_.at(i)); }
    QByteArrayView line(qsizetype i) const { return lines_.at(i); }

    qint64 memoryBytes() const { return lines_.memoryBytes(); }
    void clear() { lines_.clear(); }
    void reserve(qsizetype lines, qsizetype bytes) { lines_.reserve(lines, bytes); }
    // Adds line i of source if it is not empty.
    void appendFrom(const LineList& source, qsizetype i);
    void append(QByteArrayView line);

  private:
    LineList lines_;
};

// Appends one item built from the line (nothing for an empty line); always succeeds.
bool splitEventLine(QByteArrayView line, EventList& list);

} // namespace kx
