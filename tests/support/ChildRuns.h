#pragma once

#include "TempFile.h"

#include <functional>
#include <iterator>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>

// A named pipe under the temporary directory, removed at scope end. Nothing writes to it, so an
// ordinary open for reading waits for a writer forever.
struct TempFifo : TempFile {
    TempFifo() : TempFile("") {
        std::remove(path().c_str());
        mkfifo(path().c_str(), 0600);
    }
};

// Runs call in a child process and returns what it returned, or nothing when it failed or did
// not return within 3 seconds; the alarm's default action ends the child then. A read that waits
// or never ends thus fails its test instead of hanging the test program.
inline std::optional<std::string> RunInChild(const std::function<std::string()>& call) {
    const TempFile answer("");
    const pid_t child = fork();
    if (child == 0) {
        alarm(3);
        std::ofstream(answer.path(), std::ios::binary) << call();
        _exit(0);
    }
    int status = 1;
    if (child < 0 || waitpid(child, &status, 0) != child || status != 0) // not an exit with 0
        return std::nullopt;
    std::ifstream in(answer.path(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
