#include "indexer.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace kx {

namespace {

bool isRecordFile(const QString& name) {
    return name.endsWith(QLatin1String(".kxr"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".kxr2"), Qt::CaseInsensitive);
}

// Entries read by the workers, handed to the calling thread, which alone writes the library.
class EntryQueue {
  public:
    void push(RecordEntry entry) {
        {
            std::lock_guard lock(mutex_);
            entries_.push_back(std::move(entry));
        }
        ready_.notify_one();
    }
    void workerDone() {
        {
            std::lock_guard lock(mutex_);
            ++done_;
        }
        ready_.notify_one();
    }
    // Waits up to `ms` for entries; gives what there is and whether every worker has ended.
    std::vector<RecordEntry> take(int workers, int ms, bool* finished) {
        std::unique_lock lock(mutex_);
        ready_.wait_for(lock, std::chrono::milliseconds(ms),
                        [&] { return entries_.size() >= 256 || done_ == workers; });
        *finished = done_ == workers;
        return std::exchange(entries_, {});
    }

  private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<RecordEntry> entries_;
    int done_ = 0;
};

} // namespace

IndexResult indexFolders(Library& library, const QStringList& folders,
                         const std::function<void(const IndexProgress&)>& progress,
                         const std::atomic<bool>* cancel, int threads) {
    IndexResult result;
    IndexProgress& counts = result.counts;
    auto report = [&] {
        if (progress)
            progress(counts);
    };
    auto cancelled = [&] { return cancel && cancel->load(); };

    QStringList toRead;
    for (const QString& folder : folders) {
        const QFileInfo info(folder);
        if (!info.isDir()) {
            result.errors
                << QString::fromUtf8("Složka neexistuje: %1").arg(QDir::toNativeSeparators(folder));
            continue;
        }
        const QString root = info.absoluteFilePath();
        if (!library.addFolder(root)) {
            result.errors << library.lastError();
            continue;
        }
        QHash<QString, FileStamp> known = library.stampsUnder(root);
        QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            const QFileInfo file = it.fileInfo();
            if (!isRecordFile(file.fileName()))
                continue;
            ++counts.found;
            const QString path = file.absoluteFilePath();
            const auto seen = known.constFind(path);
            const FileStamp stamp{file.size(), file.lastModified().toMSecsSinceEpoch()};
            if (seen != known.constEnd() && *seen == stamp)
                ++counts.unchanged;
            else
                toRead << path;
            if (seen != known.constEnd())
                known.erase(seen);
            if (counts.found % 4096 == 0)
                report();
        }
        const QStringList gone = known.keys();
        if (!library.remove(gone))
            result.errors << library.lastError();
        else
            counts.removed += static_cast<int>(gone.size());
    }
    toRead.removeDuplicates();
    counts.toRead = static_cast<int>(toRead.size());
    report();

    const int workers =
        std::max(1, std::min(threads > 0 ? threads : QThread::idealThreadCount(), counts.toRead));
    std::atomic<qsizetype> next{0};
    EntryQueue queue;
    std::vector<std::thread> pool;
    if (!toRead.isEmpty())
        for (int w = 0; w < workers; ++w)
            pool.emplace_back([&] {
                for (qsizetype i = next++; i < toRead.size() && !cancelled(); i = next++)
                    queue.push(readRecordEntry(toRead[i]));
                queue.workerDone();
            });

    bool finished = pool.empty();
    bool writeFailed = false;
    while (!finished) {
        std::vector<RecordEntry> batch = queue.take(workers, 200, &finished);
        if (batch.empty() || writeFailed)
            continue;
        if (!library.store(batch)) {
            result.errors << library.lastError();
            writeFailed = true; // keep draining the workers; nothing more is written
            continue;
        }
        for (const RecordEntry& entry : batch)
            counts.damaged += entry.damaged.isEmpty() ? 0 : 1;
        counts.read += static_cast<int>(batch.size());
        report();
    }
    for (std::thread& t : pool)
        t.join();
    if (counts.read + counts.removed > 0) {
        library.analyze();
        library.refreshCareerTotals();
    }
    result.cancelled = cancelled();
    report();
    return result;
}

} // namespace kx
