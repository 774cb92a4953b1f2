#pragma once

#include <QByteArrayView>

#include <optional>

namespace kx {

class RecordFileReader;

// Walks the lines of a record's bytes without copying them, split as LineList splits them:
// at CR LF, LF or CR; a last line without a line end counts; empty bytes have no lines.
class LineCursor {
  public:
    explicit LineCursor(QByteArrayView bytes) : bytes_(bytes) {}

    // The next line, false when there is none.
    bool next(QByteArrayView& line);
    // Bytes consumed so far: the start of the next line.
    qsizetype position() const { return pos_; }

  private:
    qsizetype nextOf(char c, qsizetype& cached);

    QByteArrayView bytes_;
    qsizetype pos_ = 0;
    qsizetype nextLf_ = -1;
    qsizetype nextCr_ = -1;
};

// Whether converting an XML record would get through its events, checked line by line without
// making any event-log line: from line 5, past the chq and rhq lines, the first event line
// must be found, and every line from there to the closing "/events" line must be present, not
// empty once its leading blanks are removed, and, for the seven event elements, begin with a
// time child that is a decimal integer. The record's first four lines and its HQ block are the
// converter's to check; the conversion succeeds exactly when both checks pass.
class XmlEventsCheck {
  public:
    XmlEventsCheck() = default;
    // A check of lines that all come after the first event line: a later part of a record.
    static XmlEventsCheck amongEvents() {
        XmlEventsCheck check;
        check.phase_ = Phase::Events;
        return check;
    }

    // Takes the record's next line; false once the verdict is known and no line is needed.
    bool feed(QByteArrayView line);
    // The verdict; false while the closing line has not been reached.
    bool readable() const { return phase_ == Phase::Done && readable_; }
    bool decided() const { return phase_ == Phase::Done; }
    // Whether the lines fed so far have reached the first event line, undecided.
    bool inEvents() const { return phase_ == Phase::Events; }

  private:
    enum class Phase { Head, FirstEvent, Events, Done };
    bool decide(bool readable);

    Phase phase_ = Phase::Head;
    int headLines_ = 0;
    bool readable_ = false;
};

// The same check over a whole record held in memory.
bool xmlEventsReadable(QByteArrayView bytes);

// The same check over a record file. One larger than `splitAbove` bytes is read in two halves
// at once, the second on another thread. nullopt on a read error.
constexpr qint64 kEventsCheckSplitAbove = qint64{8} << 20;
std::optional<bool> xmlEventsReadable(RecordFileReader& reader,
                                      qint64 splitAbove = kEventsCheckSplitAbove);

} // namespace kx
