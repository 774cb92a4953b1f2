// Fuzz target: the XML record converter.
//
// The input is the bytes of an XML record. The conversion must end (success or failure)
// without reading outside its lines, report progress only from 0 to 50, give a reason exactly
// when it fails, and produce event-log lines that the splitter accepts. Converting while the
// record is read, in pieces of a size the input's first byte picks, must give exactly what the
// whole conversion gives. Most mutations keep the record's lines and elements whole
// (record_mutator.h).

#include "record_mutator.h"

#include "records/event_list.h"
#include "records/xml_converter.h"

#include <QByteArray>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kx::XmlConverter converter;
    int lastProgress = -1;
    converter.setProgress({[&lastProgress](int value) {
                               check(value >= 0 && value <= 50);
                               // A new value is reported only when it changes.
                               check(value != lastProgress);
                               lastProgress = value;
                           },
                           [] {}});
    converter.loadLog(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const bool converted = converter.convertXmlRecord();
    check(converted == converter.lastError().isEmpty());

    const kx::LineList& kxr = converter.kxr();
    if (converted) {
        // The header line, the map line and the empty line after them.
        check(kxr.size() >= 3);
        check(kxr.at(2).isEmpty());
    }
    kx::EventList events;
    for (qsizetype i = 0; i < kxr.size(); ++i) {
        kx::splitEventLine(kxr.at(i), events);
        check(!kxr.at(i).contains('\n') && !kxr.at(i).contains('\r'));
    }
    for (qsizetype i = 0; i < events.size(); ++i)
        check(events.item(i).subItemCount <= kx::EventItem::kMaxSubItems);
    for (qsizetype i = 0; i < converter.hq().size(); ++i)
        check(converter.hq().at(i).contains('='));
    for (qsizetype i = 0; i < converter.hqc().size(); ++i)
        check(converter.hqc().at(i).contains('='));

    // Read in pieces of 1 to 64 bytes: the same outcome, message and lists.
    {
        const size_t piece = size > 0 ? data[0] % 64 + 1 : 1;
        size_t offset = 0;
        kx::StreamedLines lines(
            [&](char* into, qint64 room) {
                const size_t got = std::min({size_t(room), piece, size - offset});
                if (got > 0)
                    std::memcpy(into, data + offset, got);
                offset += got;
                return qint64(got);
            },
            qsizetype(piece));
        kx::XmlConverter streamed;
        check(streamed.convertXmlStream(lines, qint64(size)) == converted);
        check(streamed.lastError() == converter.lastError());
        const auto same = [](const kx::LineList& a, const kx::LineList& b) {
            if (a.size() != b.size())
                return false;
            for (qsizetype i = 0; i < a.size(); ++i)
                if (a.at(i) != b.at(i))
                    return false;
            return true;
        };
        check(same(streamed.kxr(), kxr) && same(streamed.hq(), converter.hq()) &&
              same(streamed.hqc(), converter.hqc()));
    }

    // Converting the same lines again starts afresh and ends the same way.
    const qsizetype produced = kxr.size();
    lastProgress = -1;
    check(converter.convertXmlRecord() == converted);
    check(converter.kxr().size() == produced);
    return 0;
}

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned seed) {
    if (seed % 4 == 0)
        return LLVMFuzzerMutate(data, size, maxSize);
    return kxfuzz::mutateRecord(data, size, maxSize, seed / 4);
}
