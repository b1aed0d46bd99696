#include "TextFileReader.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavelto {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}

int OpenRegularFile(const char* path, std::int64_t& size) {
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return -1;
    }
    // Reads of the file itself may wait as usual.
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        close(fd);
        return -1;
    }
    size = static_cast<std::int64_t>(info.st_size);
    return fd;
}

TextFileReader::TextFileReader(const std::string& path) {
    std::int64_t size = 0;
    const int fd = OpenRegularFile(path.c_str(), size);
    if (fd < 0)
        return;
    std::unique_ptr<std::FILE, Closer> file(fdopen(fd, "rb"));
    if (!file) {
        close(fd);
        return;
    }
    buffer_.resize(kBufferSize);
    file_ = std::move(file);
}

bool TextFileReader::refill() {
    pos_ = 0;
    filled_ = std::fread(buffer_.data(), 1, buffer_.size(), file_.get());
    if (filled_ == 0 && std::ferror(file_.get()))
        failed_ = true;
    return filled_ > 0;
}

// Hands the bytes of the next line, without its line feed, to sink(bytes, count) in chunks.
// Stripping a carriage return before the line feed is left to the caller.
template <typename Sink> TextFileReader::Status TextFileReader::readInto(Sink&& sink) {
    if (!file_ || failed_)
        return Status::Error;
    bool any = false;
    for (;;) {
        if (pos_ == filled_ && !refill())
            return failed_ ? Status::Error : (any ? Status::Line : Status::End);
        const char* start = buffer_.data() + pos_;
        const std::size_t available = filled_ - pos_;
        const void* feed = std::memchr(start, '\n', available);
        const std::size_t take =
            feed ? static_cast<std::size_t>(static_cast<const char*>(feed) - start) : available;
        sink(start, take);
        any = true;
        pos_ += take;
        if (feed) {
            ++pos_;
            return Status::Line;
        }
    }
}

TextFileReader::Status TextFileReader::readLine(char* out, std::size_t capacity,
                                                std::size_t& length) {
    length = 0;
    std::size_t total = 0;
    char last = '\0';
    const Status status = readInto([&](const char* bytes, std::size_t n) {
        if (n == 0)
            return;
        const std::size_t room = capacity - 1 - length;
        const std::size_t keep = n < room ? n : room;
        std::memcpy(out + length, bytes, keep);
        length += keep;
        total += n;
        last = bytes[n - 1];
    });
    if (status == Status::Line && last == '\r' && length == total)
        --length;
    out[length] = '\0';
    return status;
}

TextFileReader::Status TextFileReader::readLine(std::string& out, std::size_t maxLength) {
    out.clear();
    std::size_t total = 0;
    const Status status = readInto([&](const char* bytes, std::size_t n) {
        const std::size_t room = maxLength - out.size();
        out.append(bytes, n < room ? n : room);
        total += n;
    });
    if (status == Status::Line && out.size() == total && !out.empty() && out.back() == '\r')
        out.pop_back();
    return status;
}

} // namespace kavelto
