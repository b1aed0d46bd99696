#pragma once

#include <unistd.h>
#include <utility>

namespace kavelto {

// Owns an open file descriptor and closes it when it goes; -1 owns nothing.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            close();
            fd_ = other.release();
        }
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

    // Hands the descriptor to a new owner.
    int release() { return std::exchange(fd_, -1); }

    // Closes the descriptor now. The descriptor is gone afterwards whatever close() says, so it
    // is never closed a second time; false when close() reported an error (data the system could
    // not store may only show there).
    bool close() {
        const int fd = release();
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_ = -1;
};

} // namespace kavelto
