#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

// A file with the given bytes under the temporary directory, its name ending in suffix, removed
// again at scope end.
class TempFile {
public:
    explicit TempFile(const std::string& bytes, const std::string& suffix = "") {
        std::string pattern = "/tmp/kavelto-test-XXXXXX" + suffix;
        // The name is what is wanted; the bytes are written below.
        close(mkstemps(pattern.data(), static_cast<int>(suffix.size())));
        path_ = pattern;
        std::ofstream(path_, std::ios::binary) << bytes;
    }
    ~TempFile() { std::remove(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};
