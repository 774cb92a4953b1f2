// Fuzz target: the record browser's listing of file names.
//
// The input is a list of names, one per line, after one control byte: bit 0 reads the names
// as UTF-16 (so lone surrogates and any character reach the comparisons) rather than UTF-8;
// bit 1 sorts for the Czech locale rather than the C locale; bit 2 also creates the names
// that a file system can hold in an empty folder, as files or (bit 3 of a name's first
// character) folders, and lists that folder. Checked: every row the name parser gives is the
// name taken apart, the sort is a permutation that does not depend on the order of its input,
// and listing a real folder gives exactly the rows of its record files and its visible
// subfolders, sorted alike.

#include "browser/directory_names.h"
#include "browser/record_list.h"
#include "records/file_path.h"

#include <QByteArray>
#include <QCollator>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Aborts, naming the line of the failed check.
void check(bool condition, int line = __builtin_LINE()) {
    if (!condition) {
        std::fprintf(stderr, "check failed at %s:%d\n", __FILE__, line);
        std::abort();
    }
}

QStringList namesOf(const uint8_t* data, size_t size, bool utf16) {
    QString text;
    if (utf16) {
        QList<char16_t> units;
        for (size_t i = 0; i + 1 < size; i += 2)
            units.append(char16_t(data[i] | (data[i + 1] << 8)));
        text = QString(reinterpret_cast<const QChar*>(units.constData()), units.size());
    } else {
        text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    }
    return text.split(QLatin1Char('\n'));
}

QCollator caseSensitive(const QLocale& locale) {
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseSensitive);
    return collator;
}

void checkRow(const QString& name, const kx::RecordRow& row) {
    check(row.fileName == name);
    check(row.type == QLatin1String("kxr") || row.type == QLatin1String("kxr2"));
    check(!row.base.isEmpty());
    check(name.size() == row.base.size() + 1 + row.type.size());
    check(name.startsWith(row.base));
    check(name.endsWith(QLatin1Char('.') + row.type, Qt::CaseInsensitive));
    check(kx::recordTypeOf(name) == row.type);
    const qsizetype underscore = row.base.lastIndexOf(QLatin1Char('_'));
    if (underscore < 0) {
        check(row.map == row.base && row.date.isEmpty());
    } else {
        check(row.map == row.base.first(underscore));
        check(row.date.size() <= 12 && row.date.count(QLatin1String(". ")) >= 2);
    }
}

QStringList fileNames(const QList<kx::RecordRow>& rows) {
    QStringList names;
    for (const kx::RecordRow& row : rows)
        names.append(row.fileName);
    return names;
}

// A name this file system can hold as an entry of a folder.
bool storable(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0)) &&
           name.toUtf8().size() <= 255 && QString::fromUtf8(name.toUtf8()) == name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > 4096)
        return 0;
    const uint8_t control = data[0];
    const QStringList names = namesOf(data + 1, size - 1, control & 1);
    // Made once: a collator costs more to make than a short list costs to sort.
    static const QLocale czechLocale(QLocale::Czech, QLocale::CzechRepublic);
    static const QCollator czech = caseSensitive(czechLocale);
    static const QCollator plain = caseSensitive(QLocale::c());
    const QLocale locale = (control & 2) ? czechLocale : QLocale::c();
    const QCollator& collator = (control & 2) ? czech : plain;

    QList<kx::RecordRow> rows;
    for (const QString& name : names) {
        const std::optional<kx::RecordRow> row = kx::recordRowOf(name);
        if (row) {
            checkRow(name, *row);
            rows.append(*row);
        }
    }

    // Sorting is a permutation, and the order of the input does not matter.
    QList<kx::RecordRow> sorted = rows;
    kx::sortRecordRows(sorted, collator);
    QList<kx::RecordRow> reversed(rows.rbegin(), rows.rend());
    kx::sortRecordRows(reversed, collator);
    QStringList before = fileNames(rows);
    QStringList after = fileNames(sorted);
    check(fileNames(reversed) == after);
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    check(before == after);
    // By sort keys: in the C locale QCollator::compare orders by UTF-16 code units while its
    // sort keys follow code points, so the two disagree on characters above U+FFFF.
    for (qsizetype i = 1; i < sorted.size(); ++i)
        check(collator.sortKey(sorted[i - 1].map).compare(collator.sortKey(sorted[i].map)) <= 0);

    if (!(control & 4))
        return 0;

    // The same names in a real folder: record files and visible subfolders are listed.
    QTemporaryDir dir;
    check(dir.isValid());
    QSet<QString> files;
    QSet<QString> folders;
    for (const QString& name : names) {
        if (!storable(name) || files.contains(name) || folders.contains(name))
            continue;
        if (name.at(0).unicode() & 8) {
            // Paths joined by hand: QDir::filePath would read a name beginning with ':' as
            // a resource path.
            if (QDir().mkdir(dir.path() + QLatin1Char('/') + name))
                folders.insert(name);
        } else {
            QFile file(dir.path() + QLatin1Char('/') + name);
            if (file.open(QIODevice::WriteOnly))
                files.insert(name);
        }
    }
    QList<kx::RecordRow> expectedRows;
    for (const QString& name : files)
        if (const std::optional<kx::RecordRow> row = kx::recordRowOf(name))
            expectedRows.append(*row);
    kx::sortRecordRows(expectedRows, collator);
    check(fileNames(kx::FillRecordList(dir.path(), locale)) == fileNames(expectedRows));

    const QStringList listed = kx::subdirectoryNames(dir.path(), locale);
    QStringList visible;
    for (const QString& name : folders)
        if (!name.startsWith(QLatin1Char('.')))
            visible.append(name);
    QStringList listedSorted = listed;
    std::sort(listedSorted.begin(), listedSorted.end());
    std::sort(visible.begin(), visible.end());
    if (listedSorted != visible)
        std::fprintf(stderr, "listed [%s]\nmade [%s]\n", qPrintable(listedSorted.join('|')),
                     qPrintable(visible.join('|')));
    check(listedSorted == visible);
    // Reading the folder again gives the same order.
    check(kx::subdirectoryNames(dir.path(), locale) == listed);
    for (const QString& name : listed)
        check(kx::childPath(dir.path(), name) == dir.path() + QLatin1Char('/') + name);
    return 0;
}
