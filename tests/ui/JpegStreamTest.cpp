#include "JpegStream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

namespace kavelto {
namespace {

std::string Word(int value) {
    return {static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
}

void ExpectIncompleteWhenCut(std::string_view jpeg, std::initializer_list<std::size_t> lengths) {
    for (const std::size_t length : lengths)
        EXPECT_FALSE(IsCompleteJpeg(jpeg.substr(0, length))) << "cut to " << length << " bytes";
}

// A whole picture stays whole whatever follows its end: a phone's appended video (a start of
// scan that no end of image follows), stray markers, bytes. Cut right after the start marker,
// inside a marker, inside the first table, in the scan data, and just before or inside the end
// marker, it is refused. Other data is left to its decoder.
TEST(JpegStream, TellsWholePicturesWithTrailersFromCutOnes) {
    std::ifstream in(DEMO_DIR "/coldfire-top.jpg", std::ios::binary);
    const std::string whole{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(whole.size(), 1000u);
    const std::string video = std::string("\xFF\xDA\x00\x0C", 4) + std::string(10, '\x01');
    for (const std::string& trailer :
         {std::string(), video, "\xFF\xD9\xFF" + video, std::string("\0\xFF\xDA\xFF\xD8 zz", 7)})
        EXPECT_TRUE(IsCompleteJpeg(whole + trailer)) << testing::PrintToString(trailer);
    ExpectIncompleteWhenCut(whole,
                            {2, 3, 40, whole.size() / 2, whole.size() - 2, whole.size() - 1});
    for (const char* other : {"", "BM\x36\x00\x00\x00", "\xFF"})
        EXPECT_TRUE(IsCompleteJpeg(other)) << other;
}

// A sequential JPEG in miniature: a frame of the size with three components (the first sampled
// twice across and down: coded units of 16 x 16 pixels, unless all are sampled alike: 8 x 8) or
// one (units of 8 x 8), a restart every so many units, and one scan whose coded data between
// restarts is the given pieces, with markers numbered from 0.
struct Miniature {
    Miniature(int width = 64, int height = 48, int components = 3, int interval = 4,
              bool subsampled = true)
        : width(width), height(height), components(components), interval(interval),
          subsampled(subsampled) {}

    int width;
    int height;
    int components;
    int interval;
    bool subsampled;
    std::string frame = "\xFF\xC0";

    int unit() const { return components > 1 && subsampled ? 16 : 8; }

    std::string stream(const std::vector<std::string>& pieces, int rows) const {
        std::string jpeg = "\xFF\xD8" + frame + Word(8 + 3 * components) + '\x08' + Word(rows) +
                           Word(width) + char(components);
        for (int c = 1; c <= components; ++c)
            jpeg += std::string{char(c), c == 1 && unit() == 16 ? '\x22' : '\x11', '\0'};
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
};

// Coded data of restart interval i, with stuffed and fill bytes among its own.
std::vector<std::string> Pieces(int count) {
    std::vector<std::string> pieces;
    pieces.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        pieces.push_back(std::string(1 + i % 3, char('a' + i)) + std::string("\xFF\x00z", 3) +
                         (i % 4 == 1 ? "\xFF\xFF" : ""));
    return pieces;
}

// Cut along the restarts that start rows, each band is the miniature of its own rows, with
// its pieces and markers numbered from 0 again.
TEST(JpegStream, CutsIntoBandsAlongRowsWhereCodingRestarts) {
    struct Band {
        int top, height, pieces;
    };
    const struct {
        Miniature jpeg;
        int count;
        std::vector<Band> bands;
    } cases[] = {
        {{}, 2, {{0, 16, 1}, {16, 32, 2}}},                         // a restart a row
        {{64, 48, 3, 2}, 2, {{0, 16, 2}, {16, 32, 4}}},             // two a row
        {{64, 40, 3, 4}, 3, {{0, 16, 1}, {16, 16, 1}, {32, 8, 1}}}, // the last row short
        {{64, 320, 3, 8}, 2, {{0, 160, 5}, {160, 160, 5}}},         // over eight markers
        {{64, 16, 3, 8, false}, 2, {{0, 8, 1}, {8, 8, 1}}},         // units of 8 x 8
        {{64, 32, 1, 8}, 2, {{0, 16, 2}, {16, 16, 2}}},             // one component
        {{64, 47, 3, 4}, 2, {{0, 16, 1}, {16, 31, 2}}},             // an odd height
        {{64, 1024, 3, 4}, 2, {{0, 512, 32}, {512, 512, 32}}},      // over 255 rows a band
        {{1, 48, 3, 1}, 2, {{0, 16, 1}, {16, 32, 2}}},              // one pixel wide
    };
    for (const auto& c : cases) {
        const int unit = c.jpeg.unit();
        const int units = (c.jpeg.width + unit - 1) / unit * ((c.jpeg.height + unit - 1) / unit);
        const std::vector<std::string> pieces =
            Pieces((units + c.jpeg.interval - 1) / c.jpeg.interval);
        const std::vector<JpegBand> bands =
            SplitJpegIntoBands(c.jpeg.stream(pieces, c.jpeg.height), c.count);
        ASSERT_EQ(bands.size(), c.bands.size()) << c.jpeg.height;
        auto first = pieces.begin();
        for (std::size_t i = 0; i < bands.size(); ++i) {
            const Band& band = c.bands[i];
            EXPECT_EQ(std::tie(bands[i].top, bands[i].height, bands[i].stream),
                      std::make_tuple(band.top, band.height,
                                      c.jpeg.stream({first, first + band.pieces}, band.height)))
                << "band " << i << " of " << c.jpeg.height << " rows";
            first += band.pieces;
        }
    }
    // An empty comment before the frame is a segment like any other.
    const std::string plain = Miniature().stream(Pieces(3), 48);
    EXPECT_EQ(SplitJpegIntoBands("\xFF\xD8" + std::string("\xFF\xFE\0\x02", 4) + plain.substr(2), 2)
                  .size(),
              2u);
}

// Scans one after another, with a table between them, and the restart, stuffed and fill bytes
// of their data: walked through, and refused cut in the table or the last scan. Markers that
// stand alone, without a length, are stepped over: a start of image again, a temporary one.
TEST(JpegStream, WalksSegmentsAndScans) {
    Miniature progressive;
    progressive.frame = "\xFF\xC2";
    const std::string first = progressive.stream(Pieces(3), 48);
    const std::string whole = first.substr(0, first.size() - 2) + "\xFF\xC4" + Word(3) + '\0' +
                              "\xFF\xDA" + Word(3) + "\x01" + Pieces(2)[1] + "\xFF\xD9";
    EXPECT_TRUE(IsCompleteJpeg(whole));
    EXPECT_TRUE(IsCompleteJpeg("\xFF\xD8\xFF\xD8\xFF\x01" + whole.substr(2)));
    const std::size_t table = whole.find("\xFF\xC4");
    ExpectIncompleteWhenCut(whole, {table + 3, table + 6, whole.size() - 4, whole.size() - 1});
}

// The stream with its frame header cut to the room of one component while it still counts three.
std::string FrameWithOneComponentsRoom(std::string stream) {
    const std::size_t frame = stream.find("\xFF\xC0");
    stream.replace(frame + 2, 2, Word(8 + 3));
    return stream.erase(frame + 2 + 8 + 3, 6);
}

// The stream without its frame header.
std::string WithoutFrame(std::string stream) {
    const std::size_t frame = stream.find("\xFF\xC0");
    const std::size_t length =
        std::size_t(std::uint8_t(stream[frame + 2])) << 8 | std::uint8_t(stream[frame + 3]);
    return stream.erase(frame, 2 + length);
}

// Streams a decoder could not take band by band, or that would go wrong cut.
TEST(JpegStream, LeavesWholeWhatCantBeCut) {
    const Miniature plain;
    const std::string whole = plain.stream(Pieces(3), 48);
    Miniature progressive;
    progressive.frame = "\xFF\xC2";
    const std::string secondScan = "\xFF\xDA" + Word(8) + std::string("\x01\x01\x00", 3);
    const struct {
        const char* name;
        std::string stream;
    } cases[] = {
        {"no restart interval", Miniature{64, 48, 3, 0}.stream(Pieces(1), 48)},
        {"restarts within rows", Miniature{64, 48, 3, 3}.stream(Pieces(4), 48)},
        {"progressive", progressive.stream(Pieces(3), 48)},
        {"a restart missing", plain.stream(Pieces(2), 48)},
        {"a second scan", whole.substr(0, whole.size() - 2) + secondScan + "\xFF\xD9"},
        {"restart markers without a restart interval",
         Miniature{64, 48, 3, 0}.stream(Pieces(12), 48)},
        {"a frame shorter than its components", FrameWithOneComponentsRoom(whole)},
        {"a scan before any frame", WithoutFrame(Miniature{64, 48, 1, 4}.stream(Pieces(12), 48))},
        {"an end of image before the frame, as if it had a length",
         std::string("\xFF\xD8\xFF\xD9\x00\x02", 6) + whole.substr(2)},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(SplitJpegIntoBands(c.stream, 2).empty()) << c.name;
}

// Of the sixteen codes from 0xC0, only baseline and extended sequential Huffman frames are cut;
// 0xC4, 0xC8 and 0xCC start no frame at all, so a stream with one of them in the frame's place
// has none.
TEST(JpegStream, CutsOnlySequentialHuffmanFrames) {
    for (int code = 0xC0; code <= 0xCF; ++code) {
        Miniature miniature;
        miniature.frame = std::string{'\xFF', char(code)};
        EXPECT_EQ(SplitJpegIntoBands(miniature.stream(Pieces(3), 48), 2).size(),
                  code <= 0xC1 ? 2u : 0u)
            << std::hex << code;
    }
}

// An Exif segment in either byte order: the picture's directory of as many entries as asked,
// then the thumbnail's, which says where the thumbnail's JPEG lies and how long it is.
std::string Exif(const std::string& thumbnail, bool bigEndian, std::uint32_t lengthTold,
                 int pictureEntries = 0) {
    const auto number = [bigEndian](std::uint32_t value, int bytes) {
        std::string text;
        for (int i = 0; i < bytes; ++i)
            text += char(value >> (8 * (bigEndian ? bytes - 1 - i : i)) & 0xFF);
        return text;
    };
    const auto entry = [&](int tag, std::uint32_t value) {
        return number(tag, 2) + number(4, 2) + number(1, 4) + number(value, 4);
    };
    std::string picture = number(pictureEntries, 2);
    for (int i = 0; i < pictureEntries; ++i)
        picture += entry(0x0112, 1); // the orientation
    // The header, the picture's directory and its link on; then two entries and the end link.
    const auto next = std::uint32_t(8 + picture.size() + 4), offset = next + 2 + 24 + 4;
    const std::string tiff = (bigEndian ? "MM" : "II") + number(42, 2) + number(8, 4) + picture +
                             number(next, 4) + number(2, 2) + entry(0x0201, offset) +
                             entry(0x0202, lengthTold) + number(0, 4) + thumbnail;
    return "\xFF\xE1" + Word(int(8 + tiff.size())) + std::string("Exif\0\0", 6) + tiff;
}

// Found in either byte order, but not past its segment's end nor after the picture's frame.
TEST(JpegStream, FindsTheExifThumbnail) {
    const std::string thumbnail = "\xFF\xD8 small \xFF\xD9";
    const std::string plain = Miniature().stream(Pieces(3), 48);
    const auto size = std::uint32_t(thumbnail.size());
    const auto withExif = [&](bool bigEndian, std::uint32_t length) {
        return "\xFF\xD8" + Exif(thumbnail, bigEndian, length) + plain.substr(2);
    };
    EXPECT_EQ(ExifThumbnail(withExif(false, size)), thumbnail);
    EXPECT_EQ(ExifThumbnail(withExif(true, size)), thumbnail);
    EXPECT_EQ(ExifThumbnail(withExif(false, size + 1)), "");
    // Behind a picture's directory of entries of its own, as a camera writes it.
    EXPECT_EQ(ExifThumbnail("\xFF\xD8" + Exif(thumbnail, true, size, 3)), thumbnail);
    EXPECT_EQ(ExifThumbnail(plain.substr(0, 21) + Exif(thumbnail, false, size)), "");
    // Data that ends with the segment, and data that ends a byte before the segment says it does.
    const std::string exif = Exif(thumbnail, false, size);
    EXPECT_EQ(ExifThumbnail("\xFF\xD8" + exif), thumbnail);
    const int told = (std::uint8_t(exif[2]) << 8 | std::uint8_t(exif[3])) + 1;
    EXPECT_EQ(ExifThumbnail("\xFF\xD8" + exif.substr(0, 2) + Word(told) + exif.substr(4)), "");
    // A directory that tells no offset, or no length, its entry's tag another: 10 bytes of
    // segment head, then 16 and 28 into the little-endian TIFF data.
    for (const std::size_t tag : {10u + 16, 10u + 28}) {
        std::string untold = exif;
        untold[tag] = '\x03';
        EXPECT_EQ(ExifThumbnail("\xFF\xD8" + untold), "") << tag;
    }
    // A frame of any kind ends the search; the tables whose codes lie among the frames' do not.
    for (int code = 0xC0; code <= 0xCF; ++code) {
        const std::string segment = std::string{'\xFF', char(code)} + Word(4) + "ab";
        const bool frame = code != 0xC4 && code != 0xC8 && code != 0xCC;
        EXPECT_EQ(ExifThumbnail("\xFF\xD8" + segment + exif), frame ? "" : thumbnail)
            << std::hex << code;
    }
}

} // namespace
} // namespace kavelto
