#include "streamed_lines.h"

#include <cstring>
#include <utility>

namespace kx {

StreamedLines::StreamedLines(Reader reader, qsizetype pieceBytes)
    : reader_(std::move(reader)), pieceBytes_(pieceBytes > 0 ? pieceBytes : 1) {
    window_.reserve(2 * pieceBytes_);
}

bool StreamedLines::has(qsizetype i) {
    while (i >= size() && !ended_)
        readPiece();
    return i < size();
}

void StreamedLines::release(qsizetype i) {
    while (first_ < i && !lines_.empty()) {
        lines_.pop_front();
        ++first_;
    }
}

void StreamedLines::drain() {
    release(size());
    while (!ended_) {
        readPiece();
        release(size());
    }
}

// The bytes before the first line still held (or before the line not yet ended) are dropped
// once they are half the window, so each byte is moved at most about once.
void StreamedLines::dropReleasedBytes() {
    const qint64 keep =
        lines_.empty() ? base_ + splitter_.pendingLineStart() : lines_.front().start;
    const auto drop = qsizetype(keep - base_);
    if (drop == 0 || drop < window_.size() / 2)
        return;
    const qsizetype rest = window_.size() - drop;
    std::memmove(window_.data(), window_.constData() + drop, static_cast<size_t>(rest));
    window_.resize(rest);
    base_ = keep;
    splitter_.dropFront(drop);
}

void StreamedLines::readPiece() {
    dropReleasedBytes();
    const qsizetype size = window_.size();
    window_.resize(size + pieceBytes_);
    qint64 got = reader_(window_.data() + size, pieceBytes_);
    if (got < 0 || got > pieceBytes_) {
        failed_ = true;
        got = 0;
    }
    window_.resize(size + qsizetype(got));
    read_ += got;
    ended_ = got == 0;
    splitter_.advance(window_, ended_);
    for (const LineList::Span& span : splitter_.spans())
        lines_.push_back({base_ + span.start, qsizetype(span.length)});
    splitter_.clearSpans();
}

} // namespace kx
