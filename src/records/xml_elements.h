#pragma once

#include <QByteArrayView>

namespace kx {

// The record's elements are read line by line, never as a tree. An element's tag is what
// stands between the first '<' (one that is not the last character) and the first '>' of the
// text; without either, the whole text stands for the tag, the content and the rest.
QByteArrayView tagName(QByteArrayView text);

// The first `count` children of an element, known only by position: each is the content of
// what the one before left. Without a closing tag (a short empty element, or one spread over
// several lines) an element's content and rest are both its whole text.
void readChildren(QByteArrayView element, QByteArrayView* children, int count);

// readChildren for the usual event line, "<tag><a>x</a><b>y</b>...</tag>" with `tag` as
// tagName gives it, read in one pass. False when the line is not of that shape; the children
// are then unset and readChildren must be used.
bool readUsualChildren(QByteArrayView line, QByteArrayView tag, QByteArrayView* children,
                       int count);

} // namespace kx
