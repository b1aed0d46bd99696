#include "TextFileReader.h"

#include <cstring>
#include <sys/stat.h>

namespace kavelto {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}

TextFileReader::TextFileReader(const std::string& path) {
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return;
    // A directory opens for reading here but is no file to read.
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0 || S_ISDIR(info.st_mode))
        return;
    file_ = std::move(file);
    buffer_.resize(kBufferSize);
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

TextFileReader::Status TextFileReader::readLine(std::string& out) {
    out.clear();
    const Status status = readInto([&](const char* bytes, std::size_t n) { out.append(bytes, n); });
    if (status == Status::Line && !out.empty() && out.back() == '\r')
        out.pop_back();
    return status;
}

} // namespace kavelto
