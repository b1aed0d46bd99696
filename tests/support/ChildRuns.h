#pragma once

#include "TempFile.h"

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
// or never ends thus fails its test instead of hanging the test program. The result must fit the
// pipe's buffer.
inline std::optional<std::string> RunInChild(const std::function<std::string()>& call) {
    int ends[2];
    if (pipe(ends) != 0)
        return std::nullopt;
    const pid_t child = fork();
    if (child == 0) {
        alarm(3);
        const std::string result = call();
        _exit(write(ends[1], result.data(), result.size()) == ssize_t(result.size()) ? 0 : 1);
    }
    close(ends[1]);
    int status = 1; // no exit, as after a failed fork
    if (child > 0)
        waitpid(child, &status, 0);
    std::string result(1 << 16, '\0');
    const ssize_t n = read(ends[0], result.data(), result.size());
    close(ends[0]);
    if (n < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    result.resize(static_cast<std::size_t>(n));
    return result;
}
