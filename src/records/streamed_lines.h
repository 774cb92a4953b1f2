#pragma once

#include "line_list.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <deque>
#include <functional>

namespace kx {

// The lines of a text that is read in pieces, split by the rule of LineList::fromText. Only
// the lines not yet released are held, so a long text passes through a small window.
class StreamedLines {
  public:
    // Reads up to `room` bytes into `into`: how many were read, 0 at the end, -1 on an error.
    using Reader = std::function<qint64(char* into, qint64 room)>;

    explicit StreamedLines(Reader reader, qsizetype pieceBytes = qsizetype{1} << 18);

    // Whether line i is in the text, reading on until it is complete or the text ends.
    // Lines before the released ones must not be asked for.
    bool has(qsizetype i);
    // Line i, after has(i) said it is there.
    QByteArrayView at(qsizetype i) const {
        const Line& line = lines_[static_cast<size_t>(i - first_)];
        return {window_.constData() + (line.start - base_), line.length};
    }
    // Lines before i will not be asked for again: their bytes may be dropped.
    void release(qsizetype i);
    // Reads the rest of the text and drops it, so that the reader sees its end.
    void drain();

    // The lines found so far: all of them once the text has ended.
    qsizetype size() const { return first_ + qsizetype(lines_.size()); }
    bool ended() const { return ended_; }
    bool failed() const { return failed_; } // the reader reported an error
    qint64 bytesRead() const { return read_; }
    qsizetype heldBytes() const { return window_.capacity(); }

  private:
    struct Line {
        qint64 start; // from the text's first byte
        qsizetype length;
    };

    void readPiece();
    void dropReleasedBytes();

    Reader reader_;
    qsizetype pieceBytes_;
    QByteArray window_; // the text from byte base_ on
    qint64 base_ = 0;
    LineSplitter splitter_;
    std::deque<Line> lines_; // the lines from first_ on
    qsizetype first_ = 0;
    qint64 read_ = 0;
    bool ended_ = false;
    bool failed_ = false;
};

} // namespace kx
