#include "record_file_reader.h"

#include "xml_events_check.h"

#include "records/record_loader.h"

#include <QFileInfo>

#include <algorithm>

namespace kx {

namespace {

constexpr qint64 kBlock = qint64{1} << 20;

bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
}

// The end of the last whole line in text, searched from `from`: after its last line end,
// but not after a CR that closes the text, whose LF may still follow. 0 when there is none.
qsizetype wholeLinesEnd(QByteArrayView text, qsizetype from) {
    for (qsizetype j = text.size() - 1; j >= from; --j) {
        if (isLineEnd(text[j]) && !(text[j] == '\r' && j == text.size() - 1))
            return j + 1;
    }
    return 0;
}

} // namespace

bool RecordFileReader::open(const QString& path, QString* error) {
    auto fail = [&](const char* message) {
        if (error)
            *error = QString::fromUtf8(message) + path;
        return false;
    };
    file_.setFileName(path);
    if (!QFileInfo(path).isFile() || !file_.open(QIODevice::ReadOnly))
        return fail(LoadMessages::kCannotOpen);
    size_ = file_.size();
    if (size_ > kMaxRecordFileSize)
        return fail(LoadMessages::kTooLarge);
    return true;
}

std::optional<QByteArray> RecordFileReader::head(qint64 limit, bool* whole) {
    *whole = limit >= size_;
    if (!file_.seek(0))
        return std::nullopt;
    QByteArray bytes = file_.read(*whole ? size_ : limit);
    if (file_.error() != QFileDevice::NoError)
        return std::nullopt;
    if (bytes.size() < (*whole ? size_ : limit)) // the file shrank while it was read
        *whole = true;
    if (!*whole) {
        // A CR at the very end still ends a whole line here; its LF starts the next head.
        qsizetype end = bytes.size();
        while (end > 0 && !isLineEnd(bytes[end - 1]))
            --end;
        bytes.truncate(end);
    }
    return bytes;
}

bool RecordFileReader::forEachLine(const std::function<bool(QByteArrayView)>& visit, qint64 from,
                                   qint64 to) {
    if (!file_.seek(from))
        return false;
    qint64 left = (to < 0 ? size_ : to) - from;
    QByteArray buffer;
    for (;;) {
        const qsizetype kept = buffer.size();
        const qint64 wanted = std::min(kBlock, std::max<qint64>(left, 0));
        buffer.resize(kept + wanted);
        const qint64 got = wanted > 0 ? file_.read(buffer.data() + kept, wanted) : 0;
        if (got < 0)
            return false;
        left -= got;
        buffer.resize(kept + got);
        const bool atEnd = got == 0;
        // A line end can only be in what was just read, or be the CR left at the end before.
        const qsizetype cut =
            atEnd ? buffer.size() : wholeLinesEnd(buffer, std::max<qsizetype>(0, kept - 1));
        LineCursor cursor(QByteArrayView(buffer).first(cut));
        QByteArrayView line;
        while (cursor.next(line)) {
            if (!visit(line))
                return true;
        }
        buffer.remove(0, cut);
        if (atEnd)
            return true;
    }
}

std::optional<qint64> RecordFileReader::lineStartAfter(qint64 offset, qint64 reach) {
    if (!file_.seek(offset))
        return std::nullopt;
    const QByteArray bytes = file_.read(reach);
    if (file_.error() != QFileDevice::NoError)
        return std::nullopt;
    for (qsizetype at = 0; at < bytes.size(); ++at) {
        if (bytes[at] == '\n')
            return offset + at + 1;
        if (bytes[at] == '\r') {
            // A CR ends its line unless an LF follows it; one that closes what was read may
            // have its LF after it.
            if (at + 1 == bytes.size())
                return std::nullopt;
            return offset + at + (bytes[at + 1] == '\n' ? 2 : 1);
        }
    }
    return std::nullopt;
}

} // namespace kx
