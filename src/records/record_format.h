#pragma once

#include <QString>

namespace kx {

// How a record's text is read: as an XML record (converted to event-log lines) or as an event
// log used as it is.
enum class RecordFormat { Xml, EventLog };

// How a record handed over by name is read: a name ending in ".kxr2" (any letter case) as an
// XML record, anything else as an event log.
inline RecordFormat recordFormatForPath(const QString& path) {
    return path.endsWith(QLatin1String(".kxr2"), Qt::CaseInsensitive) ? RecordFormat::Xml
                                                                      : RecordFormat::EventLog;
}

} // namespace kx
