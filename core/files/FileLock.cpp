#include "files/FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

namespace kavelto {

FileResult<FileLock> FileLock::Take(const std::string& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.valid())
        return FileFailure::FromErrno(FileStep::Open, path, errno);
    while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            return FileLock();
        if (errno != EINTR)
            return FileFailure::FromErrno(FileStep::Open, path, errno);
    }
    return FileLock(std::move(fd));
}

} // namespace kavelto
