#include "line_list.h"

#include "large_buffer.h"
#include "windows1250.h"

#include <algorithm>
#include <cstring>

namespace kx {

namespace {
constexpr unsigned kKeepAliveLines = 8192;
}

LineList LineList::fromText(QByteArray text, const std::function<void()>& keepAlive) {
    LineList list;
    const char* data = text.constData();
    const qsizetype size = text.size();
    // One plain pass: lines are short, so a scan beats a library search call per line end.
    // The room for the line table may be too much (it is only reserved, not touched) rather
    // than too little (growing it copies the table).
    list.spans_.reserve(static_cast<size_t>(size / 24 + 1));
    qsizetype lineStart = 0;
    unsigned lines = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(data[i]);
        if (c > '\r' || (c != '\n' && c != '\r'))
            continue;
        list.spans_.push_back({uint32_t(lineStart), uint32_t(i - lineStart)});
        if (c == '\r' && i + 1 < size && data[i + 1] == '\n')
            ++i; // CR LF ends one line
        lineStart = i + 1;
        if (keepAlive && ++lines % kKeepAliveLines == 0)
            keepAlive();
    }
    if (lineStart < size) // a last line without a line end
        list.spans_.push_back({uint32_t(lineStart), uint32_t(size - lineStart)});
    list.buffer_ = std::move(text);
    return list;
}

QString LineList::textAt(qsizetype i) const {
    return decodeWindows1250(at(i));
}

void LineList::clear() {
    buffer_.clear();
    spans_.clear();
}

void LineList::reserve(qsizetype lines, qsizetype bytes) {
    spans_.reserve(static_cast<size_t>(lines));
    buffer_.reserve(bytes);
    prepareLargeBuffer(buffer_);
}

void LineList::append(QByteArrayView line) {
    const qsizetype start = buffer_.size();
    const qsizetype needed = start + line.size();
    if (needed > buffer_.capacity()) {
        buffer_.reserve(std::max(needed, buffer_.capacity() * 2));
        prepareLargeBuffer(buffer_);
    }
    buffer_.resize(needed);
    if (!line.isEmpty())
        std::memcpy(buffer_.data() + start, line.data(), static_cast<size_t>(line.size()));
    spans_.push_back({uint32_t(start), uint32_t(line.size())});
}

void LineList::appendFrom(const LineList& source, qsizetype i) {
    if (spans_.empty() && buffer_.isEmpty())
        buffer_ = source.buffer_;
    if (buffer_.isSharedWith(source.buffer_))
        spans_.push_back(source.spans_[static_cast<size_t>(i)]);
    else
        append(source.at(i));
}

void LineList::removeAt(qsizetype i) {
    spans_.erase(spans_.begin() + i);
}

void LineList::trimFront(qsizetype i, qsizetype count) {
    Span& s = spans_[static_cast<size_t>(i)];
    const auto n = uint32_t(count > qsizetype(s.length) ? s.length : count);
    s.start += n;
    s.length -= n;
}

} // namespace kx
