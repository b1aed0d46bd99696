#include "JpegStream.h"

#include <cstring>

namespace kavelto {

namespace {

constexpr std::string_view kStartOfImage("\xFF\xD8", 2);
constexpr int kEndOfImage = 0xD9;
constexpr int kStartOfScan = 0xDA;

int ByteAt(std::string_view data, std::size_t i) {
    return static_cast<unsigned char>(data[i]);
}

bool IsRestart(int code) {
    return code >= 0xD0 && code <= 0xD7;
}

// Markers that stand alone, without a length and a segment after them.
bool IsStandalone(int code) {
    return code == 0x01 || code == 0xD8 || IsRestart(code);
}

// The code of the next marker at or after pos, with pos moved past it; -1 when the data ends
// first. Fill bytes (0xFF repeated) may precede a marker. In scan data a 0xFF is escaped by a
// 0x00 after it, and restart markers belong to the scan; bytes that are no marker are passed
// over as a decoder does.
int NextMarker(std::string_view data, std::size_t& pos, bool inScan) {
    while (pos < data.size()) {
        const void* ff = std::memchr(data.data() + pos, 0xFF, data.size() - pos);
        if (!ff)
            break;
        pos = static_cast<std::size_t>(static_cast<const char*>(ff) - data.data()) + 1;
        while (pos < data.size() && ByteAt(data, pos) == 0xFF)
            ++pos;
        if (pos == data.size())
            break;
        const int code = ByteAt(data, pos++);
        if (code == 0x00 || (inScan && IsRestart(code)))
            continue;
        return code;
    }
    pos = data.size();
    return -1;
}

} // namespace

bool IsCompleteJpeg(std::string_view data) {
    if (data.substr(0, 2) != kStartOfImage)
        return true;
    // Walk the segments from the start: bytes after the end-of-image marker, such as metadata
    // or a video that a phone appends, may hold anything, markers included.
    std::size_t pos = kStartOfImage.size();
    bool inScan = false;
    for (;;) {
        const int code = NextMarker(data, pos, inScan);
        if (code < 0)
            return false;
        if (code == kEndOfImage)
            return true;
        if (IsStandalone(code))
            continue;
        // A segment's length counts its own two bytes; a progressive picture has one scan
        // after another, with tables between them.
        if (data.size() - pos < 2)
            return false;
        const std::size_t length =
            static_cast<std::size_t>(ByteAt(data, pos) << 8 | ByteAt(data, pos + 1));
        if (length < 2 || data.size() - pos < length)
            return false;
        pos += length;
        inScan = code == kStartOfScan;
    }
}

} // namespace kavelto
