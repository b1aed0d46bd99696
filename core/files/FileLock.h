#pragma once

#include "files/FileDescriptor.h"
#include "files/FileResult.h"

#include <string>

namespace kavelto {

// An advisory lock on a file, held for as long as this object lives; the system releases it
// too when the process ends, however it ends. The lock belongs to the open file description,
// so two locks taken on one file in one process exclude each other as two processes' do.
class FileLock {
public:
    // Holds nothing.
    FileLock() = default;

    // Takes the lock on the file at path, made with mode 0600 when missing (a link there is
    // refused), without waiting: when someone else holds it, the lock returned holds nothing.
    static FileResult<FileLock> Take(const std::string& path);

    bool held() const { return descriptor_.valid(); }

private:
    explicit FileLock(FileDescriptor descriptor) : descriptor_(std::move(descriptor)) {}

    FileDescriptor descriptor_;
};

} // namespace kavelto
