#include "keeping/SessionStore.h"

#include "files/FileUtils.h"
#include "keeping/KeepingMessages.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace kavelto {

namespace {

// A kept session is a few kilobytes; anything much larger is not one.
constexpr std::int64_t kMaxKeptBytes = std::int64_t{4} * 1024 * 1024;

constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;

std::uint64_t Fnv1a(std::uint64_t hash, const char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        hash ^= static_cast<unsigned char>(bytes[i]);
        hash *= kFnvPrime;
    }
    return hash;
}

std::string Hex(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

// Moving aside a session with nothing placed and no calibration would only push out one
// worth restoring.
bool WorthKeeping(const KeptSession& kept) {
    return !kept.placed.empty() || kept.calibration.state != CalState::None;
}

} // namespace

SessionStore::SessionStore(std::string folder) : folder_(std::move(folder)) {}

std::string SessionStore::currentPath() const {
    return folder_ + "/" + Hex(Fnv1a(kFnvOffset, placementPath_.data(), placementPath_.size())) +
           ".session";
}

std::string SessionStore::previousPath() const {
    return currentPath() + ".previous";
}

Result<void> SessionStore::openFile(const std::string& placementPath) {
    const bool sameFile = placementPath == placementPath_;
    const std::optional<std::uint64_t> hash = FileContentHash(placementPath);
    // The same content again while this store keeps it: what the files hold, or will once
    // written, is known without waiting for the writes and reading them back.
    if (sameFile && open_ && hash == contentHash_ && lock_.held()) {
        moveAsideOnKeep_ = true;
        keptRevision_.reset();
        offered_ = current_;
        return {};
    }
    // Reads what earlier writes for this file left.
    writer_.flush();
    placementPath_ = placementPath;
    contentHash_ = hash.value_or(0);
    moveAsideOnKeep_ = true;
    keptRevision_.reset();
    open_ = hash.has_value() && !folder_.empty();
    if (open_ && !holdLock(sameFile)) {
        open_ = false;
        offered_.reset();
        return OpenElsewhereMessage();
    }
    if (!open_)
        lock_ = FileLock();
    current_ = open_ ? readKept(currentPath()) : std::nullopt;
    previous_ = open_ ? readKept(previousPath()) : std::nullopt;
    offered_ = current_;
    return {};
}

// Holds the lock on the current file's kept sessions; false when another store holds it. Where
// no lock can be had at all, keeping goes on without one: its writes then tell what is wrong.
bool SessionStore::holdLock(bool sameFile) {
    if (sameFile && lock_.held())
        return true;
    // Let go first: a lock of this very store on the same file would refuse the new one.
    lock_ = FileLock();
    if (!MakePrivateFolder(folder_, MissingParents::Make))
        return true;
    FileResult<FileLock> lock = FileLock::Take(currentPath() + ".lock");
    if (!lock)
        return true;
    if (!lock->held())
        return false;
    lock_ = std::move(lock).value();
    return true;
}

void SessionStore::closeFile() {
    writer_.flush();
    lock_ = FileLock();
    open_ = false;
    offered_.reset();
}

void SessionStore::keep(std::uint64_t revision, const std::function<KeptSession()>& state) {
    if (!open_ || keptRevision_ == revision)
        return;
    keptRevision_ = revision;
    KeptSession kept = state();
    kept.placementPath = placementPath_;
    kept.contentHash = contentHash_;
    kept.savedAt = static_cast<std::int64_t>(std::time(nullptr));
    KeptFileWriter::Job job{folder_, currentPath(), previousPath(), false, kept};
    if (moveAsideOnKeep_) {
        if (current_ && WorthKeeping(*current_)) {
            job.moveAside = true;
            previous_ = current_;
        }
        offered_ = previous_;
        moveAsideOnKeep_ = false;
    }
    current_ = std::move(kept);
    writer_.write(std::move(job));
}

std::optional<UserMessage> SessionStore::takeFailure() {
    const std::optional<FileFailure> failure = writer_.takeFailure();
    if (!failure)
        return std::nullopt;
    return CantKeepMessage(failure->path, failure->reason);
}

// Only a session kept for this very file, with the same content, can be put back.
std::optional<KeptSession> SessionStore::readKept(const std::string& path) const {
    const FileResult<std::string> text = ReadWholeFile<std::string>(path, kMaxKeptBytes);
    std::optional<KeptSession> kept = text ? ParseKeptSession(text.value()) : std::nullopt;
    if (kept && (kept->placementPath != placementPath_ || kept->contentHash != contentHash_))
        kept.reset();
    return kept;
}

std::string SessionStateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/')
        return std::string(state) + "/kavelto";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.local/state/kavelto";
    return {};
}

std::optional<std::uint64_t> FileContentHash(const std::string& path) {
    const FileResult<RegularFile> file = OpenRegularFile(path);
    if (!file)
        return std::nullopt;
    std::uint64_t hash = kFnvOffset;
    char buffer[64 * 1024];
    for (;;) {
        const FileResult<std::size_t> read = ReadUpTo(file.value(), buffer, sizeof buffer);
        if (!read)
            return std::nullopt;
        hash = Fnv1a(hash, buffer, read.value());
        if (read.value() < sizeof buffer)
            return hash;
    }
}

} // namespace kavelto
