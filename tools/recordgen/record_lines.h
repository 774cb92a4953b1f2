#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>

#include <cstdint>

namespace kx {

// Writes CR LF-ended lines to a device in large chunks; without a device it discards them.
class LineWriter {
  public:
    explicit LineWriter(QIODevice* device) : device_(device) {
        if (device_)
            buffer_.reserve(kChunk + 4096);
    }
    void line(QByteArrayView text) {
        if (!device_)
            return;
        buffer_.append(text);
        buffer_.append("\r\n");
        if (buffer_.size() >= kChunk)
            flush();
    }
    // Writes what is left; false when any write failed.
    bool finish() {
        flush();
        return ok_;
    }

  private:
    static constexpr qsizetype kChunk = 1 << 16;
    void flush() {
        if (ok_ && !buffer_.isEmpty())
            ok_ = device_->write(buffer_) == buffer_.size();
        buffer_.resize(0);
    }
    QIODevice* device_;
    QByteArray buffer_;
    bool ok_ = true;
};

// One event as its XML element line and its event-log line, built side by side so that the
// log line is exactly what the converter makes of the element: the element's children in
// order, and the log's fields from the children that the conversion copies.
class EventLinePair {
  public:
    // Starts element <tag> with its time child and the log line "time text; keyword;".
    void begin(const char* tag, const char* keyword, int32_t unixTime, QByteArrayView timeText) {
        tag_ = tag;
        xml_ = "    <";
        xml_ += tag;
        xml_ += '>';
        xmlChild("time", QByteArray::number(unixTime));
        log_ = timeText.toByteArray();
        log_ += ';';
        logField(keyword);
    }
    // A child that the conversion copies into the log line.
    void both(const char* child, QByteArrayView value) {
        xmlChild(child, value);
        logField(value);
    }
    // A child that the conversion passes over.
    void xmlChild(const char* child, QByteArrayView value) {
        xml_ += '<';
        xml_ += child;
        xml_ += '>';
        xml_ += value;
        xml_ += "</";
        xml_ += child;
        xml_ += '>';
    }
    void write(LineWriter& xml, LineWriter& log) {
        xml_ += "</";
        xml_ += tag_;
        xml_ += '>';
        xml.line(xml_);
        log.line(log_);
    }

  private:
    void logField(QByteArrayView value) {
        log_ += ' ';
        log_ += value;
        log_ += ';';
    }
    const char* tag_ = "";
    QByteArray xml_;
    QByteArray log_;
};

} // namespace kx
