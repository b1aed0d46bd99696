#pragma once

#include "files/Utf16Decoder.h"

#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kavelto {

// Reads a text file line by line. A line ends with a line feed; a carriage return right
// before it belongs to the line end. A UTF-8 byte order mark at the start is dropped, and a file
// that starts with a UTF-16 byte order mark (either byte order) reads as its UTF-8. The file is
// closed when the reader goes away.
class TextFileReader {
public:
    enum class Status { Line, End, Error };

    // What ends a line: a line feed alone, or also a lone carriage return, as files saved on
    // systems that end lines with it have them.
    enum class LineEnds { Feed, FeedOrReturn };

    explicit TextFileReader(const std::string& path, LineEnds ends = LineEnds::Feed);

    // False when the path names no readable regular file.
    bool isOpen() const { return file_ != nullptr; }

    // Keeps at most capacity - 1 bytes of the line, NUL-terminated, and drops the rest of a
    // longer line. length receives the number of bytes kept.
    Status readLine(char* out, std::size_t capacity, std::size_t& length);

    // Keeps at most maxLength bytes of the line and drops the rest of a longer line.
    Status readLine(std::string& out, std::size_t maxLength);

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };

    template <typename Sink> Status readInto(Sink&& sink);
    const char* findLineEnd(const char* start, std::size_t available) const;
    bool fill();
    bool refill();
    void takeByteOrderMark();

    std::unique_ptr<std::FILE, Closer> file_;
    std::vector<char> buffer_; // the text as UTF-8
    std::optional<Utf16Decoder> utf16_;
    std::vector<char> utf16Bytes_; // the file's bytes, for a UTF-16 file
    bool started_ = false;
    std::size_t pos_ = 0;
    std::size_t filled_ = 0;
    bool failed_ = false;
    bool returnEnds_ = false;
    bool afterReturn_ = false; // the last line ended with a carriage return: a feed now is its end
};

} // namespace kavelto
