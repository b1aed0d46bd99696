#include "keeping/KeptFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavelto {

namespace {

// Makes each missing folder of path, private to the user.
bool MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

// Written to a fresh file beside path, flushed to the disk, then renamed over path: whatever
// happens on the way, path holds either the old text or the new one, whole.
bool ReplaceFile(const std::string& path, const std::string& text) {
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    const bool ok = written == text.size() && ::fdatasync(fd) == 0;
    if (::close(fd) != 0 || !ok || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

void Carry(const KeptFileWriter::Job& job) {
    if (!MakeFolders(job.folder))
        return;
    if (job.moveAside)
        ::rename(job.path.c_str(), job.asidePath.c_str());
    ReplaceFile(job.path, job.text);
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
        if (!jobs_.empty() && !job.moveAside && jobs_.back().path == job.path)
            jobs_.back().text = std::move(job.text);
        else
            jobs_.push_back(std::move(job));
    }
    changed_.notify_all();
}

void KeptFileWriter::flush() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

void KeptFileWriter::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty())
            return;
        const Job job = std::move(jobs_.front());
        jobs_.pop_front();
        busy_ = true;
        lock.unlock();
        Carry(job);
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

} // namespace kavelto
