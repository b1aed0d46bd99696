#pragma once

#include "files/FileDescriptor.h"
#include "files/FileResult.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace kavelto {

// A regular file open for reading, with its path and its size in bytes when it was opened.
struct RegularFile {
    FileDescriptor descriptor;
    std::string path;
    std::int64_t size = 0;
};

// Opens the file at path for reading if it is a regular file, and never waits: an ordinary open
// of a named pipe waits for a writer, and a device such as /dev/zero reads without end.
FileResult<RegularFile> OpenRegularFile(const std::string& path);

// Reads into `into` until `size` bytes are there or the file ends; the number of bytes read.
FileResult<std::size_t> ReadUpTo(const RegularFile& file, char* into, std::size_t size);

// The whole regular file at path, of at most maxBytes, in a byte container of the caller's
// choice (std::string, QByteArray: any that can be resized and gives its data()). A file that
// shrank while it was read is read as far as it goes.
template <typename Bytes>
FileResult<Bytes> ReadWholeFile(const std::string& path, std::int64_t maxBytes) {
    const FileResult<RegularFile> file = OpenRegularFile(path);
    if (!file)
        return file.failure();
    if (file->size > maxBytes)
        return FileFailure::FromErrno(FileStep::Read, path, EFBIG);
    using Size = decltype(Bytes().size());
    Bytes bytes;
    bytes.resize(static_cast<Size>(file->size));
    const FileResult<std::size_t> filled =
        ReadUpTo(file.value(), bytes.data(), static_cast<std::size_t>(file->size));
    if (!filled)
        return filled.failure();
    bytes.resize(static_cast<Size>(filled.value()));
    return FileResult<Bytes>(std::move(bytes));
}

// Whether an atomic write waits for its bytes to reach the disk before it renames.
enum class Durability { Cached, OnDisk };

// Replaces the file at path with `bytes` as a whole: they go to a fresh temporary file beside
// it, which gets `mode` and is renamed over path. A link planted at path is so replaced, never
// followed; whatever happens on the way, path holds either the old file or the new one whole,
// and no temporary file is left behind. OnDisk survives a power cut as well as a crash.
// A failure to make the temporary file is a Create failure, any later one a Write failure.
FileResult<void> WriteFileAtomically(const std::string& path, std::string_view bytes, mode_t mode,
                                     Durability durability);

// What MakePrivateFolder does about missing folders above the one asked for.
enum class MissingParents { Refuse, Make };

// Makes the folder at path when missing, mode 0700, and makes sure that it is a real directory
// (not a link) owned by the effective user, its mode set back to 0700 when it differs: users
// sharing the machine neither see each other's files nor block each other's writes. With
// MissingParents::Make the missing folders above it are made too, mode 0700.
FileResult<void> MakePrivateFolder(const std::string& path, MissingParents parents);

} // namespace kavelto
