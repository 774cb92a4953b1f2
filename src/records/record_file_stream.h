#pragma once

#include <QFile>
#include <QString>

#include <sys/stat.h>

namespace kx {

// Files larger than this are refused before they are read.
inline constexpr qint64 kMaxRecordFileSize = qint64{1} << 30;

// A record file read once from start to end, in pieces. A file that is cut short, rewritten,
// removed or replaced while it is read is a failure; one that only grew is read up to where
// it was read (a record being written is read that way).
class RecordFileStream {
  public:
    // Opens the file; on failure sets *error to a message for the user.
    bool open(const QString& path, QString* error);
    // The size as the file was opened.
    qint64 size() const { return size_; }
    // Reads up to `room` bytes: how many, 0 at the end, -1 on an error or past the size limit.
    qint64 read(char* into, qint64 room);
    // After reading to the end: whether what was read is one state of the file; on failure
    // sets *error.
    bool finish(QString* error);

  private:
    QString path_;
    QFile file_;
    struct stat opened_ {};
    qint64 size_ = 0;
    qint64 read_ = 0;
    bool failed_ = false;
    bool tooLarge_ = false;
};

} // namespace kx
