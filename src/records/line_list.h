#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>

namespace kx {

class LineSplitter;

// A list of text lines held as views into one shared byte buffer (Windows-1250 bytes).
// Copying a LineList is cheap: the buffer and the line table are implicitly shared.
class LineList {
  public:
    LineList() = default;

    // Splits bytes at CR LF, LF or CR. A final line without a line end counts; an empty
    // text has no lines. keepAlive, when given, is called every few thousand lines so that a
    // window stays served while a long text is split.
    static LineList fromText(QByteArray text, const std::function<void()>& keepAlive = {});

    qsizetype size() const { return static_cast<qsizetype>(spans_.size()); }
    bool isEmpty() const { return spans_.empty(); }
    QByteArrayView at(qsizetype i) const {
        const Span& s = spans_.at(i);
        return QByteArrayView(buffer_.constData() + s.start, s.length);
    }
    QString textAt(qsizetype i) const; // decoded for display

    void clear();
    void reserve(qsizetype lines, qsizetype bytes);
    void append(QByteArrayView line);
    // Appends a line of `size` bytes written in place: fill the room returned, then call
    // endAppend with the same size. Nothing else may change the list in between.
    char* beginAppend(qsizetype size);
    void endAppend(qsizetype size) {
        spans_.push_back({uint32_t(used_), uint32_t(size)});
        used_ += size;
    }
    // Appends line i of source, sharing source's buffer when this list is empty or already
    // shares it (no bytes are copied then).
    void appendFrom(const LineList& source, qsizetype i);
    // Removes line i (O(n), used only for the rare HQ removal of the converter).
    void removeAt(qsizetype i);
    // Drops `count` bytes from the start of line i (the converter's blank removal).
    void trimFront(qsizetype i, qsizetype count);

    // The text, possibly followed by room that appended lines have not used yet.
    const QByteArray& buffer() const { return buffer_; }
    // Bytes held by the text and the line table.
    qint64 memoryBytes() const {
        return buffer_.capacity() + qint64(spans_.capacity() * sizeof(Span));
    }

    // Where a line stands in the text.
    struct Span {
        uint32_t start;
        uint32_t length;
    };

  private:
    friend class LineSplitter;
    QByteArray buffer_;
    qsizetype used_ = 0;      // bytes of buffer_ holding text; append writes after them
    qsizetype populated_ = 0; // bytes of buffer_'s room already mapped in
    QList<Span> spans_;       // shared by copies, like the text
};

// Splits a text into lines while it arrives, by the rule of LineList::fromText: each call
// looks only at the bytes added since the one before, so a text read in pieces is split
// while each piece is still in the processor's cache.
class LineSplitter {
  public:
    // text is the whole text so far (it may have moved since the last call). Unless the text
    // is complete, its last byte waits for the next call (a CR there may begin a CR LF).
    void advance(QByteArrayView text, bool complete);
    // Room for the line table of a text of about this many bytes, taken before the first
    // call (too much is only reserved, never touched; too little copies the table as it grows).
    void expectBytes(qsizetype size);
    // The lines of the complete text, which has been advanced over with complete set.
    LineList take(QByteArray text);

    // For a text read through a window: the lines found so far, which may be cleared once
    // taken, and where the line not yet ended begins.
    const QList<LineList::Span>& spans() const { return spans_; }
    void clearSpans() { spans_.clear(); }
    qsizetype pendingLineStart() const { return lineStart_; }
    // The text's first `count` bytes, all before the pending line, are gone: later calls see
    // the text without them. Lines still held keep their old offsets.
    void dropFront(qsizetype count) {
        lineStart_ -= count;
        scanned_ -= count;
    }

  private:
    QList<LineList::Span> spans_;
    qsizetype lineStart_ = 0;
    qsizetype scanned_ = 0; // bytes before this have been looked at
};

} // namespace kx
