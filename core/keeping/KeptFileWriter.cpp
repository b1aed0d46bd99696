#include "keeping/KeptFileWriter.h"

#include "files/FileUtils.h"

#include <chrono>
#include <cstdio>
#include <utility>

namespace kavelto {

namespace {

// Only the user may read what was placed on which board.
constexpr mode_t kKeptFileMode = 0600;

// How long a write waits for a newer one to take its place: a held key repeats faster.
constexpr std::chrono::milliseconds kSettle{100};

FileResult<void> Carry(const KeptFileWriter::Job& job) {
    if (FileResult<void> folder = MakePrivateFolder(job.folder, MissingParents::Make); !folder)
        return folder;
    // Oldest first, each over the next. A file that is not there has nothing to move aside;
    // whatever else stops a move stops the write that follows too, which then says why.
    for (std::size_t i = job.paths.size() - 1; i > 0; --i)
        std::rename(job.paths[i - 1].c_str(), job.paths[i].c_str());
    // On the disk before the rename: a power cut leaves the old session or the new one.
    return WriteFileAtomically(job.paths.front(), KeptSessionText(job.session), kKeptFileMode,
                               Durability::OnDisk);
}

} // namespace

KeptFileWriter::KeptFileWriter() : thread_([this] { run(); }) {}

KeptFileWriter::~KeptFileWriter() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void KeptFileWriter::write(Job job) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!jobs_.empty() && !job.movesAside() && jobs_.back().paths.front() == job.paths.front())
            jobs_.back().session = std::move(job.session);
        else
            jobs_.push_back(std::move(job));
    }
    changed_.notify_all();
}

void KeptFileWriter::flush() {
    std::unique_lock<std::mutex> lock(mutex_);
    flushing_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return jobs_.empty() && !busy_; });
    flushing_ = false;
}

std::optional<FileFailure> KeptFileWriter::takeFailure() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(untold_, std::nullopt);
}

// Runs under the mutex.
void KeptFileWriter::record(const FileResult<void>& outcome) {
    if (outcome) {
        lastFailure_.reset();
        return;
    }
    if (lastFailure_ && lastFailure_->reason == outcome.failure().reason)
        return;
    lastFailure_ = outcome.failure();
    untold_ = outcome.failure();
}

void KeptFileWriter::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty())
            return;
        changed_.wait_for(lock, kSettle, [this] { return stopping_ || flushing_; });
        const Job job = std::move(jobs_.front());
        jobs_.pop_front();
        busy_ = true;
        lock.unlock();
        const FileResult<void> outcome = Carry(job);
        lock.lock();
        record(outcome);
        busy_ = false;
        changed_.notify_all();
    }
}

} // namespace kavelto
