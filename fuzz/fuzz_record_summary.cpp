// Fuzz target: the record browser's summary of a record file.
//
// The input is a record's bytes followed by one control byte: bit 0 names the file ".kxr2"
// (read as an XML record) rather than ".kxr"; bits 1 and 2 choose the size of the summary's
// first read: 64, 512 or 4096 bytes, or the browser's own 64 KiB. The small ones make records of
// a few kilobytes longer than the first read, so that the summary reads only the head of the
// file, doubling it while it needs more, and checks the rest, as it does for a large record
// with its own first read. Whatever the bytes, the summary read from the file must be the one
// of the whole record in memory: the event-log lines as they are, or an XML record converted
// as a whole.

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

// The summary's first read, by bits 1 and 2 of the control byte.
constexpr qint64 kFirstReads[] = {64, 512, 4096, kx::kSummaryFirstRead};

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
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size - 1));

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
    const kx::SummaryResult result =
        kx::ShowRecordSummary(path, messages, kFirstReads[(control >> 1) & 3]);

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
