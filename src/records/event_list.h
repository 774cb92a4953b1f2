#pragma once

#include "line_list.h"

#include <QByteArrayView>
#include <QString>

#include <array>
#include <vector>

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
    // The non-empty lines of `lines`. The text is shared, and so is the line table when only
    // a few lines are empty (as in every record: the line after the header and the map).
    static EventList fromLines(const LineList& lines);

    qsizetype size() const { return lines_.size() - qsizetype(skipped_.size()); }
    bool isEmpty() const { return size() == 0; }
    EventItem item(qsizetype i) const { return splitFields(line(i)); }
    QByteArrayView line(qsizetype i) const { return lines_.at(lineIndex(i)); }

    qint64 memoryBytes() const { return lines_.memoryBytes(); }
    void clear() {
        lines_.clear();
        skipped_.clear();
    }
    void reserve(qsizetype lines, qsizetype bytes) { lines_.reserve(lines, bytes); }
    // Adds line i of source if it is not empty.
    void appendFrom(const LineList& source, qsizetype i);
    void append(QByteArrayView line);

  private:
    // The line of item i: past every skipped (empty) line at or before it.
    qsizetype lineIndex(qsizetype i) const {
        for (const qsizetype skipped : skipped_) {
            if (skipped > i)
                break;
            ++i;
        }
        return i;
    }

    LineList lines_;
    std::vector<qsizetype> skipped_; // the empty lines of lines_, rising
};

// Appends one item built from the line (nothing for an empty line); always succeeds.
bool splitEventLine(QByteArrayView line, EventList& list);

} // namespace kx
