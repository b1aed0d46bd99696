#pragma once

#include "base/Result.h"

#include <string>

namespace kavelto {

// The step of a file operation that failed: a writer tells the user whether the file could not
// be made at all or could not be written whole.
enum class FileStep { Open, Read, Create, Write };

// Why a file operation failed: the file or folder it failed on and the system's reason, for the
// caller to word the user's message around.
struct FileFailure {
    FileStep step;
    std::string path;
    std::string reason;

    // The system's text for an errno value.
    static FileFailure FromErrno(FileStep step, std::string path, int error);
};

// What a file operation gives back: its value, or why there is none.
template <typename T> using FileResult = Result<T, FileFailure>;

} // namespace kavelto
