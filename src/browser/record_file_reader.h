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

    // Gives every line of the file, split as LineList splits text, to `visit` in order until it
    // returns false. False on a read error.
    bool forEachLine(const std::function<bool(QByteArrayView)>& visit);

  private:
    QFile file_;
    qint64 size_ = 0;
};

} // namespace kx
