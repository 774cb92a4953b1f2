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
    // Most records end lines with CR LF or LF: find each LF with memchr, then look for a bare
    // CR only inside that line.
    list.spans_.reserve(static_cast<size_t>(size / 48 + 1));
    qsizetype lineStart = 0;
    qsizetype nextLf = -1; // the next LF at or after lineStart, found once per LF
    unsigned lines = 0;
    while (lineStart < size) {
        if (keepAlive && ++lines % kKeepAliveLines == 0)
            keepAlive();
        if (nextLf < lineStart && nextLf != size) {
            const auto* found = static_cast<const char*>(
                std::memchr(data + lineStart, '\n', static_cast<size_t>(size - lineStart)));
            nextLf = found ? found - data : size;
        }
        const bool lf = nextLf < size;
        const qsizetype lineEnd = nextLf;
        const auto* cr = static_cast<const char*>(
            std::memchr(data + lineStart, '\r', static_cast<size_t>(lineEnd - lineStart)));
        if (cr && cr - data + 1 < lineEnd) {
            // A CR that ends a line of its own.
            list.spans_.push_back({uint32_t(lineStart), uint32_t(cr - data - lineStart)});
            lineStart = cr - data + 1;
            continue;
        }
        const qsizetype textEnd = cr ? lineEnd - 1 : lineEnd;
        if (lf || textEnd > lineStart || cr)
            list.spans_.push_back({uint32_t(lineStart), uint32_t(textEnd - lineStart)});
        lineStart = lineEnd + 1;
    }
    list.buffer_ = std::move(text);
    return list;
}

QString LineList::textAt(qsizetype i) const { return decodeWindows1250(at(i)); }

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

void LineList::removeAt(qsizetype i) { spans_.erase(spans_.begin() + i); }

void LineList::trimFront(qsizetype i, qsizetype count) {
    Span& s = spans_[static_cast<size_t>(i)];
    const auto n = uint32_t(count > qsizetype(s.length) ? s.length : count);
    s.start += n;
    s.length -= n;
}

} // namespace kx
