#include "SessionStore.h"

#include "TextFileReader.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavelto {

namespace {

// A kept session is a few kilobytes; anything much larger is not one.
constexpr std::int64_t kMaxKeptBytes = 4 * 1024 * 1024;

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

// Up to limit bytes of a regular file, or nothing.
std::optional<std::string> ReadSmallFile(const std::string& path, std::int64_t limit) {
    std::int64_t size = 0;
    const int fd = OpenRegularFile(path.c_str(), size);
    if (fd < 0)
        return std::nullopt;
    std::string bytes;
    if (size <= limit) {
        bytes.resize(static_cast<std::size_t>(size));
        const ssize_t got = ::read(fd, bytes.data(), bytes.size());
        if (got != static_cast<ssize_t>(size))
            bytes.clear();
    }
    ::close(fd);
    if (bytes.empty())
        return std::nullopt;
    return bytes;
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

void SessionStore::openFile(const std::string& placementPath) {
    const std::optional<std::uint64_t> hash = FileContentHash(placementPath);
    open_ = hash.has_value() && !folder_.empty();
    placementPath_ = placementPath;
    contentHash_ = hash.value_or(0);
    moveAsideOnKeep_ = true;
    keptSinceOpen_ = false;
    lastWritten_.clear();
    refreshOffer();
}

void SessionStore::closeFile() {
    open_ = false;
    offered_.reset();
}

bool SessionStore::keep(KeptSession state) {
    if (!open_)
        return false;
    state.placementPath = placementPath_;
    state.contentHash = contentHash_;
    state.savedAt = 0;
    const std::string body = KeptSessionText(state);
    if (body == lastWritten_)
        return true;
    if (!MakeFolders(folder_))
        return false;
    if (moveAsideOnKeep_) {
        const std::optional<KeptSession> current = readKept(currentPath());
        if (current && WorthKeeping(*current))
            ::rename(currentPath().c_str(), previousPath().c_str());
    }
    state.savedAt = static_cast<std::int64_t>(std::time(nullptr));
    if (!ReplaceFile(currentPath(), KeptSessionText(state)))
        return false;
    lastWritten_ = body;
    if (moveAsideOnKeep_ || !keptSinceOpen_) {
        moveAsideOnKeep_ = false;
        keptSinceOpen_ = true;
        refreshOffer();
    }
    return true;
}

// Only a session kept for this very file, with the same content, can be put back.
std::optional<KeptSession> SessionStore::readKept(const std::string& path) const {
    const std::optional<std::string> text = ReadSmallFile(path, kMaxKeptBytes);
    std::optional<KeptSession> kept = text ? ParseKeptSession(*text) : std::nullopt;
    if (kept && (kept->placementPath != placementPath_ || kept->contentHash != contentHash_))
        kept.reset();
    return kept;
}

void SessionStore::refreshOffer() {
    offered_.reset();
    if (open_)
        offered_ = readKept(keptSinceOpen_ ? previousPath() : currentPath());
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
    std::int64_t size = 0;
    const int fd = OpenRegularFile(path.c_str(), size);
    if (fd < 0)
        return std::nullopt;
    std::uint64_t hash = kFnvOffset;
    char buffer[64 * 1024];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        hash = Fnv1a(hash, buffer, static_cast<std::size_t>(n));
    ::close(fd);
    if (n < 0)
        return std::nullopt;
    return hash;
}

} // namespace kavelto
