#include "PickListPath.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kavelto {

namespace {

constexpr mode_t kPrivateMode = 0700;

// Only an absolute path is taken: a relative one would put the page wherever the program
// happens to be started.
bool IsAbsolutePath(const char* value) {
    return value != nullptr && value[0] == '/';
}

bool IsDirectory(const char* path) {
    struct stat status {};
    return ::stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

std::string Child(std::string directory, const std::string& name) {
    if (directory.back() != '/')
        directory += '/';
    return directory + name;
}

// Sets the mode of the directory that lstat() described. It goes through a descriptor opened
// without following links and checked to be that very directory, so that nothing swapped in
// at the same name meanwhile gets its mode changed.
bool SetPrivateMode(const std::string& folder, const struct stat& seen) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat opened {};
    const bool same =
        ::fstat(fd, &opened) == 0 && opened.st_dev == seen.st_dev && opened.st_ino == seen.st_ino;
    const bool set = same && ::fchmod(fd, kPrivateMode) == 0;
    ::close(fd);
    return set;
}

// Makes `folder` when missing and tells whether it is now a directory that only the effective
// user can enter. lstat() sees a link itself, so a link at that name is refused, never followed.
bool HavePrivateFolder(const std::string& folder) {
    if (::mkdir(folder.c_str(), kPrivateMode) != 0 && errno != EEXIST)
        return false;
    struct stat seen {};
    if (::lstat(folder.c_str(), &seen) != 0 || !S_ISDIR(seen.st_mode) || seen.st_uid != ::geteuid())
        return false;
    // The folder is ours, so its mode is ours to set: a looser one (set by hand, or a folder
    // from an older run) is tightened, and one the umask left without write access repaired.
    return (seen.st_mode & 07777) == kPrivateMode || SetPrivateMode(folder, seen);
}

} // namespace

std::string PickListPathIn(const char* runtimeDir, const char* tempDir) {
    std::string folder;
    if (IsAbsolutePath(runtimeDir) && IsDirectory(runtimeDir))
        folder = Child(runtimeDir, "kavelto");
    else
        folder = Child(IsAbsolutePath(tempDir) ? tempDir : "/tmp",
                       "kavelto-" + std::to_string(::geteuid()));
    if (!HavePrivateFolder(folder))
        return {};
    return Child(folder, "picklst.html");
}

std::string GetPickListPath() {
    return PickListPathIn(std::getenv("XDG_RUNTIME_DIR"), std::getenv("TMPDIR"));
}

} // namespace kavelto
