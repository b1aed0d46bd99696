#include "keeping/SessionStore.h"

#include "files/FileUtils.h"
#include "keeping/ContentHash.h"
#include "keeping/KeepingMessages.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavelto {

namespace {

// A kept session is a few kilobytes; anything much larger is not one.
constexpr std::int64_t kMaxKeptBytes = std::int64_t{4} * 1024 * 1024;

// A write's temporary file is its kept file's name and a dot and six characters.
constexpr std::size_t kTemporarySuffix = 7;

// No write takes this long: a temporary file this old was left by a write cut short.
constexpr std::time_t kLeftoverAge = std::time_t{60} * 60;

// The name of a kept file: the hash of its placement file's path, ".session", and for one
// before the current one its generation.
bool IsKeptFileName(const std::string& name) {
    constexpr std::size_t kHashDigits = 16;
    const std::string kind = name.size() > kHashDigits ? name.substr(kHashDigits) : "";
    const bool generation = kind.size() == 10 && kind.compare(0, 9, ".session.") == 0 &&
                            kind[9] >= '1' && kind[9] <= '9';
    return std::all_of(name.begin(), name.begin() + std::min(name.size(), kHashDigits),
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }) &&
           (kind == ".session" || generation);
}

// The kept file whose write left the temporary file of that name, or nothing for another file.
std::optional<std::string> TemporaryOf(const std::string& name) {
    if (name.size() <= kTemporarySuffix || name[name.size() - kTemporarySuffix] != '.')
        return std::nullopt;
    std::string kept = name.substr(0, name.size() - kTemporarySuffix);
    if (!IsKeptFileName(kept))
        return std::nullopt;
    return kept;
}

// Moving aside a session with nothing placed and no calibration would only push out one
// worth restoring.
bool WorthKeeping(const KeptSession& kept) {
    return !kept.placed.empty() || kept.calibration.state != CalState::None;
}

} // namespace

SessionStore::SessionStore(std::string folder) : folder_(std::move(folder)) {}

std::string SessionStore::generationPath(int generation) const {
    const std::string current =
        folder_ + "/" + HashText(Fnv1a(kFnvOffset, placementPath_.data(), placementPath_.size())) +
        ".session";
    return generation == 0 ? current : current + "." + std::to_string(generation);
}

std::optional<KeptSession> SessionStore::offered() const {
    const std::vector<KeptSession> sessions = history();
    if (sessions.empty())
        return std::nullopt;
    return sessions.front();
}

std::optional<KeptSession> SessionStore::keptForOtherContent() const {
    if (!open_)
        return std::nullopt;
    for (const std::optional<KeptSession>& kept : generations_)
        if (kept && kept->contentHash != contentHash_ && !kept->marks.empty())
            return kept;
    return std::nullopt;
}

std::vector<KeptSession> SessionStore::history() const {
    std::vector<KeptSession> sessions;
    if (!open_)
        return sessions;
    for (std::size_t i = keptSinceOpen_ ? 1 : 0; i < generations_.size(); ++i)
        if (generations_[i] && generations_[i]->contentHash == contentHash_)
            sessions.push_back(*generations_[i]);
    return sessions;
}

Result<void> SessionStore::openFile(const std::string& placementPath) {
    const bool sameFile = placementPath == placementPath_;
    const std::optional<std::uint64_t> hash = FileContentHash(placementPath);
    // The same content again while this store keeps it: what the files hold, or will once
    // written, is known without waiting for the writes and reading them back.
    if (sameFile && open_ && hash == contentHash_ && lock_.held()) {
        moveAsideOnKeep_ = true;
        keptRevision_.reset();
        keptSinceOpen_ = false;
        return {};
    }
    // Reads what earlier writes for this file left.
    writer_.flush();
    placementPath_ = placementPath;
    contentHash_ = hash.value_or(0);
    moveAsideOnKeep_ = true;
    keptRevision_.reset();
    keptSinceOpen_ = false;
    generations_.clear();
    open_ = hash.has_value() && !folder_.empty();
    if (!open_) {
        lock_ = FileLock();
        // Read a moment ago, gone or changed to unreadable since: nothing can be kept of it.
        if (!folder_.empty())
            return NotReadAgainMessage(placementPath);
        return {};
    }
    // Said now, before anything is placed, rather than at the first write.
    if (const FileResult<void> folder = MakePrivateFolder(folder_, MissingParents::Make); !folder) {
        open_ = false;
        lock_ = FileLock();
        return CantKeepMessage(folder.failure().path, folder.failure().reason);
    }
    const LockTaken lock = holdLock(sameFile);
    if (lock.heldElsewhere) {
        open_ = false;
        return OpenElsewhereMessage();
    }
    removeLeftovers();
    for (int generation = 0; generation < kKeptGenerations; ++generation)
        generations_.push_back(readKept(generationPath(generation)));
    if (lock.failure)
        return UnlockedMessage(lock.failure->path, lock.failure->reason);
    return {};
}

// Holds the lock on the current file's kept sessions. Where no lock can be had at all (a file
// system without locks, say), keeping goes on without one, and the user is told that another
// window could overwrite what this one keeps.
SessionStore::LockTaken SessionStore::holdLock(bool sameFile) {
    if (sameFile && lock_.held())
        return {};
    // Let go first: a lock of this very store on the same file would refuse the new one.
    lock_ = FileLock();
    FileResult<FileLock> lock = FileLock::Take(currentPath() + ".lock");
    if (!lock)
        return {false, lock.failure()};
    if (!lock->held())
        return {true, std::nullopt};
    lock_ = std::move(lock).value();
    return {};
}

void SessionStore::closeFile() {
    writer_.flush();
    lock_ = FileLock();
    open_ = false;
}

void SessionStore::keep(std::uint64_t revision, const std::function<KeptSession()>& state) {
    if (!open_ || keptRevision_ == revision)
        return;
    keptRevision_ = revision;
    KeptSession kept = state();
    kept.placementPath = placementPath_;
    kept.contentHash = contentHash_;
    kept.savedAt = static_cast<std::int64_t>(std::time(nullptr));
    KeptFileWriter::Job job{folder_, {currentPath()}, kept};
    if (moveAsideOnKeep_ && generations_.front() && WorthKeeping(*generations_.front())) {
        for (int generation = 1; generation < kKeptGenerations; ++generation)
            job.paths.push_back(generationPath(generation));
        generations_.insert(generations_.begin(), std::nullopt);
        generations_.pop_back();
    }
    moveAsideOnKeep_ = false;
    keptSinceOpen_ = true;
    generations_.front() = std::move(kept);
    writer_.write(std::move(job));
}

std::optional<UserMessage> SessionStore::takeFailure() {
    const std::optional<FileFailure> failure = writer_.takeFailure();
    if (!failure)
        return std::nullopt;
    return CantKeepMessage(failure->path, failure->reason);
}

// Only a session kept for this very file counts; one of other content is kept as history, never
// offered as it is. A file that is there but can't be read whole or fails its checks is damaged:
// it is named once.
std::optional<KeptSession> SessionStore::readKept(const std::string& path) {
    struct stat seen {};
    if (::lstat(path.c_str(), &seen) != 0)
        return std::nullopt;
    const FileResult<std::string> text = ReadWholeFile<std::string>(path, kMaxKeptBytes);
    std::optional<KeptSession> kept = text ? ParseKeptSession(text.value()) : std::nullopt;
    if (!kept) {
        if (damagedTold_.insert(path).second)
            damaged_.push_back(DamagedSessionMessage(path));
        return std::nullopt;
    }
    if (kept->placementPath != placementPath_)
        kept.reset();
    return kept;
}

// The temporary files of this file's kept sessions can only be leftovers while this store holds
// the lock; those of other files only once they are old.
void SessionStore::removeLeftovers() const {
    namespace fs = std::filesystem;
    const std::string current = fs::path(currentPath()).filename().string();
    const std::time_t now = std::time(nullptr);
    std::error_code error;
    for (fs::directory_iterator entry(folder_, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::optional<std::string> kept = TemporaryOf(entry->path().filename().string());
        struct stat seen {};
        if (!kept || ::lstat(entry->path().c_str(), &seen) != 0 || !S_ISREG(seen.st_mode))
            continue;
        if (kept->compare(0, current.size(), current) == 0 || now - seen.st_mtime > kLeftoverAge)
            ::unlink(entry->path().c_str());
    }
}

namespace {

// The home folder the user database gives the effective user; empty without one.
std::string HomeOfUser() {
    struct passwd entry {};
    struct passwd* found = nullptr;
    // Far more than any entry needs: sysconf() may not know a bound.
    std::vector<char> buffer(std::size_t{16} * 1024);
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir || found->pw_dir[0] != '/')
        return {};
    return found->pw_dir;
}

} // namespace

// A program started without HOME (by a service, or under env -i) still keeps its sessions in the
// user's home folder.
std::string SessionStateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/')
        return std::string(state) + "/kavelto";
    const char* home = std::getenv("HOME");
    const std::string homeFolder = home && home[0] == '/' ? std::string(home) : HomeOfUser();
    if (homeFolder.empty())
        return {};
    return homeFolder + "/.local/state/kavelto";
}

} // namespace kavelto
