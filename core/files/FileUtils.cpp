#include "files/FileUtils.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace kavelto {

namespace {

constexpr mode_t kPrivateMode = 0700;

FileFailure Failure(FileStep step, const std::string& path, std::string reason) {
    return FileFailure{step, path, std::move(reason)};
}

FileFailure LastError(FileStep step, const std::string& path) {
    return FileFailure::FromErrno(step, path, errno);
}

// The fresh file that will replace the target. Until commit() it is only a temporary: leaving
// the scope closes it and removes it, whichever way the scope is left.
class PendingFile {
public:
    PendingFile(FileDescriptor descriptor, std::string path)
        : descriptor_(std::move(descriptor)), path_(std::move(path)) {}
    ~PendingFile() {
        descriptor_.close();
        if (!committed_)
            ::unlink(path_.c_str());
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    bool writeAll(std::string_view bytes) const {
        while (!bytes.empty()) {
            const ssize_t written = ::write(descriptor_.get(), bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return true;
    }

    bool setMode(mode_t mode) const { return ::fchmod(descriptor_.get(), mode) == 0; }
    bool sync() const { return ::fdatasync(descriptor_.get()) == 0; }
    bool close() { return descriptor_.close(); }

    bool commit(const std::string& target) {
        committed_ = ::rename(path_.c_str(), target.c_str()) == 0;
        return committed_;
    }

private:
    FileDescriptor descriptor_;
    std::string path_;
    bool committed_ = false;
};

bool IsPrivateMode(const struct stat& status) {
    return (status.st_mode & 07777) == kPrivateMode;
}

// Sets the mode of the directory that lstat() described. It goes through a descriptor opened
// without following links and checked to be that very directory, so that nothing swapped in
// at the same name meanwhile gets its mode changed.
FileResult<void> SetPrivateMode(const std::string& folder, const struct stat& seen) {
    const FileDescriptor fd(
        ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.valid())
        return LastError(FileStep::Create, folder);
    struct stat opened {};
    if (::fstat(fd.get(), &opened) != 0)
        return LastError(FileStep::Create, folder);
    if (opened.st_dev != seen.st_dev || opened.st_ino != seen.st_ino)
        return Failure(FileStep::Create, folder, "Replaced while it was checked");
    if (::fchmod(fd.get(), kPrivateMode) != 0)
        return LastError(FileStep::Create, folder);
    return {};
}

// Makes each missing folder above path, private to the user.
FileResult<void> MakeParents(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (::mkdir(folder.c_str(), kPrivateMode) != 0 && errno != EEXIST)
            return LastError(FileStep::Create, folder);
    }
    return {};
}

} // namespace

FileFailure FileFailure::FromErrno(FileStep step, std::string path, int error) {
    // The generic category's text is the C library's, without strerror()'s shared buffer.
    return FileFailure{step, std::move(path),
                       std::error_code(error, std::generic_category()).message()};
}

FileResult<RegularFile> OpenRegularFile(const std::string& path) {
    RegularFile file{FileDescriptor(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)), path,
                     0};
    if (!file.descriptor.valid())
        return LastError(FileStep::Open, path);
    struct stat info {};
    if (::fstat(file.descriptor.get(), &info) != 0)
        return LastError(FileStep::Open, path);
    if (!S_ISREG(info.st_mode))
        return Failure(FileStep::Open, path, "Not a regular file");
    // Reads of the file itself may wait as usual.
    const int flags = ::fcntl(file.descriptor.get(), F_GETFL);
    if (flags < 0 || ::fcntl(file.descriptor.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        return LastError(FileStep::Open, path);
    file.size = static_cast<std::int64_t>(info.st_size);
    return FileResult<RegularFile>(std::move(file));
}

FileResult<std::size_t> ReadUpTo(const RegularFile& file, char* into, std::size_t size) {
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t n = ::read(file.descriptor.get(), into + filled, size - filled);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return LastError(FileStep::Read, file.path);
        if (n == 0)
            break;
        filled += static_cast<std::size_t>(n);
    }
    return filled;
}

FileResult<void> WriteFileAtomically(const std::string& path, std::string_view bytes, mode_t mode,
                                     Durability durability) {
    // An empty path would put the temporary into the working directory.
    if (path.empty())
        return FileFailure::FromErrno(FileStep::Create, path, ENOENT);
    std::string temporaryPath = path + ".XXXXXX";
    FileDescriptor fd(::mkostemp(temporaryPath.data(), O_CLOEXEC));
    if (!fd.valid())
        return LastError(FileStep::Create, path);
    PendingFile file(std::move(fd), temporaryPath);
    if (!file.setMode(mode))
        return LastError(FileStep::Create, path);
    if (!file.writeAll(bytes) || (durability == Durability::OnDisk && !file.sync()) ||
        !file.close() || !file.commit(path))
        return LastError(FileStep::Write, path);
    return {};
}

FileResult<void> MakePrivateFolder(const std::string& path, MissingParents parents) {
    if (parents == MissingParents::Make) {
        if (FileResult<void> made = MakeParents(path); !made)
            return made;
    }
    if (::mkdir(path.c_str(), kPrivateMode) != 0 && errno != EEXIST)
        return LastError(FileStep::Create, path);
    // lstat() sees a link itself, so a link at that name is refused, never followed.
    struct stat seen {};
    if (::lstat(path.c_str(), &seen) != 0)
        return LastError(FileStep::Create, path);
    if (S_ISLNK(seen.st_mode))
        return Failure(FileStep::Create, path, "A link, not a folder");
    if (!S_ISDIR(seen.st_mode))
        return FileFailure::FromErrno(FileStep::Create, path, ENOTDIR);
    if (seen.st_uid != ::geteuid())
        return Failure(FileStep::Create, path, "Owned by another user");
    // The folder is ours, so its mode is ours to set: a looser one (set by hand, or a folder
    // from an older run) is tightened, and one the umask left without write access repaired.
    return IsPrivateMode(seen) ? FileResult<void>() : SetPrivateMode(path, seen);
}

} // namespace kavelto
