#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>

// The readers take a path: each input is written to a file of a folder of the process's own,
// which goes away with the process.
class ScratchFolder {
public:
    ScratchFolder() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/kavelto-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        path_ = pattern;
    }
    ~ScratchFolder() {
        for (const std::string& file : files_)
            std::remove(file.c_str());
        rmdir(path_.c_str());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Replaces the file called name with the bytes and returns its path.
    const std::string& write(const std::string& name, const std::uint8_t* data, std::size_t size) {
        const std::string& file = *files_.insert(path_ + "/" + name).first;
        std::ofstream(file, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return file;
    }
    const std::string& write(const std::string& name, const std::string& text) {
        return write(name, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    }

private:
    std::string path_;
    std::set<std::string> files_;
};

// Ends the run with the check that failed: libFuzzer keeps the input as a finding.
inline void Require(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
}
