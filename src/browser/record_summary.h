#pragma once

#include "records/user_messages.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace kx {

class LineList;

inline const char* const kDamagedRecordMessage = "Záznam je zřejmě poškozen.";

// The record browser's summary pane: the six value labels and the player list.
struct RecordSummary {
    QString lbMN;     // the world's name
    QString lbMR;     // width " x " height
    QString lbMS;     // moves per hour
    QString lbML;     // the player limit, as written
    QString lbTR;     // creation time "dd. mm. - hh:mm:ss"
    QString lbTS;     // the first HQ's time, the same form
    QStringList lbPl; // "name (team)" per player
};

enum class SummaryStatus {
    Shown,      // the record's summary was read
    NotRead,    // nothing to show: a record without lines, or an XML record not convertible
    Damaged,    // no world header or no player count; kDamagedRecordMessage was shown
    Unreadable, // the file itself cannot be read
};

struct SummaryResult {
    SummaryStatus status = SummaryStatus::NotRead;
    RecordSummary summary; // all empty unless Shown
    QString fileError;     // for Unreadable: why, for the user
};

// The summary of a record's event-log lines: its first two non-empty lines are the world
// header and the map line in either order, the next non-empty lines its players' create_hq
// lines, as many as the header's player count (or as there are). `whole` says whether `lines`
// are the whole record; when they are only its start and the summary needs more of it, the
// result is nullopt. Lines, fields and rows that a record lacks read as empty.
std::optional<SummaryStatus> summarizeRecordLines(const LineList& lines, bool whole,
                                                  RecordSummary& summary);

// The first read of a record: room for the header, the map and a few dozen HQ lines.
constexpr qint64 kSummaryFirstRead = qint64{64} << 10;

// ShowRecordSummary: reads the summary of the record at `path` by its record type (taken from
// the file's own name): "kxr2" is converted as an XML record with a converter of its own,
// anything else is read as an event log. Reads only as much of an event log as the summary
// needs: `firstRead` bytes at first, twice as many while the summary needs more. A damaged
// record shows kDamagedRecordMessage through `messages`; a file that cannot be read is reported
// in the result only.
SummaryResult ShowRecordSummary(const QString& path, UserMessages& messages,
                                qint64 firstRead = kSummaryFirstRead);

} // namespace kx
