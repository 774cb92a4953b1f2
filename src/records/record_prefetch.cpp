#include "record_prefetch.h"

#include <chrono>

namespace kx {

namespace {

// The reading thread's progress: only the share, which the waiting window shows.
class SharedProgress : public LoadProgress {
  public:
    explicit SharedProgress(std::atomic<int>& percent) : percent_(percent) {}
    void set(int value) override { percent_.store(value, std::memory_order_relaxed); }
    void keepAlive() override {}

  private:
    std::atomic<int>& percent_;
};

} // namespace

RecordPrefetch::RecordPrefetch(const QString& path, RecordFormat format, const World& world)
    : path_(path), format_(format) {
    load_ = std::async(std::launch::async, [this, world] {
        SharedProgress progress(percent_);
        return readRecord(path_, format_, world, converter_, progress);
    });
}

RecordPrefetch::~RecordPrefetch() {
    if (load_.valid())
        load_.wait();
}

RecordLoad RecordPrefetch::take(XmlConverter& converter, LoadProgress& progress) {
    // The window is served every few milliseconds while the thread reads.
    while (load_.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
        progress.set(percent_.load(std::memory_order_relaxed));
        progress.keepAlive();
    }
    RecordLoad load = load_.get();
    converter = std::move(converter_);
    return load;
}

} // namespace kx
