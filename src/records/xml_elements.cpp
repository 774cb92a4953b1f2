#include "xml_elements.h"

#include <QtGlobal>

namespace kx {

namespace {

struct Brackets {
    qsizetype open = -1;
    qsizetype close = -1;
    bool found() const { return open >= 0 && close >= 0; }
};

// The first c in text, or -1. Record lines are short, so a plain scan beats a library call.
qsizetype findChar(QByteArrayView text, char c) {
    const char* data = text.data();
    for (qsizetype i = 0; i < text.size(); ++i)
        if (data[i] == c)
            return i;
    return -1;
}

Brackets findBrackets(QByteArrayView text) {
    Brackets b;
    if (text.size() > 1)
        b.open = findChar(text.first(text.size() - 1), '<');
    b.close = findChar(text, '>');
    return b;
}

// Where "</" tag ">" first stands in text, or -1.
qsizetype findClosingTag(QByteArrayView text, QByteArrayView tag) {
    const qsizetype length = tag.size() + 3;
    const char* data = text.data();
    const char* name = tag.data();
    for (qsizetype at = 0; at + length <= text.size(); ++at) {
        if (data[at] != '<' || data[at + 1] != '/' || data[at + length - 1] != '>')
            continue;
        qsizetype k = 0;
        while (k < tag.size() && data[at + 2 + k] == name[k])
            ++k;
        if (k == tag.size())
            return at;
    }
    return -1;
}

QByteArrayView tagBetween(QByteArrayView text, Brackets b) {
    // A '>' before the '<' leaves nothing between them.
    return b.close > b.open ? text.sliced(b.open + 1, b.close - b.open - 1) : QByteArrayView();
}

struct Element {
    QByteArrayView content; // between the first '>' and the closing tag "</" tag ">"
    QByteArrayView rest;    // after the closing tag
};

// Without a closing tag (a short empty element, or one spread over several lines) both the
// content and the rest are the whole text.
Element readElement(QByteArrayView text) {
    const Brackets b = findBrackets(text);
    if (!b.found())
        return {text, text};
    const QByteArrayView tag = tagBetween(text, b);
    const qsizetype end = findClosingTag(text, tag);
    if (end < 0)
        return {text, text};
    const QByteArrayView content =
        end > b.close ? text.sliced(b.close + 1, end - b.close - 1) : QByteArrayView();
    return {content, text.sliced(end + tag.size() + 3)};
}

} // namespace

QByteArrayView tagName(QByteArrayView text) {
    const Brackets b = findBrackets(text);
    return b.found() ? tagBetween(text, b) : text;
}

void readChildren(QByteArrayView element, QByteArrayView* children, int count) {
    QByteArrayView remaining = readElement(element).content;
    for (int k = 0; k < count; ++k) {
        const Element child = readElement(remaining);
        children[k] = child.content;
        remaining = child.rest;
    }
}

// Equal to readChildren on every line it accepts: "<tag>" opens the line and "</tag>" ends it;
// each child "<n>x</n>" has a name n with neither bracket, not beginning with '/' and not the
// tag, and a content x without '<'. Then the only '<' before the last child's end are the
// children's own, none of which begins "</tag>", so the element's content reaches past them;
// and in each child the first '>' ends its name and the first "</n>" follows its content.
namespace {

// Whether the n bytes at a and b are equal; names are a few bytes, so no call is made.
bool sameBytes(const char* a, const char* b, qsizetype n) {
    for (qsizetype i = 0; i < n; ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

} // namespace

bool readUsualChildren(QByteArrayView line, QByteArrayView tag, QByteArrayView* children,
                       int count) {
    const qsizetype size = line.size();
    const qsizetype t = tag.size();
    const char* d = line.data();
    if (size < 2 * t + 5 || d[0] != '<' || d[t + 1] != '>' || !sameBytes(d + 1, tag.data(), t))
        return false;
    const qsizetype closing = size - t - 3; // where "</tag>" begins
    if (d[closing] != '<' || d[closing + 1] != '/' || d[size - 1] != '>' ||
        !sameBytes(d + closing + 2, tag.data(), t))
        return false;
    qsizetype at = t + 2;
    for (int k = 0; k < count; ++k) {
        if (at >= closing || d[at] != '<')
            return false;
        qsizetype nameEnd = at + 1;
        while (nameEnd < closing && d[nameEnd] != '>' && d[nameEnd] != '<')
            ++nameEnd;
        if (nameEnd >= closing || d[nameEnd] != '>')
            return false;
        const qsizetype nameSize = nameEnd - at - 1;
        const char* name = d + at + 1;
        if ((nameSize > 0 && name[0] == '/') || (nameSize == t && sameBytes(name, tag.data(), t)))
            return false;
        qsizetype contentEnd = nameEnd + 1;
        while (contentEnd < closing && d[contentEnd] != '<')
            ++contentEnd;
        const qsizetype after = contentEnd + nameSize + 3;
        if (after > closing || d[contentEnd + 1] != '/' || d[after - 1] != '>' ||
            !sameBytes(d + contentEnd + 2, name, nameSize))
            return false;
        children[k] = QByteArrayView(d + nameEnd + 1, contentEnd - nameEnd - 1);
        at = after;
    }
    return true;
}

} // namespace kx
