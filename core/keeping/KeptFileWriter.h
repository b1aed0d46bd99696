#pragma once

#include "files/FileResult.h"
#include "keeping/KeptSession.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kavelto {

// Writes kept sessions on a thread of its own, so that writing them out and flushing them to the
// disk never holds up the window. Each write replaces the file whole. A write waits a moment
// before it starts, and a newer one for the same file takes its place meanwhile, unless one of
// them moves the files aside first: while a key is held, only the last state reaches the disk. A
// failed write is recorded for the window to tell once: a failure for the same reason again stays
// quiet until a write succeeds.
class KeptFileWriter {
public:
    struct Job {
        std::string folder;
        // Where the session goes, then, to move the files aside first, where the file there
        // moves, where the one there moves, and so on; the last one there goes.
        std::vector<std::string> paths;
        KeptSession session;

        bool movesAside() const { return paths.size() > 1; }
    };

    KeptFileWriter();
    // Writes what is still waiting before it goes.
    ~KeptFileWriter();
    KeptFileWriter(const KeptFileWriter&) = delete;
    KeptFileWriter& operator=(const KeptFileWriter&) = delete;

    void write(Job job);
    // Returns once every write asked for is done, without waiting for a newer one.
    void flush();

    // The failure not told yet, once.
    std::optional<FileFailure> takeFailure();

private:
    void run();
    void record(const FileResult<void>& outcome);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    bool busy_ = false;
    bool flushing_ = false;
    bool stopping_ = false;
    std::optional<FileFailure> lastFailure_; // since the last write that succeeded
    std::optional<FileFailure> untold_;
    std::thread thread_;
};

} // namespace kavelto
