#pragma once

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// A named pipe in a fresh temporary folder, both removed at scope end. Nothing writes to it, so
// an ordinary open for reading waits for a writer forever.
class TempFifo {
public:
    TempFifo() {
        char pattern[] = "/tmp/kavelto-fifo-XXXXXX";
        if (mkdtemp(pattern)) {
            dir_ = pattern;
            path_ = dir_ + "/board.fifo";
            mkfifo(path_.c_str(), 0600);
        }
    }
    ~TempFifo() {
        unlink(path_.c_str());
        rmdir(dir_.c_str());
    }
    TempFifo(const TempFifo&) = delete;
    TempFifo& operator=(const TempFifo&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string dir_;
    std::string path_;
};

// Runs call in a child process and returns what it returned, or nothing when it failed to
// return within limit; the child is killed then. A read that waits or never ends thus fails
// its test instead of hanging the test program.
inline std::optional<std::string>
RunInChild(const std::function<std::string()>& call,
           std::chrono::milliseconds limit = std::chrono::seconds(3)) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return std::nullopt;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        const std::string result = call();
        const ssize_t written = write(pipeEnds[1], result.data(), result.size());
        _exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
    }
    close(pipeEnds[1]);
    std::string result;
    bool returned = false;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (child > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{pipeEnds[0], POLLIN, 0};
        const int polled = poll(&ready, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            break;
        char chunk[256];
        const ssize_t n = read(pipeEnds[0], chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            returned = n == 0;
            break;
        }
        result.append(chunk, static_cast<std::size_t>(n));
    }
    close(pipeEnds[0]);
    if (child < 0)
        return std::nullopt;
    if (!returned)
        kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    if (!returned || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return result;
}
