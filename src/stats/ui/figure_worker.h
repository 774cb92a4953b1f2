#pragma once

#include "stats/figure_cache.h"

#include <QObject>

#include <memory>

class QThread;

namespace kx {

class ReplaySession;

// The figures, markers and content hash of the session's record, computed by one quiet replay on a
// worker thread and cached until the record changes. The charts window and the timeline share it.
class FigureWorker : public QObject {
    Q_OBJECT
  public:
    explicit FigureWorker(ReplaySession& session, QObject* parent = nullptr);
    ~FigureWorker() override;

    // Looks at the session's record again: keeps cached figures, or starts computing them (a
    // pass for another record is cancelled first).
    void refresh();
    bool computing() const { return job_ != nullptr; }
    int progress() const;
    const FigureCache& cache() const { return cache_; }
    // The figures of the session's current record, or nullptr while there are none.
    const WorldFigures* current() const;
    // The content hash of the session's current record (as the record library keys it), empty
    // while it is being computed.
    QString contentHash() const;

  Q_SIGNALS:
    // A pass ended (finished, cancelled or failed); cache() holds its figures when it finished.
    void finished();

  private:
    struct Job;
    void start();
    void jobFinished();

    ReplaySession& session_;
    FigureCache cache_;
    std::shared_ptr<Job> job_;
    QThread* thread_ = nullptr;
    QString hash_; // of the cached figures' record
};

} // namespace kx
