#include "xml_events_check.h"

#include "record_file_reader.h"

#include "records/numbers.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <thread>

namespace kx {

namespace {

// The element reading rules of the XML record converter, limited to what decides whether a
// line can be converted: the tag name of a line and the first child of an element.

// How far past the middle of a record a line start is looked for: lines are far shorter.
constexpr qint64 kMaxSplitReach = qint64{1} << 16;

constexpr std::array<QByteArrayView, 7> kEventTags = {"buy", "att", "cfd", "mov",
                                                      "ret", "trn", "trb"};

struct Brackets {
    qsizetype open = -1;
    qsizetype close = -1;
    bool found() const { return open >= 0 && close >= 0; }
};

// The first '<' (not the last byte) and the first '>'. Plain loops: both are usually within a
// few bytes of the start, nearer than a library search pays for.
Brackets findBrackets(QByteArrayView text) {
    Brackets b;
    const char* data = text.data();
    for (qsizetype at = 0; at + 1 < text.size(); ++at) {
        if (data[at] == '<') {
            b.open = at;
            break;
        }
    }
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (data[at] == '>') {
            b.close = at;
            break;
        }
    }
    return b;
}

QByteArrayView tagBetween(QByteArrayView text, Brackets b) {
    return b.close > b.open ? text.sliced(b.open + 1, b.close - b.open - 1) : QByteArrayView();
}

QByteArrayView tagName(QByteArrayView text) {
    const Brackets b = findBrackets(text);
    return b.found() ? tagBetween(text, b) : text;
}

// The first "</" tag ">" in text, or -1. A plain loop: the lines are short, and most of the
// closing tags met on the way fail at their '>' before the names are compared.
qsizetype findClosingTag(QByteArrayView text, QByteArrayView tag) {
    const char* data = text.data();
    const qsizetype length = tag.size();
    for (qsizetype at = 0; at + length + 3 <= text.size(); ++at) {
        if (data[at] == '<' && data[at + 1] == '/' && data[at + 2 + length] == '>' &&
            std::equal(tag.begin(), tag.end(), data + at + 2))
            return at;
    }
    return -1;
}

// The text between an element's first '>' and its closing tag; the whole text without one.
QByteArrayView content(QByteArrayView text) {
    const Brackets b = findBrackets(text);
    if (!b.found())
        return text;
    const qsizetype end = findClosingTag(text, tagBetween(text, b));
    if (end < 0)
        return text;
    return end > b.close ? text.sliced(b.close + 1, end - b.close - 1) : QByteArrayView();
}

// content(content(line)) for the usual event line, "<buy><time>1794651564</time>…</buy>", read
// from its first bytes and its last ones: an element of a three-letter tag (as the caller has
// found), a first child of another name whose content holds no '<', and the element's closing
// tag at the end. No "</buy>" can then begin before the child has closed, so the element's
// content reaches past it. Any other line (nullopt) takes the general way.
std::optional<QByteArrayView> usualFirstChildContent(QByteArrayView line) {
    const char* p = line.data();
    const qsizetype n = line.size();
    if (n < 12 || p[0] != '<' || p[4] != '>' || p[5] != '<' || p[6] == '/')
        return std::nullopt;
    qsizetype childClose = 6;
    while (childClose < n && p[childClose] != '>' && p[childClose] != '<')
        ++childClose;
    if (childClose == 6 || childClose >= n || p[childClose] != '>')
        return std::nullopt;
    const QByteArrayView tag = line.sliced(1, 3);
    const QByteArrayView child = line.sliced(6, childClose - 6);
    qsizetype end = childClose + 1;
    while (end < n && p[end] != '<')
        ++end;
    const qsizetype checked = end + child.size() + 3;
    if (checked > n || p[end + 1] != '/' || p[checked - 1] != '>' ||
        !std::equal(child.begin(), child.end(), p + end + 2) ||
        std::equal(child.begin(), child.end(), tag.begin(), tag.end()))
        return std::nullopt;
    if (p[n - 6] != '<' || p[n - 5] != '/' || p[n - 1] != '>' ||
        !std::equal(tag.begin(), tag.end(), p + n - 4))
        return std::nullopt;
    return line.sliced(childClose + 1, end - childClose - 1);
}

QByteArrayView firstChildContent(QByteArrayView line) {
    if (const std::optional<QByteArrayView> usual = usualFirstChildContent(line))
        return *usual;
    return content(content(line));
}

bool isEventTag(QByteArrayView tag) {
    if (tag.size() != 3)
        return false;
    for (QByteArrayView eventTag : kEventTags) {
        if (tag[0] == eventTag[0] && tag[1] == eventTag[1] && tag[2] == eventTag[2])
            return true;
    }
    return false;
}

QByteArrayView withoutLeadingBlanks(QByteArrayView line) {
    qsizetype blanks = 0;
    while (blanks < line.size() && line[blanks] == ' ')
        ++blanks;
    return line.sliced(blanks);
}

} // namespace

// The next CR and the next LF are each searched once and kept until the cursor passes them,
// so that a text with only one kind of line end is still read in one pass.
qsizetype LineCursor::nextOf(char c, qsizetype& cached) {
    if (cached < pos_) {
        const auto* hit = static_cast<const char*>(
            std::memchr(bytes_.data() + pos_, c, size_t(bytes_.size() - pos_)));
        cached = hit ? hit - bytes_.data() : bytes_.size();
    }
    return cached;
}

bool LineCursor::next(QByteArrayView& line) {
    const qsizetype size = bytes_.size();
    if (pos_ >= size)
        return false;
    const qsizetype lf = nextOf('\n', nextLf_);
    const qsizetype cr = nextOf('\r', nextCr_);
    const qsizetype end = std::min(lf, cr);
    line = bytes_.sliced(pos_, end - pos_);
    pos_ = end + 1;
    if (end == cr && pos_ < size && bytes_[pos_] == '\n')
        ++pos_;
    return true;
}

bool XmlEventsCheck::decide(bool readable) {
    phase_ = Phase::Done;
    readable_ = readable;
    return false;
}

bool XmlEventsCheck::feed(QByteArrayView line) {
    switch (phase_) {
    case Phase::Done:
        return false;
    case Phase::Head:
        if (++headLines_ == 4)
            phase_ = Phase::FirstEvent;
        return true;
    case Phase::FirstEvent:
    case Phase::Events:
        break;
    }
    line = withoutLeadingBlanks(line);
    if (line.isEmpty())
        return decide(false);
    const QByteArrayView tag = tagName(line);
    if (phase_ == Phase::FirstEvent) {
        // The events begin at the first line that is neither chq nor rhq.
        if (tag == "chq" || tag == "rhq")
            return true;
        phase_ = Phase::Events;
    }
    if (tag.size() == 7 && tag == "/events")
        return decide(true);
    if (isEventTag(tag) && !parseDecimalInt(firstChildContent(line)))
        return decide(false);
    return true;
}

std::optional<bool> xmlEventsReadable(RecordFileReader& reader, qint64 splitAbove) {
    const auto feed = [](XmlEventsCheck& check) {
        return [&check](QByteArrayView line) { return check.feed(line); };
    };
    XmlEventsCheck first;
    std::optional<qint64> middle;
    if (reader.size() > splitAbove)
        middle = reader.lineStartAfter(reader.size() / 2, kMaxSplitReach);
    if (!middle) {
        if (!reader.forEachLine(feed(first)))
            return std::nullopt;
        return first.readable();
    }
    // The second half is judged as lines among the events. Its verdict counts when the first
    // half gets to it among the events and undecided; otherwise the first goes on alone.
    XmlEventsCheck second = XmlEventsCheck::amongEvents();
    bool secondRead = false;
    std::thread worker([&] {
        RecordFileReader other;
        secondRead = other.open(reader.path(), nullptr) && other.forEachLine(feed(second), *middle);
    });
    const bool firstRead = reader.forEachLine(feed(first), 0, *middle);
    worker.join();
    if (!firstRead)
        return std::nullopt;
    if (first.inEvents()) {
        if (!secondRead)
            return std::nullopt;
        return second.readable();
    }
    if (!first.decided() && !reader.forEachLine(feed(first), *middle))
        return std::nullopt;
    return first.readable();
}

bool xmlEventsReadable(QByteArrayView bytes) {
    XmlEventsCheck check;
    LineCursor cursor(bytes);
    QByteArrayView line;
    while (cursor.next(line) && check.feed(line)) {
    }
    return check.readable();
}

} // namespace kx
