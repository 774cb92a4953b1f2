#include "line_list.h"

#include "large_buffer.h"
#include "windows1250.h"

#include <algorithm>
#include <cstring>

namespace kx {

namespace {

// The first byte at or after i that may end a line (one below 14, so CR, LF and a few other
// control bytes), or size. Eight bytes are looked at at once while none of them is low.
qsizetype skipPlainBytes(const char* data, qsizetype i, qsizetype size) {
    constexpr uint64_t kOnes = 0x0101010101010101;
    constexpr uint64_t kHighBits = 0x8080808080808080;
    while (i + 8 <= size) {
        uint64_t word;
        std::memcpy(&word, data + i, 8);
        if (((word - kOnes * 14) & ~word & kHighBits) != 0)
            break; // some byte of the eight is below 14
        i += 8;
    }
    while (i<size&& static_cast<unsigned char>(data[i])> '\r')
        ++i;
    return i;
}

} // namespace

LineList LineList::fromText(QByteArray text, const std::function<void()>& keepAlive) {
    LineSplitter splitter;
    splitter.expectBytes(text.size());
    // Pieces of a few thousand lines, so that a window can be served in between.
    constexpr qsizetype kPiece = qsizetype{1} << 19;
    for (qsizetype end = std::min(kPiece, text.size()); end < text.size(); end += kPiece) {
        splitter.advance(QByteArrayView(text.constData(), end), false);
        if (keepAlive)
            keepAlive();
    }
    splitter.advance(text, true);
    return splitter.take(std::move(text));
}

void LineSplitter::expectBytes(qsizetype size) {
    spans_.reserve(size / 24 + 1);
}

void LineSplitter::advance(QByteArrayView text, bool complete) {
    const char* data = text.data();
    const qsizetype size = complete ? text.size() : text.size() - 1;
    qsizetype i = skipPlainBytes(data, scanned_, size);
    for (; i < size; i = skipPlainBytes(data, i + 1, size)) {
        const char c = data[i];
        if (c != '\n' && c != '\r')
            continue;
        spans_.push_back({uint32_t(lineStart_), uint32_t(i - lineStart_)});
        if (c == '\r' && i + 1 < text.size() && data[i + 1] == '\n')
            ++i; // CR LF ends one line
        lineStart_ = i + 1;
    }
    scanned_ = std::max(i, scanned_);
    if (complete && lineStart_ < text.size()) { // a last line without a line end
        spans_.push_back({uint32_t(lineStart_), uint32_t(text.size() - lineStart_)});
        lineStart_ = text.size();
    }
}

LineList LineSplitter::take(QByteArray text) {
    LineList list;
    list.spans_ = std::move(spans_);
    list.buffer_ = std::move(text);
    list.used_ = list.buffer_.size();
    *this = LineSplitter();
    return list;
}

QString LineList::textAt(qsizetype i) const {
    return decodeWindows1250(at(i));
}

void LineList::clear() {
    buffer_.clear();
    used_ = 0;
    populated_ = 0;
    spans_.clear();
}

// The room is taken but mapped in only as appended lines reach it, so that a generous guess
// costs address space, not memory.
void LineList::reserve(qsizetype lines, qsizetype bytes) {
    spans_.reserve(lines);
    if (bytes > buffer_.capacity()) {
        buffer_.reserve(std::max(bytes, buffer_.size()));
        populated_ = used_;
    }
}

char* LineList::beginAppend(qsizetype size) {
    const qsizetype needed = used_ + size;
    if (needed > buffer_.size()) {
        if (needed > buffer_.capacity()) {
            buffer_.reserve(std::max(needed, buffer_.capacity() * 2));
            populated_ = used_;
        }
        // The whole room at once: a resize for every line costs more than the copy.
        buffer_.resize(buffer_.capacity());
    }
    if (needed > populated_) {
        // A few megabytes ahead at a time: one call instead of a fault for every page.
        constexpr qsizetype kAhead = qsizetype{1} << 22;
        const qsizetype to = std::min(buffer_.capacity(), needed + kAhead);
        prepareBufferRange(buffer_, populated_, to);
        populated_ = to;
    }
    return buffer_.data() + used_; // a shared buffer is copied here, before it is written
}

void LineList::append(QByteArrayView line) {
    char* out = beginAppend(line.size());
    if (!line.isEmpty())
        std::memcpy(out, line.data(), static_cast<size_t>(line.size()));
    endAppend(line.size());
}

void LineList::appendFrom(const LineList& source, qsizetype i) {
    if (spans_.empty() && used_ == 0) {
        buffer_ = source.buffer_;
        used_ = source.used_;
    }
    if (buffer_.isSharedWith(source.buffer_))
        spans_.push_back(source.spans_.at(i));
    else
        append(source.at(i));
}

void LineList::removeAt(qsizetype i) {
    spans_.removeAt(i);
}

void LineList::trimFront(qsizetype i, qsizetype count) {
    Span& s = spans_[i];
    const auto n = uint32_t(count > qsizetype(s.length) ? s.length : count);
    s.start += n;
    s.length -= n;
}

} // namespace kx
