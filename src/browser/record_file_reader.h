#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <functional>
#include <optional>

namespace kx {

// Reads a record file no further than a caller needs: its first lines, or its lines one at a
// time through a small buffer. Files that the loader refuses (missing, unreadable, larger than
// kMaxRecordFileSize) are refused with the loader's messages.
class RecordFileReader {
  public:
    // False with *error set when the file cannot be read.
    bool open(const QString& path, QString* error);
    qint64 size() const { return size_; }

    // The file's first bytes, at most `limit` of them, ending after the last whole line they
    // hold; the whole file (and *whole true) once `limit` reaches its size. nullopt on a read
    // error.
    std::optional<QByteArray> head(qint64 limit, bool* whole);

    QString path() const { return file_.fileName(); }

    // Gives every line of the file from byte `from` to byte `to` (the end when negative), split
    // as LineList splits text, to `visit` in order until it returns false. Both ends must be
    // where lines start (lineStartAfter). False on a read error.
    bool forEachLine(const std::function<bool(QByteArrayView)>& visit, qint64 from = 0,
                     qint64 to = -1);

    // The first line start after `offset` found within `reach` bytes of it; nullopt when there
    // is none there or on a read error.
    std::optional<qint64> lineStartAfter(qint64 offset, qint64 reach);

  private:
    QFile file_;
    qint64 size_ = 0;
};

} // namespace kx
