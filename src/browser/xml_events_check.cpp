#include "xml_events_check.h"

#include "records/numbers.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace kx {

namespace {

// The element reading rules of the XML record converter, limited to what decides whether a
// line can be converted: the tag name of a line and the first child of an element.

constexpr std::array<QByteArrayView, 7> kEventTags = {"buy", "att", "cfd", "mov",
                                                      "ret", "trn", "trb"};

struct Brackets {
    qsizetype open = -1;
    qsizetype close = -1;
    bool found() const { return open >= 0 && close >= 0; }
};

Brackets findBrackets(QByteArrayView text) {
    Brackets b;
    if (text.size() > 1)
        b.open = text.first(text.size() - 1).indexOf('<');
    b.close = text.indexOf('>');
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

bool isEventTag(QByteArrayView tag) {
    for (QByteArrayView eventTag : kEventTags) {
        if (tag == eventTag)
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
    if (tag == "/events")
        return decide(true);
    if (isEventTag(tag) && !parseDecimalInt(content(content(line))))
        return decide(false);
    return true;
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
