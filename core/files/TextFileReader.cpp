#include "files/TextFileReader.h"

#include "files/FileUtils.h"

#include <cstring>

namespace kavelto {

namespace {
constexpr std::size_t kBufferSize = std::size_t{64} * 1024;
}

TextFileReader::TextFileReader(const std::string& path, LineEnds ends)
    : returnEnds_(ends == LineEnds::FeedOrReturn) {
    FileResult<RegularFile> opened = OpenRegularFile(path);
    if (!opened)
        return;
    std::unique_ptr<std::FILE, Closer> file(fdopen(opened->descriptor.get(), "rb"));
    if (!file)
        return;
    opened->descriptor.release(); // the stream closes it now
    buffer_.resize(kBufferSize);
    file_ = std::move(file);
}

// Reads the next chunk of the file into the buffer; false at the end of the file or on an error.
bool TextFileReader::fill() {
    pos_ = 0;
    std::size_t read = 0;
    if (utf16_) {
        read = std::fread(utf16Bytes_.data(), 1, utf16Bytes_.size(), file_.get());
        filled_ = utf16_->decode(utf16Bytes_.data(), read, buffer_.data());
    } else {
        read = filled_ = std::fread(buffer_.data(), 1, buffer_.size(), file_.get());
    }
    if (read == 0) {
        failed_ = std::ferror(file_.get()) != 0;
        return false;
    }
    if (!started_) {
        started_ = true;
        takeByteOrderMark();
    }
    return true;
}

// Leaves unread bytes in the buffer and returns true, or returns false at the end of the file.
bool TextFileReader::refill() {
    while (fill()) {
        if (pos_ < filled_)
            return true;
    }
    return false;
}

// The first chunk decides: a regular file gives it whole, so a mark is all there.
void TextFileReader::takeByteOrderMark() {
    const auto startsWith = [&](const char* mark, std::size_t n) {
        return filled_ >= n && std::memcmp(buffer_.data(), mark, n) == 0;
    };
    if (startsWith("\xEF\xBB\xBF", 3)) {
        pos_ = 3;
    } else if (startsWith("\xFF\xFE", 2) || startsWith("\xFE\xFF", 2)) {
        utf16_.emplace(buffer_[0] == '\xFE');
        utf16Bytes_.assign(buffer_.begin() + 2,
                           buffer_.begin() + static_cast<std::ptrdiff_t>(filled_));
        buffer_.resize(Utf16Decoder::maxOutput(kBufferSize));
        filled_ = utf16_->decode(utf16Bytes_.data(), utf16Bytes_.size(), buffer_.data());
        utf16Bytes_.resize(kBufferSize);
    }
}

// The first byte in [start, start + available) that ends a line, or nullptr.
const char* TextFileReader::findLineEnd(const char* start, std::size_t available) const {
    const auto* feed = static_cast<const char*>(std::memchr(start, '\n', available));
    if (!returnEnds_)
        return feed;
    const std::size_t before = feed ? static_cast<std::size_t>(feed - start) : available;
    const auto* ret = static_cast<const char*>(std::memchr(start, '\r', before));
    return ret ? ret : feed;
}

// Hands the bytes of the next line, without its line end, to sink(bytes, count) in chunks.
// Stripping a carriage return before the line feed is left to the caller where only a feed ends
// a line.
template <typename Sink> TextFileReader::Status TextFileReader::readInto(Sink&& sink) {
    if (!file_ || failed_)
        return Status::Error;
    bool any = false;
    for (;;) {
        if (pos_ == filled_ && !refill())
            return failed_ ? Status::Error : (any ? Status::Line : Status::End);
        // The feed of a carriage return and line feed pair, perhaps in the next chunk.
        if (afterReturn_) {
            afterReturn_ = false;
            if (buffer_[pos_] == '\n') {
                ++pos_;
                continue;
            }
        }
        const char* start = buffer_.data() + pos_;
        const std::size_t available = filled_ - pos_;
        const char* end = findLineEnd(start, available);
        const std::size_t take = end ? static_cast<std::size_t>(end - start) : available;
        sink(start, take);
        any = true;
        pos_ += take;
        if (end) {
            ++pos_;
            afterReturn_ = *end == '\r';
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
