#include "record_list.h"

#include <QCollator>
#include <QDir>

#include <algorithm>
#include <vector>

namespace kx {

namespace {

constexpr QLatin1StringView kExtensionMark(".kxr");

// Characters from 1-based position `from`, at most `count`, clipped to the text.
QStringView part(const QString& text, qsizetype from, qsizetype count) {
    const qsizetype start = from - 1;
    if (start >= text.size())
        return {};
    return QStringView(text).sliced(start, std::min(count, text.size() - start));
}

// "yyyy-mm-dd" is shown as "dd. mm. yyyy"; a short date part gives what it has.
QString dateText(const QString& datePart) {
    QString text;
    text.reserve(12);
    text.append(part(datePart, 9, 2)).append(QLatin1String(". "));
    text.append(part(datePart, 6, 2)).append(QLatin1String(". "));
    return text.append(part(datePart, 1, 4));
}

} // namespace

QString recordTypeOf(const QString& fileName) {
    const qsizetype mark = fileName.indexOf(kExtensionMark, 0, Qt::CaseInsensitive);
    if (mark < 0)
        return {};
    return fileName.sliced(mark + 1).toLower();
}

std::optional<RecordRow> recordRowOf(const QString& fileName) {
    const QString type = recordTypeOf(fileName);
    if (type != QLatin1String("kxr") && type != QLatin1String("kxr2"))
        return std::nullopt;
    RecordRow row;
    row.type = type;
    row.base = fileName.first(fileName.size() - type.size() - 1);
    if (row.base.isEmpty())
        return std::nullopt;
    row.fileName = fileName;
    const qsizetype underscore = row.base.lastIndexOf(QLatin1Char('_'));
    if (underscore < 0) {
        row.map = row.base;
    } else {
        row.map = row.base.first(underscore);
        row.date = dateText(row.base.sliced(underscore + 1));
    }
    return row;
}

QLocale collationLocale(const QLocale& system) {
    if (system.language() == QLocale::C || system.language() == QLocale::AnyLanguage)
        return QLocale(QLocale::Czech);
    return system;
}

void sortRecordRows(QList<RecordRow>& rows, const QLocale& locale) {
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseSensitive);
    sortRecordRows(rows, collator);
}

void sortRecordRows(QList<RecordRow>& rows, const QCollator& collator) {
    // Sort keys make a listing of thousands of files one comparison of bytes per pair.
    std::vector<QCollatorSortKey> maps;
    std::vector<QCollatorSortKey> bases;
    std::vector<qsizetype> order;
    maps.reserve(size_t(rows.size()));
    bases.reserve(size_t(rows.size()));
    for (qsizetype i = 0; i < rows.size(); ++i) {
        maps.push_back(collator.sortKey(rows[i].map));
        bases.push_back(collator.sortKey(rows[i].base));
        order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        if (const int c = maps[size_t(a)].compare(maps[size_t(b)]))
            return c < 0;
        if (const int c = bases[size_t(a)].compare(bases[size_t(b)]))
            return c < 0;
        return rows[a].fileName < rows[b].fileName;
    });
    QList<RecordRow> sorted;
    sorted.reserve(rows.size());
    for (qsizetype i : order)
        sorted.append(std::move(rows[i]));
    rows = std::move(sorted);
}

QList<RecordRow> FillRecordList(const QString& directory, const QLocale& locale) {
    // The name filter of QDir matches regardless of letter case.
    const QStringList names = QDir(directory).entryList({QStringLiteral("*.kxr*")},
                                                        QDir::Files | QDir::Hidden, QDir::Unsorted);
    QList<RecordRow> rows;
    rows.reserve(names.size());
    for (const QString& name : names) {
        if (std::optional<RecordRow> row = recordRowOf(name))
            rows.append(std::move(*row));
    }
    sortRecordRows(rows, locale);
    return rows;
}

} // namespace kx
