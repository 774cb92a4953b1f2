#include "xml_converter.h"

#include <algorithm>
#include <cstring>

#include "numbers.h"
#include "time_stamp.h"
#include "xml_elements.h"

#include <array>

namespace kx {

namespace {

constexpr QByteArrayView kDeclaration = R"(<?xml version="1.0" encoding="windows-1250"?>)";
constexpr QByteArrayView kRecordTag = "<record>";
constexpr QByteArrayView kEventsTag = "<events>";
constexpr QByteArrayView kEventsEnd = "/events";
constexpr QByteArrayView kCreateHq = "chq";
constexpr QByteArrayView kRemoveHq = "rhq";

constexpr qsizetype kKeepAliveLines = 1024;
constexpr int kProgressEnd = 50;
constexpr int64_t kDaySeconds = 86400;
constexpr int64_t kTimeOffset = 7200; // the time texts run two hours ahead of UTC

// An event element: its tag, the keyword of its event-log line, how many children are read
// and which of them follow the time (child 0) and the keyword in the line.
struct EventKind {
    QByteArrayView tag;
    QByteArrayView keyword;
    int childCount;
    int fieldCount;
    std::array<int, 5> fields;
};

constexpr int kMaxChildren = 9;
constexpr std::array<EventKind, 7> kEventKinds = {{
    {"buy", "buy", 4, 3, {1, 2, 3}},
    {"att", "attack", 9, 5, {1, 2, 3, 7, 8}},
    {"cfd", "convert_gnd", 3, 2, {1, 2}},
    {"mov", "move", 4, 3, {1, 2, 3}},
    {"ret", "retreat", 3, 2, {1, 2}},
    {"trn", "trade", 4, 3, {1, 2, 3}},
    {"trb", "trade_hq", 5, 4, {1, 2, 3, 4}},
}};

static_assert(std::all_of(kEventKinds.begin(), kEventKinds.end(),
                          [](const EventKind& kind) { return kind.tag.size() == 3; }));

const EventKind* eventKind(QByteArrayView tag) {
    // Every tag has three letters: compared in place, without a call per kind.
    if (tag.size() != 3)
        return nullptr;
    for (const EventKind& kind : kEventKinds) {
        if (kind.tag[0] == tag[0] && kind.tag[1] == tag[1] && kind.tag[2] == tag[2])
            return &kind;
    }
    return nullptr;
}

// Appends "f0; f1; ...; fn;" to `lines`, written in place. Fields are short: a plain loop
// copies them faster than a call would.
void appendJoined(LineList& lines, const QByteArrayView* fields, int count) {
    qsizetype size = count > 0 ? -1 : 0;
    for (int i = 0; i < count; ++i)
        size += fields[i].size() + 2;
    char* const start = lines.beginAppend(size);
    char* out = start;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            *out++ = ' ';
        const char* from = fields[i].data();
        for (qsizetype k = 0, n = fields[i].size(); k < n; ++k)
            *out++ = from[k];
        *out++ = ';';
    }
    lines.endAppend(out - start);
}

void writeTwoDigits(char* out, int value) {
    out[0] = char('0' + value / 10);
    out[1] = char('0' + value % 10);
}

} // namespace

void XmlConverter::loadLog(QByteArray bytes) {
    log_ = LineList::fromText(std::move(bytes), progress_.keepAlive);
    streamedPath_.clear();
}

void XmlConverter::begin(qsizetype lines, qsizetype bytes) {
    lastError_.clear();
    lastProgress_ = -1;
    kxr_.clear();
    hq_.clear();
    hqc_.clear();
    kxr_.reserve(lines, bytes);
}

bool XmlConverter::convertXmlRecord() {
    stream_ = nullptr;
    // An event-log line is a little shorter than the element it comes from.
    begin(log_.size() + 3, log_.buffer().size() / 4 * 3);
    for (qsizetype i = 0; i < log_.size(); ++i) {
        const QByteArrayView line = log_.at(i);
        qsizetype blanks = 0;
        while (blanks < line.size() && line[blanks] == ' ')
            ++blanks;
        if (blanks > 0)
            log_.trimFront(i, blanks);
        keepAlive(i);
    }
    return convertLines();
}

bool XmlConverter::convertXmlStream(StreamedLines& lines, qint64 bytes) {
    log_.clear();
    stream_ = &lines;
    streamBytes_ = std::max<qint64>(bytes, 1);
    // Room taken generously, as a guess: it is mapped in only as it is used. An element of
    // the usual record takes more than 40 bytes.
    begin(qsizetype(bytes / 40 + 4), qsizetype(bytes / 4 * 3));
    const bool converted = convertLines();
    stream_ = nullptr;
    return converted;
}

bool XmlConverter::convertLines() {
    QByteArrayView line;
    if (!readLine(0, line, "XML deklarace"))
        return false;
    if (line != kDeclaration)
        return fail(QStringLiteral("Řádek 1 není XML deklarace záznamu."));
    if (!readLine(1, line, "<record>"))
        return false;
    if (line != kRecordTag)
        return fail(QStringLiteral("Řádek 2 není <record>."));
    int32_t players = 0;
    if (!readHeader(players))
        return false;
    if (!readLine(3, line, "<events>"))
        return false;
    if (line != kEventsTag)
        return fail(QStringLiteral("Řádek 4 není <events>."));
    qsizetype firstEvent = 0;
    if (!findFirstEvent(firstEvent) || !readHqBlock(players))
        return false;
    return readEvents(firstEvent);
}

// Line index with its leading blanks removed (in log they were removed before), if the
// record has that line.
bool XmlConverter::lineAt(qsizetype index, QByteArrayView& line) {
    if (!stream_) {
        if (index >= log_.size())
            return false;
        line = log_.at(index);
        return true;
    }
    if (!stream_->has(index))
        return false;
    line = stream_->at(index);
    qsizetype blanks = 0;
    while (blanks < line.size() && line[blanks] == ' ')
        ++blanks;
    line = line.sliced(blanks);
    return true;
}

bool XmlConverter::readLine(qsizetype index, QByteArrayView& line, const char* missing) {
    if (!lineAt(index, line)) {
        return fail(QStringLiteral("Záznam končí na řádku %1, chybí %2.")
                        .arg(lineCount())
                        .arg(QString::fromUtf8(missing)));
    }
    if (line.isEmpty())
        return fail(QStringLiteral("Řádek %1 je prázdný.").arg(index + 1));
    return true;
}

bool XmlConverter::timeText(QByteArrayView seconds, qsizetype index, QByteArrayView& text) {
    const std::optional<int32_t> value = parseDecimalInt(seconds);
    if (!value)
        return fail(QStringLiteral("Řádek %1: čas není celé číslo.").arg(index + 1));
    text = timeTextOf(*value);
    return true;
}

// Events come in time order, so most share their day with the one before: the date part is
// made once per day and only the clock "hh-mm-ss" at the end is rewritten.
QByteArrayView XmlConverter::timeTextOf(int32_t unixSeconds) {
    const int64_t local = int64_t{unixSeconds} + kTimeOffset;
    const int64_t day = (local >= 0 ? local : local - (kDaySeconds - 1)) / kDaySeconds;
    if (!timeValid_ || day != timeDay_) {
        time_ = timeTextFromUnix(unixSeconds);
        timeDay_ = day;
        timeValid_ = true;
        return time_;
    }
    const auto second = int(local - day * kDaySeconds);
    char* clock = time_.data() + time_.size() - 8;
    writeTwoDigits(clock, second / 3600);
    writeTwoDigits(clock + 3, second / 60 % 60);
    writeTwoDigits(clock + 6, second % 60);
    return time_;
}

// "f0; f1; ...; fn;" in the scratch line.
QByteArrayView XmlConverter::joinFields(const QByteArrayView* fields, int count) {
    qsizetype size = 0;
    for (int i = 0; i < count; ++i)
        size += fields[i].size() + 2;
    if (line_.capacity() < size)
        line_.reserve(size * 2);
    line_.resize(std::max<qsizetype>(size - 1, 0));
    char* out = line_.data();
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            *out++ = ' ';
        if (!fields[i].isEmpty())
            std::memcpy(out, fields[i].data(), static_cast<size_t>(fields[i].size()));
        out += fields[i].size();
        *out++ = ';';
    }
    return line_;
}

QByteArrayView XmlConverter::joinEntry(QByteArrayView name, QByteArrayView value) {
    line_.resize(0);
    line_.append(name).append('=').append(value);
    return line_;
}

bool XmlConverter::readHeader(int32_t& players) {
    QByteArrayView line;
    if (!readLine(2, line, "element world"))
        return false;
    if (tagName(line) != "world")
        return fail(QStringLiteral("Řádek 3 není element world."));
    std::array<QByteArrayView, 8> c;
    readChildren(line, c.data(), int(c.size()));
    QByteArrayView t;
    if (!timeText(c[2], 2, t))
        return false;
    kxr_.append(joinFields({t, c[1], c[5], c[3], c[4], c[6]}));
    kxr_.append(joinFields({t, "create_world", c[7]}));
    kxr_.append({});
    const std::optional<int32_t> count = parseDecimalInt(c[5]);
    if (!count || *count < 0)
        return fail(QStringLiteral("Řádek 3: počet hráčů není nezáporné celé číslo."));
    players = *count;
    return true;
}

// The events begin at the first line after line 5 whose tag is neither chq nor rhq.
bool XmlConverter::findFirstEvent(qsizetype& first) {
    for (qsizetype i = 4;; ++i) {
        QByteArrayView line;
        if (!readLine(i, line, "</events>"))
            return false;
        const QByteArrayView tag = tagName(line);
        if (tag != kCreateHq && tag != kRemoveHq) {
            first = i;
            return true;
        }
        keepAlive(i);
    }
}

// HQs are read from line 5 on, through any other lines, until as many are active as the
// world has players. This may read past the first event line.
bool XmlConverter::readHqBlock(int32_t players) {
    hqLines_.clear();
    hqEntries_.clear();
    hqTimes_.clear();
    const bool read = readHqLines(players);
    // What the block created and did not take back, in order, also after a failure.
    hqLines_.appendTo(kxr_);
    hqEntries_.appendTo(hq_);
    hqTimes_.appendTo(hqc_);
    return read;
}

bool XmlConverter::readHqLines(int32_t players) {
    int64_t active = 0;
    for (qsizetype i = 4; active != players; ++i) {
        QByteArrayView line;
        if (!readLine(i, line, "HQ všech hráčů"))
            return false;
        const QByteArrayView tag = tagName(line);
        if (tag == kCreateHq) {
            if (!createHq(i, line))
                return false;
            ++active;
        } else if (tag == kRemoveHq) {
            removeHq(line);
            --active;
        }
        keepAlive(i);
    }
    return true;
}

bool XmlConverter::createHq(qsizetype index, QByteArrayView line) {
    std::array<QByteArrayView, 4> c; // time, name, cell, team
    readChildren(line, c.data(), int(c.size()));
    QByteArrayView t;
    if (!timeText(c[0], index, t))
        return false;
    const QByteArrayView created = joinFields({t, "create_hq", c[1], c[3], c[2]});
    hqLines_.append(created, created);
    const QByteArrayView entry = joinEntry(c[1], c[2]);
    hqEntries_.append(entry, entry);
    // A time text holds no '=', so the name alone finds the entry "name=time".
    hqTimes_.append(joinEntry(c[1], t), c[1]);
    return true;
}

// Takes back the create_hq line of a player (as team louka, else as team les) and the
// player's hq and hqc entries: the first of each that matches. Whatever is not found stays.
void XmlConverter::removeHq(QByteArrayView line) {
    std::array<QByteArrayView, 3> c; // unused, name, cell
    readChildren(line, c.data(), int(c.size()));
    const QByteArrayView name = c[1];
    const QByteArrayView cell = c[2];
    const qsizetype timeEntry = hqTimes_.findFirst(name);
    const QByteArrayView t =
        timeEntry >= 0 ? hqTimes_.at(timeEntry).sliced(name.size() + 1) : QByteArrayView();

    for (const QByteArrayView team : {QByteArrayView("louka"), QByteArrayView("les")}) {
        const QByteArrayView created = joinFields({t, "create_hq", name, team, cell});
        // The lines before the block (header and map) come first in the search.
        bool removed = false;
        for (qsizetype j = 0; j < kxr_.size() && !removed; ++j) {
            if (kxr_.at(j) == created) {
                kxr_.removeAt(j);
                removed = true;
            }
        }
        if (removed || hqLines_.takeFirst(created))
            break;
    }
    hqEntries_.takeFirst(joinEntry(name, cell));
    hqTimes_.takeFirst(name);
}

bool XmlConverter::readEvents(qsizetype first) {
    lastProgress_ = -1;
    reportProgress(0);
    for (qsizetype i = first;; ++i) {
        QByteArrayView line;
        if (!readLine(i, line, "</events>"))
            return false;
        const QByteArrayView tag = tagName(line);
        if (tag == kEventsEnd)
            return true;
        if (const EventKind* kind = eventKind(tag)) {
            std::array<QByteArrayView, kMaxChildren> c;
            if (!readUsualChildren(line, tag, c.data(), kind->childCount))
                readChildren(line, c.data(), kind->childCount);
            std::array<QByteArrayView, 7> fields;
            if (!timeText(c[0], i, fields[0]))
                return false;
            fields[1] = kind->keyword;
            for (int f = 0; f < kind->fieldCount; ++f)
                fields[size_t(f) + 2] = c[size_t(kind->fields[size_t(f)])];
            appendJoined(kxr_, fields.data(), kind->fieldCount + 2);
        }
        reportProgress(progressAt(i));
        keepAlive(i);
        if (stream_)
            stream_->release(i + 1);
    }
}

// Of the lines, or of the bytes read when the record streams in.
int XmlConverter::progressAt(qsizetype index) const {
    if (stream_)
        return int(std::min(stream_->bytesRead(), streamBytes_) * kProgressEnd / streamBytes_);
    return int(int64_t{index} * kProgressEnd / int64_t{log_.size()});
}

void XmlConverter::keepAlive(qsizetype index) const {
    if (progress_.keepAlive && index % kKeepAliveLines == kKeepAliveLines - 1)
        progress_.keepAlive();
}

void XmlConverter::reportProgress(int value) {
    if (value == lastProgress_)
        return;
    lastProgress_ = value;
    if (progress_.setValue)
        progress_.setValue(value);
}

bool XmlConverter::fail(const QString& reason) {
    lastError_ = reason;
    return false;
}

} // namespace kx
