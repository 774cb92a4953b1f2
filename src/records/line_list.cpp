#include "line_list.h"

#include "windows1250.h"

namespace kx {

LineList LineList::fromText(QByteArray text) {
    LineList list;
    const char* data = text.constData();
    const qsizetype size = text.size();
    qsizetype lineStart = 0;
    for (qsizetype pos = 0; pos < size; ++pos) {
        const char c = data[pos];
        if (c != '\n' && c != '\r')
            continue;
        list.spans_.push_back({uint32_t(lineStart), uint32_t(pos - lineStart)});
        if (c == '\r' && pos + 1 < size && data[pos + 1] == '\n')
            ++pos;
        lineStart = pos + 1;
    }
    if (lineStart < size)
        list.spans_.push_back({uint32_t(lineStart), uint32_t(size - lineStart)});
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
}

void LineList::append(QByteArrayView line) {
    const auto start = uint32_t(buffer_.size());
    buffer_.append(line);
    spans_.push_back({start, uint32_t(line.size())});
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
