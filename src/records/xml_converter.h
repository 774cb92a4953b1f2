#pragma once

#include "keyed_lines.h"
#include "line_list.h"
#include "streamed_lines.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <functional>
#include <initializer_list>

namespace kx {

// How a running conversion reports to a window. Both parts may be left empty.
struct ConversionProgress {
    // The progress bar's value, 0 to 50: 0 when the events begin, then on every change.
    std::function<void(int)> setValue;
    // Called every few thousand lines so that a window can process pending events.
    std::function<void()> keepAlive;
};

// Converts an XML record, read line by line, into event-log lines. It owns the four line
// lists of a conversion, all Windows-1250 bytes:
//   log  the record's lines (leading blanks removed by the conversion)
//   kxr  the event-log lines produced
//   hq   "name=cell" for every player whose HQ was created
//   hqc  "name=time" (the time text of the HQ's creation) for the same players
// The lists keep the last conversion's results; after a failure kxr, hq and hqc hold what
// was appended before it.
class XmlConverter {
  public:
    // Replaces log by the lines of a file's bytes (split at CR LF, LF or CR), keeping a
    // window alive through the progress's keepAlive while it splits.
    void loadLog(QByteArray bytes);
    // The same for a text already split into lines.
    void loadLines(LineList lines) {
        log_ = std::move(lines);
        streamedPath_.clear();
    }
    void setProgress(ConversionProgress progress) { progress_ = std::move(progress); }

    // Converts log into kxr, hq and hqc; false when the record cannot be read. Never reads
    // outside log, whatever it holds.
    bool convertXmlRecord();
    // The same for a record's lines as they are read, of a text of about `bytes` bytes: the
    // record is never held whole, and log is left empty. The lines read are not drained.
    bool convertXmlStream(StreamedLines& lines, qint64 bytes);

    // Why the last conversion failed (Czech, for logs and tests); empty after a success.
    const QString& lastError() const { return lastError_; }

    const LineList& log() const { return log_; }
    const LineList& kxr() const { return kxr_; }
    const LineList& hq() const { return hq_; }
    const LineList& hqc() const { return hqc_; }

    // The file of the last streamed conversion, whose lines log does not hold; empty once log
    // is loaded again.
    const QString& streamedPath() const { return streamedPath_; }
    void setStreamedPath(const QString& path) { streamedPath_ = path; }

  private:
    void begin(qsizetype lines, qsizetype bytes);
    bool convertLines();
    bool lineAt(qsizetype index, QByteArrayView& line);
    qsizetype lineCount() const { return stream_ ? stream_->size() : log_.size(); }
    int progressAt(qsizetype index) const;
    bool readLine(qsizetype index, QByteArrayView& line, const char* missing);
    bool timeText(QByteArrayView seconds, qsizetype index, QByteArrayView& text);
    QByteArrayView timeTextOf(int32_t unixSeconds);
    QByteArrayView joinFields(const QByteArrayView* fields, int count);
    QByteArrayView joinFields(std::initializer_list<QByteArrayView> fields) {
        return joinFields(fields.begin(), int(fields.size()));
    }
    QByteArrayView joinEntry(QByteArrayView name, QByteArrayView value);
    bool readHeader(int32_t& players);
    bool findFirstEvent(qsizetype& first);
    bool readHqBlock(int32_t players);
    bool readHqLines(int32_t players);
    bool createHq(qsizetype index, QByteArrayView line);
    void removeHq(QByteArrayView line);
    bool readEvents(qsizetype first);
    void keepAlive(qsizetype index) const;
    void reportProgress(int value);
    bool fail(const QString& reason);

    LineList log_;
    LineList kxr_;
    LineList hq_;
    LineList hqc_;
    // The HQ block's create_hq lines and hq and hqc entries while it is read; they join kxr,
    // hq and hqc when it ends.
    KeyedLines hqLines_;
    KeyedLines hqEntries_;
    KeyedLines hqTimes_;
    ConversionProgress progress_;
    StreamedLines* stream_ = nullptr; // the lines of a streamed conversion, else log
    qint64 streamBytes_ = 0;
    QString streamedPath_;
    QString lastError_;
    int lastProgress_ = -1;

    // Scratch buffers reused for every line, so that the conversion allocates nothing per
    // line beyond the growth of kxr.
    QByteArray line_;
    QByteArray time_;
    int64_t timeDay_ = 0;
    bool timeValid_ = false;
};

} // namespace kx
