#include "JpegStream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kavelto {
namespace {

std::string Word(int value) {
    return {static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
}

// A sequential JPEG in miniature: a frame of the size with three components (the first sampled
// twice across and down) or one, a restart interval, one scan whose coded data between
// restarts is the given pieces, with markers numbered from 0, and the end of image.
struct Miniature {
    int width = 64;
    int height = 48;
    int components = 3;
    int interval = 4; // coded units of 16 x 16 pixels (8 x 8 for one component)
    std::string frame = "\xFF\xC0";

    std::string stream(const std::vector<std::string>& pieces, int rows) const {
        std::string jpeg = "\xFF\xD8" + frame + Word(8 + 3 * components) + '\x08' + Word(rows) +
                           Word(width) + char(components);
        for (int c = 1; c <= components; ++c)
            jpeg += std::string{char(c), c == 1 && components > 1 ? '\x22' : '\x11', '\0'};
        if (interval)
            jpeg += "\xFF\xDD" + Word(4) + Word(interval);
        jpeg += "\xFF\xDA" + Word(6 + 2 * components) + char(components);
        for (int c = 1; c <= components; ++c)
            jpeg += std::string{char(c), '\0'};
        jpeg += std::string("\x00\x3F\x00", 3);
        for (std::size_t i = 0; i < pieces.size(); ++i)
            jpeg += (i ? std::string{'\xFF', char(0xD0 + (i - 1) % 8)} : "") + pieces[i];
        return jpeg + "\xFF\xD9";
    }
    std::string stream(const std::vector<std::string>& pieces) const {
        return stream(pieces, height);
    }
};

// Coded data of restart interval i: stuffed and fill bytes among its own.
std::vector<std::string> Pieces(int count) {
    std::vector<std::string> pieces;
    for (int i = 0; i < count; ++i)
        pieces.push_back(std::string(1 + i % 3, char('a' + i)) + std::string("\xFF\x00z", 3) +
                         (i % 4 == 1 ? "\xFF\xFF" : ""));
    return pieces;
}

struct Band {
    int top, height;
    std::size_t firstPiece, pieces;
};

// Cut along the restarts that start rows, each band is the miniature of its own rows, with
// its pieces and markers numbered from 0 again.
TEST(JpegBands, CutAlongRowsWhereCodingRestarts) {
    const struct {
        const char* name;
        Miniature jpeg;
        int pieces;
        int count;
        std::vector<Band> bands;
    } cases[] = {
        {"a restart every row", {}, 3, 2, {{0, 16, 0, 1}, {16, 32, 1, 2}}},
        {"every half row", {64, 48, 3, 2}, 6, 2, {{0, 16, 0, 2}, {16, 32, 2, 4}}},
        {"three bands, last row short",
         {64, 40, 3, 4},
         3,
         3,
         {{0, 16, 0, 1}, {16, 16, 1, 1}, {32, 8, 2, 1}}},
        {"more bands than rows",
         {64, 48, 3, 4},
         3,
         8,
         {{0, 16, 0, 1}, {16, 16, 1, 1}, {32, 16, 2, 1}}},
        {"every second row, over eight markers",
         {64, 320, 3, 8},
         10,
         2,
         {{0, 160, 0, 5}, {160, 160, 5, 5}}},
        {"one component", {64, 32, 1, 8}, 4, 2, {{0, 16, 0, 2}, {16, 16, 2, 2}}},
        {"extended sequential frame",
         {64, 48, 3, 4, "\xFF\xC1"},
         3,
         2,
         {{0, 16, 0, 1}, {16, 32, 1, 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> pieces = Pieces(c.pieces);
        const std::vector<JpegBand> bands = SplitJpegIntoBands(c.jpeg.stream(pieces), c.count);
        ASSERT_EQ(bands.size(), c.bands.size());
        for (std::size_t i = 0; i < bands.size(); ++i) {
            const Band& expected = c.bands[i];
            EXPECT_EQ(std::make_pair(bands[i].top, bands[i].height),
                      std::make_pair(expected.top, expected.height));
            const auto first = pieces.begin() + std::ptrdiff_t(expected.firstPiece);
            EXPECT_EQ(
                bands[i].stream,
                c.jpeg.stream({first, first + std::ptrdiff_t(expected.pieces)}, expected.height))
                << "band " << i;
        }
    }
}

// Streams a decoder could not take band by band, or that would go wrong cut.
TEST(JpegBands, LeavesWholeWhatCantBeCut) {
    const Miniature plain;
    const std::string whole = plain.stream(Pieces(3));
    Miniature noRestarts;
    noRestarts.interval = 0;
    Miniature restartsWithinRows; // every 3 of 4 units across: never at a row's start
    restartsWithinRows.interval = 3;
    Miniature progressive;
    progressive.frame = "\xFF\xC2";
    const std::string secondScan = "\xFF\xDA" + Word(8) + '\x01' + std::string("\x01\x00", 2);
    const struct {
        const char* name;
        std::string stream;
        int count;
    } cases[] = {
        {"one band asked for", whole, 1},
        {"no restart interval", noRestarts.stream(Pieces(1)), 2},
        {"restarts within rows", restartsWithinRows.stream(Pieces(4)), 2},
        {"progressive", progressive.stream(Pieces(3)), 2},
        {"a restart missing", plain.stream(Pieces(2)), 2},
        {"a restart too many", plain.stream(Pieces(4)), 2},
        {"cut short", whole.substr(0, whole.size() - 4), 2},
        {"a second scan", whole.substr(0, whole.size() - 2) + secondScan + "\xFF\xD9", 2},
        {"one row", Miniature{64, 16, 3, 4}.stream(Pieces(1)), 2},
        {"not a JPEG", "BM\x36", 2},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(SplitJpegIntoBands(c.stream, c.count).empty()) << c.name;
}

// An Exif segment whose TIFF structure, in either byte order, has a directory for the picture
// with some entries, then the thumbnail's, and the thumbnail after them.
struct Exif {
    bool bigEndian = false;
    int pictureEntries = 2;
    bool shortValues = false; // offset and length as 16-bit numbers
    bool thumbnailDirectory = true;
    std::uint32_t lengthTold = 0; // the thumbnail's length, when not its own

    std::string number(std::uint32_t value, int bytes) const {
        std::string text;
        for (int i = 0; i < bytes; ++i)
            text += char(value >> (8 * (bigEndian ? bytes - 1 - i : i)) & 0xFF);
        return text;
    }
    std::string entry(int tag, std::uint32_t value) const {
        return number(tag, 2) + number(shortValues ? 3 : 4, 2) + number(1, 4) +
               (shortValues ? number(value, 2) + number(0, 2) : number(value, 4));
    }
    std::string segment(const std::string& thumbnail) const {
        const std::uint32_t second = 8 + 2 + 12 * pictureEntries + 4;
        std::string tiff =
            (bigEndian ? "MM" : "II") + number(42, 2) + number(8, 4) + number(pictureEntries, 2);
        for (int i = 0; i < pictureEntries; ++i)
            tiff += entry(0x010F, 0x0201);
        tiff += number(thumbnailDirectory ? second : 0, 4) + number(2, 2) +
                entry(0x0201, second + 2 + 24 + 4) +
                entry(0x0202, lengthTold ? lengthTold : std::uint32_t(thumbnail.size())) +
                number(0, 4) + thumbnail;
        return "\xFF\xE1" + Word(int(2 + 6 + tiff.size())) + std::string("Exif\0\0", 6) + tiff;
    }
};

TEST(JpegThumbnail, FoundThroughTheExifDirectories) {
    const std::string thumbnail = "\xFF\xD8 small \xFF\xD9";
    const std::string jfif = "\xFF\xE0" + Word(16) + std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14);
    const std::string frame = Miniature().stream(Pieces(3)).substr(2);
    const struct {
        const char* name;
        std::string jpeg;
        bool found;
    } cases[] = {
        {"little-endian", "\xFF\xD8" + Exif().segment(thumbnail) + frame, true},
        {"big-endian, after JFIF", "\xFF\xD8" + jfif + Exif{true}.segment(thumbnail) + frame, true},
        {"16-bit values", "\xFF\xD8" + Exif{false, 0, true}.segment(thumbnail) + frame, true},
        {"no thumbnail directory", "\xFF\xD8" + Exif{false, 2, false, false}.segment(thumbnail),
         false},
        {"length past the segment", "\xFF\xD8" + Exif{false, 2, false, true, 99}.segment(thumbnail),
         false},
        {"after the frame", "\xFF\xD8" + frame.substr(0, 19) + Exif().segment(thumbnail), false},
        {"no Exif mark", "\xFF\xD8\xFF\xE1" + Word(12) + "Exif\0\1II*\0", false},
        {"not a JPEG", Exif().segment(thumbnail), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExifThumbnail(c.jpeg), c.found ? thumbnail : "") << c.name;
}

} // namespace
} // namespace kavelto
