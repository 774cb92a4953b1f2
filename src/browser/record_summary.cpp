#include "record_summary.h"

#include "record_file_reader.h"
#include "record_list.h"
#include "xml_events_check.h"

#include "records/event_list.h"
#include "records/line_list.h"
#include "records/numbers.h"
#include "records/record_loader.h"
#include "records/time_stamp.h"
#include "records/xml_converter.h"

#include <QFileInfo>

#include <algorithm>

namespace kx {

namespace {

// The non-empty lines of a list, split into rows one after another.
class RowReader {
  public:
    explicit RowReader(const LineList& lines) : lines_(lines) {}
    bool next(EventItem& row) {
        while (index_ < lines_.size()) {
            const QByteArrayView line = lines_.at(index_++);
            if (!line.isEmpty()) {
                row = splitFields(line);
                return true;
            }
        }
        return false;
    }

  private:
    const LineList& lines_;
    qsizetype index_ = 0;
};

// An event log is used as it is: only its first lines are read.
std::optional<SummaryStatus> summarizeEventLog(RecordFileReader& reader, qint64 firstRead,
                                               RecordSummary& summary) {
    for (qint64 limit = firstRead;; limit *= 2) {
        bool whole = false;
        std::optional<QByteArray> head = reader.head(limit, &whole);
        if (!head)
            return std::nullopt;
        const LineList lines = LineList::fromText(std::move(*head));
        if (const auto status = summarizeRecordLines(lines, whole, summary))
            return status;
    }
}

// An XML record is summarized from the conversion of its first lines, closed by an "/events"
// line of our own, as long as the HQ block ends within them; the rest of the record is only
// checked (as the conversion would check it), without making its event-log lines. The
// conversion of the whole record would give the same lines and the same success.
std::optional<SummaryStatus> summarizeXml(RecordFileReader& reader, qint64 firstRead,
                                          RecordSummary& summary) {
    std::optional<bool> eventsReadable;
    for (qint64 limit = firstRead;; limit *= 2) {
        bool whole = false;
        std::optional<QByteArray> head = reader.head(limit, &whole);
        if (!head)
            return std::nullopt;
        if (!whole)
            head->append("</events>\n");
        XmlConverter converter;
        converter.loadLog(std::move(*head));
        const bool converted = converter.convertXmlRecord();
        if (whole) {
            if (!converted)
                return SummaryStatus::NotRead;
            return summarizeRecordLines(converter.kxr(), true, summary);
        }
        if (!eventsReadable) {
            eventsReadable = xmlEventsReadable(reader);
            if (!eventsReadable)
                return std::nullopt;
        }
        if (!*eventsReadable)
            return SummaryStatus::NotRead;
        // A failure within the first lines may be an HQ block that goes on after them.
        if (converted) {
            if (const auto status = summarizeRecordLines(converter.kxr(), false, summary))
                return status;
        }
    }
}

} // namespace

std::optional<SummaryStatus> summarizeRecordLines(const LineList& lines, bool whole,
                                                  RecordSummary& summary) {
    summary = {};
    if (lines.isEmpty())
        return whole ? std::optional(SummaryStatus::NotRead) : std::nullopt;

    RowReader rows(lines);
    EventItem row0;
    EventItem row1;
    if (!(rows.next(row0) && rows.next(row1)) && !whole)
        return std::nullopt;

    const QByteArrayView createWorld("create_world");
    EventItem header;
    if (row1.caption == createWorld)
        header = row0;
    else if (row0.caption == createWorld)
        header = row1;
    else
        return SummaryStatus::Damaged;
    const std::optional<int32_t> players = parseDecimalInt(header.subItem(1));
    if (!players)
        return SummaryStatus::Damaged;

    RecordSummary result;
    for (int32_t i = 0; i < *players; ++i) {
        EventItem row;
        if (!rows.next(row)) {
            if (!whole)
                return std::nullopt;
            break;
        }
        if (i == 0)
            result.lbTS = eventTimeLabel(row.subItem(0));
        if (!row.caption.isEmpty())
            result.lbPl.append(row.subItemText(1) + QStringLiteral(" (") + row.subItemText(2) +
                               QStringLiteral(")"));
    }
    result.lbMN = header.captionText();
    result.lbMR = header.subItemText(2) + QStringLiteral(" x ") + header.subItemText(3);
    result.lbMS = header.subItemText(4);
    result.lbML = header.subItemText(1);
    result.lbTR = eventTimeLabel(header.subItem(0));
    summary = std::move(result);
    return SummaryStatus::Shown;
}

SummaryResult ShowRecordSummary(const QString& path, UserMessages& messages, qint64 firstRead) {
    SummaryResult result;
    RecordFileReader reader;
    if (!reader.open(path, &result.fileError)) {
        result.status = SummaryStatus::Unreadable;
        return result;
    }
    const bool xml = recordTypeOf(QFileInfo(path).fileName()) == QLatin1String("kxr2");
    const qint64 first = std::max<qint64>(firstRead, 1); // doubling starts from a byte
    const std::optional<SummaryStatus> status =
        xml ? summarizeXml(reader, first, result.summary)
            : summarizeEventLog(reader, first, result.summary);
    if (!status) {
        result.status = SummaryStatus::Unreadable;
        result.fileError = QString::fromUtf8(LoadMessages::kCannotOpen) + path;
    } else {
        result.status = *status;
    }
    if (result.status != SummaryStatus::Shown)
        result.summary = {};
    if (result.status == SummaryStatus::Damaged)
        messages.showMessage(QString::fromUtf8(kDamagedRecordMessage));
    return result;
}

} // namespace kx
