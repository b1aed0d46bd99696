#include "CutShort.h"

#include "JpegStream.h"

#include <cstdint>
#include <cstdlib>

namespace kavelto {

namespace {

std::uint32_t Little(std::string_view data, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(data[at + std::size_t(i)]);
    return value;
}

std::uint32_t Big32(std::string_view data, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(data[at + i]);
    return value;
}

// The file header (14 bytes) and the info header that follows it: where the pixels start, the
// width, the height (negative for rows stored top down), the bits a pixel, the compression and,
// for compressed pixels, their size in bytes.
constexpr std::size_t kBmpHeaders = 14 + 40;
constexpr std::uint32_t kBmpUncompressed = 0;
constexpr std::uint32_t kBmpBitFields = 3;
constexpr std::uint32_t kBmpAlphaBitFields = 6;

bool IsBmpCutShort(std::string_view data) {
    if (data.size() < kBmpHeaders)
        return true;
    const std::uint64_t pixelsAt = Little(data, 10, 4);
    const std::int64_t width = static_cast<std::int32_t>(Little(data, 18, 4));
    const std::int64_t height = static_cast<std::int32_t>(Little(data, 22, 4));
    const std::uint64_t bits = Little(data, 28, 2);
    const std::uint32_t compression = Little(data, 30, 4);
    std::uint64_t pixelBytes = Little(data, 34, 4);
    if (compression == kBmpUncompressed || compression == kBmpBitFields ||
        compression == kBmpAlphaBitFields) {
        // Rows are padded to whole 32-bit words.
        const std::uint64_t rowBytes = (std::uint64_t(std::llabs(width)) * bits + 31) / 32 * 4;
        pixelBytes = rowBytes * std::uint64_t(std::llabs(height));
    }
    return pixelsAt + pixelBytes > data.size();
}

// The eight bytes of the signature, then chunks of a 4-byte length, a 4-byte type, the data and
// a 4-byte check, up to the chunk of type IEND.
constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);

bool IsPngCutShort(std::string_view data) {
    std::size_t at = kPngSignature.size();
    while (at + 12 <= data.size()) {
        const std::uint64_t length = Big32(data, at);
        if (data.substr(at + 4, 4) == "IEND")
            return false;
        at += 12 + length;
    }
    return true;
}

} // namespace

bool IsCutShort(std::string_view data) {
    if (data.substr(0, 2) == "BM")
        return IsBmpCutShort(data);
    if (data.substr(0, kPngSignature.size()) == kPngSignature)
        return IsPngCutShort(data);
    return !IsCompleteJpeg(data);
}

} // namespace kavelto
