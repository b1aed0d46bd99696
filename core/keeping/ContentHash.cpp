#include "keeping/ContentHash.h"

#include "files/FileUtils.h"

#include <algorithm>

namespace kavelto {

std::optional<std::uint64_t> FileContentHash(const std::string& path, std::uint64_t maxBytes) {
    const FileResult<RegularFile> file = OpenRegularFile(path);
    if (!file)
        return std::nullopt;
    std::uint64_t hash = kFnvOffset;
    char buffer[64 * 1024];
    for (std::uint64_t left = maxBytes; left > 0;) {
        const std::size_t wanted = std::size_t(std::min<std::uint64_t>(left, sizeof buffer));
        const FileResult<std::size_t> read = ReadUpTo(file.value(), buffer, wanted);
        if (!read)
            return std::nullopt;
        hash = Fnv1a(hash, buffer, read.value());
        if (read.value() < wanted)
            break;
        left -= read.value();
    }
    return hash;
}

} // namespace kavelto
