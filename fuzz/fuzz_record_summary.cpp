// Fuzz target: the record browser's summary of a record file.
//
// The input is a record's bytes followed by one control byte: bit 0 names the file ".kxr2"
// (read as an XML record) rather than ".kxr"; bits 1 to 3 all set make the record long by
// repeating one of its lines, chosen by bits 4-7, until the record is larger than the
// browser's first read, so that the summary reads only the head of the file and checks the
// rest (one input in eight: a long record costs as much as a hundred short ones). Whatever the
// bytes, the summary read from the file must be the one of the whole record in memory: the
// event-log lines as they are, or an XML record converted as a whole.

#include "record_mutator.h"

#include "browser/record_summary.h"

#include "records/line_list.h"
#include "records/user_messages.h"
#include "records/xml_converter.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

// Aborts, naming the line of the failed check.
void check(bool condition, int line = __builtin_LINE()) {
    if (!condition) {
        std::fprintf(stderr, "check failed at %s:%d\n", __FILE__, line);
        std::abort();
    }
}

// Larger than the browser's first read of a file (64 KiB).
constexpr qsizetype kLongRecord = qsizetype{80} << 10;

// The record with line `choice` (modulo the line count) repeated after itself until the
// record is longer than kLongRecord.
QByteArray lengthened(const QByteArray& bytes, unsigned choice) {
    QList<qsizetype> starts{0};
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n' && i + 1 < bytes.size())
            starts.append(i + 1);
    const qsizetype start = starts[qsizetype(choice) % starts.size()];
    qsizetype end = bytes.indexOf('\n', start);
    end = end < 0 ? bytes.size() : end + 1;
    QByteArray line = bytes.mid(start, end - start);
    if (!line.endsWith('\n'))
        line.append('\n');
    QByteArray result = bytes.first(end);
    if (!result.endsWith('\n'))
        result.append('\n');
    const qsizetype copies = kLongRecord / line.size() + 1;
    result.reserve(result.size() + copies * line.size() + bytes.size() - end);
    for (qsizetype i = 0; i < copies; ++i)
        result.append(line);
    return result.append(bytes.sliced(end));
}

bool sameSummary(const kx::RecordSummary& a, const kx::RecordSummary& b) {
    return a.lbMN == b.lbMN && a.lbMR == b.lbMR && a.lbMS == b.lbMS && a.lbML == b.lbML &&
           a.lbTR == b.lbTR && a.lbTS == b.lbTS && a.lbPl == b.lbPl;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t control = data[size - 1];
    const bool xml = control & 1;
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size - 1));
    if ((control & 14) == 14)
        bytes = lengthened(bytes, control >> 4);

    static QTemporaryDir dir;
    check(dir.isValid());
    const QString path = dir.filePath(xml ? QStringLiteral("mapa_2005-01-02.kxr2")
                                          : QStringLiteral("mapa_2005-01-02.kxr"));
    {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        check(file.write(bytes) == bytes.size());
    }

    kx::RecordedMessages messages;
    const kx::SummaryResult result = kx::ShowRecordSummary(path, messages);

    // The same record summarized as a whole, in memory.
    kx::RecordSummary expected;
    std::optional<kx::SummaryStatus> status;
    if (xml) {
        kx::XmlConverter converter;
        converter.loadLog(bytes);
        status = converter.convertXmlRecord()
                     ? kx::summarizeRecordLines(converter.kxr(), true, expected)
                     : kx::SummaryStatus::NotRead;
    } else {
        status = kx::summarizeRecordLines(kx::LineList::fromText(bytes), true, expected);
    }
    check(status.has_value());
    if (*status != kx::SummaryStatus::Shown)
        expected = {};

    check(result.status == *status);
    check(sameSummary(result.summary, expected));
    check(result.fileError.isEmpty());
    check(messages.shown.size() == (result.status == kx::SummaryStatus::Damaged ? 1 : 0));
    return 0;
}

// Mutates the record apart from its control byte, keeping it mostly well formed.
extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned seed) {
    if (size < 2 || seed % 4 == 0)
        return LLVMFuzzerMutate(data, size, maxSize);
    const uint8_t control = data[size - 1];
    const size_t recordSize = kxfuzz::mutateRecord(data, size - 1, maxSize - 1, seed / 4);
    data[recordSize] = control;
    return recordSize + 1;
}
