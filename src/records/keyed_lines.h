#pragma once

#include "line_list.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>

#include <deque>
#include <vector>

namespace kx {

// Lines in the order they were added, each with a key, of which the first line still held
// under a given key is found and taken out in constant time. The XML converter keeps the
// lines of an HQ block here, so that a hostile block of many HQ removals costs linear time
// instead of one search of all lines per removal.
class KeyedLines {
  public:
    void clear();
    void append(QByteArrayView line, QByteArrayView key);

    // Index of the first line still held under key, or -1.
    qsizetype findFirst(QByteArrayView key) const;
    QByteArrayView at(qsizetype i) const { return lines_.at(i); }
    // Takes out the first line still held under key; false when there is none.
    bool takeFirst(QByteArrayView key);

    // Appends the lines still held, in their order.
    void appendTo(LineList& list) const;

  private:
    LineList lines_;
    std::vector<bool> taken_;
    QHash<QByteArray, std::deque<qsizetype>> byKey_;
};

} // namespace kx
