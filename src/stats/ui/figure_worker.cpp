#include "figure_worker.h"

#include "library/record_entry.h"
#include "replay/session.h"

#include <QThread>

#include <atomic>
#include <utility>

namespace kx {

// One computation on the worker thread. The thread only reads its own copy of the event
// list (sharing the record's text, which is never changed once loaded).
struct FigureWorker::Job {
    uint64_t generation = 0; // the session's record generation
    EventList events;
    LineList lines; // the record's lines, for its content hash
    QString hash;
    std::atomic<int> progress{0};
    std::atomic<bool> cancel{false};
    WorldFigures result;
};

FigureWorker::FigureWorker(ReplaySession& session, QObject* parent)
    : QObject(parent), session_(session) {}

FigureWorker::~FigureWorker() {
    if (thread_) {
        job_->cancel = true;
        thread_->wait();
        delete thread_;
    }
}

QString FigureWorker::contentHash() const {
    return current() ? hash_ : QString();
}

int FigureWorker::progress() const {
    return job_ ? job_->progress.load() : 100;
}

const WorldFigures* FigureWorker::current() const {
    if (session_.state().lvData.isEmpty() || !cache_.isCurrent(session_))
        return nullptr;
    return &cache_.cached();
}

void FigureWorker::refresh() {
    if (job_) {
        if (job_->generation != session_.recordGeneration())
            job_->cancel = true;
        return;
    }
    if (session_.state().lvData.isEmpty()) {
        cache_.clear();
        return;
    }
    if (!cache_.isCurrent(session_))
        start();
}

void FigureWorker::start() {
    job_ = std::make_shared<Job>();
    job_->generation = session_.recordGeneration();
    job_->events = session_.state().lvData;
    job_->lines = session_.state().lbOpen;
    std::shared_ptr<Job> job = job_;
    thread_ = QThread::create([job] {
        job->result = computeWorldFigures(job->events, [&job](int percent) {
            job->progress = percent;
            return !job->cancel.load();
        });
        if (!job->result.cancelled && !job->cancel)
            job->hash = recordContentHash(job->lines);
    });
    connect(thread_, &QThread::finished, this, [this] { jobFinished(); });
    thread_->start();
}

void FigureWorker::jobFinished() {
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    std::shared_ptr<Job> job = std::exchange(job_, nullptr);
    if (!job->result.cancelled) {
        cache_.store(job->generation, std::move(job->result));
        hash_ = job->hash;
    }
    // The record may have changed while the pass ran.
    refresh();
    Q_EMIT finished();
}

} // namespace kx
