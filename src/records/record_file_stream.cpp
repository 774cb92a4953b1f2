#include "record_file_stream.h"

#include "record_loader.h"

#include <QFileInfo>

namespace kx {

namespace {

bool sameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Whether the file read through `handle` changed while `read` bytes were read from it, as
// `opened` found it at the start: cut short, rewritten in place, or no longer the file under
// `path` (removed or replaced). What was read then never was one state of the record.
bool changedWhileRead(int handle, const QString& path, const struct stat& opened, qint64 read) {
    struct stat now {};
    struct stat named {};
    if (::fstat(handle, &now) != 0 || ::stat(QFile::encodeName(path).constData(), &named) != 0)
        return true;
    if (named.st_dev != opened.st_dev || named.st_ino != opened.st_ino)
        return true;
    if (read < opened.st_size || now.st_size < read)
        return true;
    return now.st_size == opened.st_size && !sameTime(now.st_mtim, opened.st_mtim);
}

} // namespace

bool RecordFileStream::open(const QString& path, QString* error) {
    path_ = path;
    file_.setFileName(path);
    if (!QFileInfo(path).isFile() || !file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered) ||
        ::fstat(file_.handle(), &opened_) != 0) {
        if (error)
            *error = QString::fromUtf8(LoadMessages::kCannotOpen) + path;
        return false;
    }
    // The size as opened, not file.size(): that asks the system again on every call.
    size_ = opened_.st_size;
    if (size_ > kMaxRecordFileSize) {
        if (error)
            *error = QString::fromUtf8(LoadMessages::kTooLarge) + path;
        return false;
    }
    return true;
}

qint64 RecordFileStream::read(char* into, qint64 room) {
    if (failed_)
        return -1;
    // The file may grow while it is read; the limit holds for what is read.
    if (read_ > kMaxRecordFileSize) {
        failed_ = tooLarge_ = true;
        return -1;
    }
    const qint64 got = file_.read(into, room);
    if (got < 0 || file_.error() != QFileDevice::NoError) {
        failed_ = true;
        return -1;
    }
    read_ += got;
    return got;
}

bool RecordFileStream::finish(QString* error) {
    const char* message = nullptr;
    if (tooLarge_)
        message = LoadMessages::kTooLarge;
    else if (failed_)
        message = LoadMessages::kCannotOpen;
    else if (changedWhileRead(file_.handle(), path_, opened_, read_))
        message = LoadMessages::kChangedWhileRead;
    if (message && error)
        *error = QString::fromUtf8(message) + path_;
    return !message;
}

} // namespace kx
