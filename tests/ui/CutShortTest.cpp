#include "CutShort.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace kavelto {
namespace {

std::string Little(std::uint32_t value, int bytes) {
    std::string text;
    for (int i = 0; i < bytes; ++i)
        text += char(value >> (8 * i) & 0xFF);
    return text;
}

// A BMP's two headers, then as many pixel bytes as the test works out for it; its size field
// counts compressed pixels only.
std::string Bmp(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression,
                std::uint32_t sizeField, std::size_t pixelBytes) {
    return "BM" + Little(54 + pixelBytes, 4) + Little(0, 4) + Little(54, 4) + Little(40, 4) +
           Little(std::uint32_t(width), 4) + Little(std::uint32_t(height), 4) + Little(1, 2) +
           Little(bits, 2) + Little(compression, 4) + Little(sizeField, 4) + std::string(16, '\0') +
           std::string(pixelBytes, '\x55');
}

std::string PngChunk(const std::string& type, const std::string& data) {
    const std::string length = {'\0', '\0', '\0', char(data.size())};
    return length + type + data + "crc!";
}

// Each stream whole, then without its last byte: rows are padded to 32 bits, a picture stored top
// down has a negative height, compressed pixels take the size the header gives them.
TEST(CutShort, TellsAStreamThatEndsBeforeItsHeadersSay) {
    const std::string png = std::string("\x89PNG\r\n\x1a\n", 8) +
                            PngChunk("IHDR", std::string(13, '\1')) + PngChunk("IEND", "");
    const struct {
        const char* name;
        std::string whole;
    } rows[] = {
        {"24 bits, 5 x 3, rows of 16 bytes", Bmp(5, 3, 24, 0, 0, 48)},
        {"top down", Bmp(5, -3, 24, 0, 0, 48)},
        {"1 bit, rows of 4 bytes", Bmp(5, 3, 1, 0, 0, 12)},
        {"no pixels at all", Bmp(0, 0, 24, 0, 0, 0)},
        {"1 bit, one pixel wide: rows of 4 bytes", Bmp(1, 3, 1, 0, 0, 12)},
        {"1 bit, 33 wide: rows of 8 bytes", Bmp(33, 2, 1, 0, 0, 16)},
        {"bit fields", Bmp(2, 2, 32, 3, 0, 16)},
        {"alpha bit fields", Bmp(2, 2, 32, 6, 0, 16)},
        {"RLE8 of 10 bytes", Bmp(4, 2, 8, 1, 10, 10)},
        {"PNG", png},
    };
    for (const auto& row : rows) {
        EXPECT_FALSE(IsCutShort(row.whole)) << row.name;
        EXPECT_TRUE(IsCutShort(row.whole.substr(0, row.whole.size() - 1))) << row.name;
    }
    EXPECT_TRUE(IsCutShort(Bmp(5, 3, 24, 0, 0, 48).substr(0, 53))) << "headers cut";
    // Compressed pixels of a size beyond 16 MiB that are not all there.
    EXPECT_TRUE(IsCutShort(Bmp(4, 2, 8, 1, 0x01000010, 0x10))) << "RLE8 told 16 MiB and more";
    // A JPEG is judged by its segments.
    EXPECT_TRUE(IsCutShort(std::string("\xFF\xD8\xFF\xFE\x00\x08"
                                       "ab",
                                       8)))
        << "JPEG cut short";
    EXPECT_FALSE(IsCutShort("plain text")) << "not a picture: left to its decoder";
}

} // namespace
} // namespace kavelto
