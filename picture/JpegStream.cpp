#include "JpegStream.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <optional>

namespace kavelto {

namespace {

constexpr std::string_view kStartOfImage("\xFF\xD8", 2);
constexpr int kEndOfImage = 0xD9;
constexpr int kStartOfScan = 0xDA;
constexpr int kDefineRestartInterval = 0xDD;
constexpr std::string_view kEndOfImageMarker("\xFF\xD9", 2);
constexpr int kExifSegment = 0xE1;
constexpr std::string_view kExifMark("Exif\0\0", 6);
constexpr std::uint32_t kThumbnailOffsetTag = 0x0201;
constexpr std::uint32_t kThumbnailLengthTag = 0x0202;

int ByteAt(std::string_view data, std::size_t i) {
    return static_cast<unsigned char>(data[i]);
}

int WordAt(std::string_view data, std::size_t i) {
    return ByteAt(data, i) << 8 | ByteAt(data, i + 1);
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
    return (a + b - 1) / b;
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

// The segment at pos, its two length bytes first (they count themselves); nothing when its
// length is less or runs past the data.
std::optional<std::string_view> SegmentAt(std::string_view data, std::size_t pos) {
    if (data.size() - pos < 2)
        return std::nullopt;
    const std::size_t length = static_cast<std::size_t>(WordAt(data, pos));
    if (length < 2 || data.size() - pos < length)
        return std::nullopt;
    return data.substr(pos, length);
}

// The next segment from pos, with its marker's code, and pos moved past it; false when the data
// ends, the end of image comes, or a segment runs past the data.
bool NextSegment(std::string_view data, std::size_t& pos, int& code, std::string_view& segment) {
    do {
        code = NextMarker(data, pos, false);
        if (code < 0 || code == kEndOfImage)
            return false;
    } while (IsStandalone(code));
    const std::optional<std::string_view> found = SegmentAt(data, pos);
    if (!found)
        return false;
    segment = *found;
    pos += segment.size();
    return true;
}

// Baseline and extended sequential frames, with Huffman coding.
bool IsSequentialHuffmanFrame(int code) {
    return code == 0xC0 || code == 0xC1;
}

// Every other start of frame: progressive, lossless, hierarchical or arithmetic coding.
bool IsOtherFrame(int code) {
    return code >= 0xC2 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

// What the headers before the first scan say of the picture's blocks.
struct ScanLayout {
    std::size_t heightAt = 0; // where the frame header holds the picture's height
    std::size_t scanAt = 0;   // where the scan's coded data starts
    int width = 0;
    int height = 0;
    int components = 0;
    int blockWidth = 8; // of a coded unit of all components, in pixels
    int blockHeight = 8;
    int restartInterval = 0; // in coded units; 0 when coding never restarts
};

// A frame header segment (its length first) at offset at of the stream.
bool ReadFrame(std::string_view segment, std::size_t at, ScanLayout& layout) {
    if (segment.size() < 8)
        return false;
    const int components = ByteAt(segment, 7);
    if (components < 1 || segment.size() < 8 + 3 * static_cast<std::size_t>(components))
        return false;
    int mostAcross = 1; // the largest sampling factors
    int mostDown = 1;
    for (int c = 0; c < components; ++c) {
        const int across = ByteAt(segment, 9 + 3 * c) >> 4;
        const int down = ByteAt(segment, 9 + 3 * c) & 15;
        if (across < 1 || across > 4 || down < 1 || down > 4)
            return false;
        mostAcross = std::max(mostAcross, across);
        mostDown = std::max(mostDown, down);
    }
    layout.heightAt = at + 3;
    layout.height = WordAt(segment, 3);
    layout.width = WordAt(segment, 5);
    layout.components = components;
    // A scan of one component codes its blocks one by one, whatever its sampling.
    layout.blockWidth = components == 1 ? 8 : 8 * mostAcross;
    layout.blockHeight = components == 1 ? 8 : 8 * mostDown;
    return true;
}

// The layout of a sequential picture whose first scan holds every component; nothing for any
// other stream.
std::optional<ScanLayout> ReadScanLayout(std::string_view data) {
    if (data.substr(0, 2) != kStartOfImage)
        return std::nullopt;
    ScanLayout layout;
    std::size_t pos = kStartOfImage.size();
    int code = 0;
    std::string_view segment;
    while (NextSegment(data, pos, code, segment) && !IsOtherFrame(code)) {
        if (code == kStartOfScan) {
            if (layout.components == 0 || segment.size() < 3 ||
                ByteAt(segment, 2) != layout.components)
                return std::nullopt;
            layout.scanAt = pos;
            return layout;
        }
        if (IsSequentialHuffmanFrame(code) && !ReadFrame(segment, pos - segment.size(), layout))
            return std::nullopt;
        if (code == kDefineRestartInterval)
            layout.restartInterval = segment.size() == 4 ? WordAt(segment, 2) : 0;
    }
    return std::nullopt;
}

// Where the code byte of each restart marker in the scan from pos lies, and where the end of
// image's does; nothing when the scan ends any other way.
std::optional<std::vector<std::size_t>> RestartCodes(std::string_view data, std::size_t pos,
                                                     std::size_t& endCode) {
    std::vector<std::size_t> codes;
    for (;;) {
        const int code = NextMarker(data, pos, false);
        if (code >= 0 && IsRestart(code)) {
            codes.push_back(pos - 1);
            continue;
        }
        if (code != kEndOfImage)
            return std::nullopt;
        endCode = pos - 1;
        return codes;
    }
}

// The TIFF structure of the Exif segment before the picture's frame; empty when there is none.
std::string_view ExifTiff(std::string_view data) {
    if (data.substr(0, 2) != kStartOfImage)
        return {};
    std::size_t pos = kStartOfImage.size();
    int code = 0;
    std::string_view segment;
    while (NextSegment(data, pos, code, segment) && code != kStartOfScan &&
           !IsSequentialHuffmanFrame(code) && !IsOtherFrame(code)) {
        if (code == kExifSegment && segment.substr(2, kExifMark.size()) == kExifMark)
            return segment.substr(2 + kExifMark.size());
    }
    return {};
}

// The unsigned number of the size in bytes at offset at of a TIFF structure, in its byte
// order; 0 past its end.
std::uint32_t TiffNumber(std::string_view tiff, std::uint64_t at, int bytes) {
    if (at > tiff.size() || tiff.size() - at < static_cast<std::uint64_t>(bytes))
        return 0;
    const bool littleEndian = tiff[0] == 'I';
    std::uint32_t number = 0;
    for (int i = 0; i < bytes; ++i)
        number = number << 8 |
                 static_cast<std::uint32_t>(ByteAt(
                     tiff, static_cast<std::size_t>(at + (littleEndian ? bytes - 1 - i : i))));
    return number;
}

} // namespace

std::string_view ExifThumbnail(std::string_view data) {
    const std::string_view tiff = ExifTiff(data);
    if (tiff.size() < 8 || (tiff.substr(0, 2) != "II" && tiff.substr(0, 2) != "MM") ||
        TiffNumber(tiff, 2, 2) != 42)
        return {};
    // The thumbnail's directory is the one after the picture's own; each entry is 12 bytes:
    // tag, type, count, and the value itself when it fits in 4 bytes, as the thumbnail's
    // offset and length, 32-bit numbers, do.
    const std::uint32_t picture = TiffNumber(tiff, 4, 4);
    const std::uint32_t thumbnail =
        TiffNumber(tiff, picture + 2 + 12 * std::uint64_t(TiffNumber(tiff, picture, 2)), 4);
    if (thumbnail == 0)
        return {};
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    const std::uint32_t entries = TiffNumber(tiff, thumbnail, 2);
    for (std::uint64_t entry = thumbnail + 2;
         entry < thumbnail + 2 + 12 * std::uint64_t(entries) && entry + 12 <= tiff.size();
         entry += 12) {
        const std::uint32_t value = TiffNumber(tiff, entry + 8, 4);
        const std::uint32_t tag = TiffNumber(tiff, entry, 2);
        if (tag == kThumbnailOffsetTag)
            offset = value;
        else if (tag == kThumbnailLengthTag)
            length = value;
    }
    if (offset == 0 || length == 0 || offset > tiff.size() || tiff.size() - offset < length)
        return {};
    return tiff.substr(offset, length);
}

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
        // A progressive picture has one scan after another, with tables between them.
        const std::optional<std::string_view> segment = SegmentAt(data, pos);
        if (!segment)
            return false;
        pos += segment->size();
        inScan = code == kStartOfScan;
    }
}

std::vector<JpegBand> SplitJpegIntoBands(std::string_view data, int count) {
    const std::optional<ScanLayout> layout = ReadScanLayout(data);
    if (count < 2 || !layout || layout->restartInterval == 0 || layout->width == 0 ||
        layout->height == 0)
        return {};
    std::size_t endCode = 0;
    const std::optional<std::vector<std::size_t>> restarts =
        RestartCodes(data, layout->scanAt, endCode);
    const std::int64_t perRow = CeilDiv(layout->width, layout->blockWidth);
    const std::int64_t rows = CeilDiv(layout->height, layout->blockHeight);
    const std::int64_t interval = layout->restartInterval;
    if (!restarts || static_cast<std::int64_t>(restarts->size()) != (perRow * rows - 1) / interval)
        return {};

    // Coding restarts at the start of a row every rowsPerCut rows, after markersPerCut markers.
    const std::int64_t common = std::gcd(interval, perRow);
    const std::int64_t rowsPerCut = interval / common;
    const std::int64_t markersPerCut = perRow / common;
    std::vector<std::int64_t> firstRows{0};
    for (int k = 1; k < count; ++k) {
        const std::int64_t nearest = (rows * k / count + rowsPerCut / 2) / rowsPerCut;
        const std::int64_t cut = std::max(nearest, firstRows.back() / rowsPerCut + 1);
        if (cut * rowsPerCut >= rows)
            break;
        firstRows.push_back(cut * rowsPerCut);
    }
    if (firstRows.size() < 2)
        return {};

    // The restart marker before a band's first row.
    const auto markerBefore = [&](std::int64_t row) {
        return static_cast<std::size_t>(row / rowsPerCut * markersPerCut - 1);
    };
    const std::string_view header = data.substr(0, layout->scanAt);
    std::vector<JpegBand> bands;
    for (std::size_t i = 0; i < firstRows.size(); ++i) {
        const bool last = i + 1 == firstRows.size();
        const std::int64_t endRow = last ? rows : firstRows[i + 1];
        const std::size_t from = i == 0 ? 0 : markerBefore(firstRows[i]) + 1;
        const std::size_t to = last ? restarts->size() : markerBefore(endRow);
        const std::size_t begin = i == 0 ? layout->scanAt : (*restarts)[from - 1] + 1;
        // Up to the marker's 0xFF; fill bytes before it may stay, as before any marker.
        const std::size_t end = (last ? endCode : (*restarts)[to]) - 1;
        JpegBand band;
        band.top = static_cast<int>(firstRows[i] * layout->blockHeight);
        band.height =
            static_cast<int>(std::min<std::int64_t>(endRow * layout->blockHeight, layout->height)) -
            band.top;
        band.stream.reserve(header.size() + (end - begin) + kEndOfImageMarker.size());
        band.stream.append(header)
            .append(data.substr(begin, end - begin))
            .append(kEndOfImageMarker);
        band.stream[layout->heightAt] = static_cast<char>(band.height >> 8);
        band.stream[layout->heightAt + 1] = static_cast<char>(band.height & 0xFF);
        // A decoder expects the markers of a scan numbered from 0, modulo 8.
        for (std::size_t m = from; m < to; ++m)
            band.stream[header.size() + (*restarts)[m] - begin] =
                static_cast<char>(0xD0 + ((m - from) & 7));
        bands.push_back(std::move(band));
    }
    return bands;
}

} // namespace kavelto
