#pragma once

#include "record_format.h"
#include "record_loader.h"
#include "world.h"
#include "xml_converter.h"

#include <QString>

#include <atomic>
#include <future>

namespace kx {

// A record read on a thread of its own, started before the windows are built, so that reading
// and converting it overlap the program's start-up. The first load of the same file in the
// same format takes it instead of reading the file again.
class RecordPrefetch {
  public:
    // Starts reading `path` as readRecord would from `world` and a fresh converter.
    RecordPrefetch(const QString& path, RecordFormat format, const World& world);
    // Waits for the read when it was never taken.
    ~RecordPrefetch();
    RecordPrefetch(const RecordPrefetch&) = delete;
    RecordPrefetch& operator=(const RecordPrefetch&) = delete;

    bool isFor(const QString& path, RecordFormat format) const {
        return path == path_ && format == format_;
    }

    // Waits for the read, passing its progress on and keeping the window served; gives what
    // readRecord gives, with the conversion's lists in `converter`. Once.
    RecordLoad take(XmlConverter& converter, LoadProgress& progress);

  private:
    QString path_;
    RecordFormat format_;
    XmlConverter converter_;
    std::atomic<int> percent_{0};
    std::future<RecordLoad> load_;
};

} // namespace kx
