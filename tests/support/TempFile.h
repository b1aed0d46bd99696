#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

// A file with the given bytes under the temporary directory, removed again at scope end.
class TempFile {
public:
    explicit TempFile(const std::string& bytes) {
        char pattern[] = "/tmp/kavelto-test-XXXXXX";
        close(mkstemp(pattern)); // the name is what is wanted; the bytes are written below
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
