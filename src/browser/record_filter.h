#pragma once

#include "record_list.h"

#include <QString>
#include <QStringList>

namespace kx {

// The browser's filter box: the words the user typed, each of which must occur in a row's map
// name, its date as shown ("12. 03. 2005") or its base name (which holds the date as written
// in the file name, "2005-03-12"). Case and diacritics do not matter, so "jana" finds "Jána".
class RecordFilter {
  public:
    explicit RecordFilter(const QString& text = QString());

    bool isEmpty() const { return words_.isEmpty(); }
    bool matches(const RecordRow& row) const { return matchesFolded(foldedTextOf(row)); }
    // For lists that fold each row once: `folded` is foldedTextOf(row).
    bool matchesFolded(const QString& folded) const;

    // The texts of a row the filter looks at, folded.
    static QString foldedTextOf(const RecordRow& row);

  private:
    QStringList words_;
};

// The text folded for matching: lower case, without diacritical marks.
QString foldForMatching(const QString& text);

} // namespace kx
