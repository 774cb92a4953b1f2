#include "record_filter.h"

namespace kx {

QString foldForMatching(const QString& text) {
    // Canonical decomposition splits "á" into "a" and a combining mark, which is dropped.
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            folded.append(c.toCaseFolded());
    }
    return folded;
}

RecordFilter::RecordFilter(const QString& text)
    : words_(foldForMatching(text).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {}

QString RecordFilter::foldedTextOf(const RecordRow& row) {
    // A line break cannot be typed into the box, so no word matches across two texts.
    return foldForMatching(row.map + QLatin1Char('\n') + row.date + QLatin1Char('\n') + row.base);
}

bool RecordFilter::matchesFolded(const QString& folded) const {
    for (const QString& word : words_) {
        if (!folded.contains(word))
            return false;
    }
    return true;
}

} // namespace kx
