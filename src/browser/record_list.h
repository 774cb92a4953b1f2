#pragma once

#include <QCollator>
#include <QList>
#include <QLocale>
#include <QString>

#include <optional>

namespace kx {

// One row of the record browser's list: a record file named "map_date.kxr" or ".kxr2".
struct RecordRow {
    QString map;      // the caption: the base name before its last underscore
    QString date;     // "dd. mm. yyyy" taken from the date part of the name
    QString base;     // the file name without its extension
    QString type;     // "kxr" or "kxr2"
    QString fileName; // the file's real name, which opens it whatever the case of its extension
};

// The record type of a file name: the text after its first ".kxr" (found in any letter case),
// without the dot and in lower case; empty when the name holds no ".kxr".
QString recordTypeOf(const QString& fileName);

// The row for a file name, or nothing when the name is not a record's: its record type must
// be exactly "kxr" or "kxr2" (so that the name ends in that extension) and its base name must
// not be empty. A base name without an underscore is the map name, with an empty date.
std::optional<RecordRow> recordRowOf(const QString& fileName);

// Puts rows in ascending order of their captions by the locale's comparison (case-sensitive);
// rows with equal captions follow their base names, so the order never depends on the file
// system.
void sortRecordRows(QList<RecordRow>& rows, const QLocale& locale);
// The same with a collator made once for many sorts; it must compare case-sensitively.
void sortRecordRows(QList<RecordRow>& rows, const QCollator& collator);

// The locale the browser's list and tree collate by: `system` when it names a language, Czech
// when it names none (the C or POSIX locale), since the program and its records speak Czech.
QLocale collationLocale(const QLocale& system = QLocale());

// FillRecordList: the rows of the record files (*.kxr*, any letter case) in a directory, in
// list order. A directory that cannot be read gives no rows.
QList<RecordRow> FillRecordList(const QString& directory,
                                const QLocale& locale = collationLocale());

} // namespace kx
