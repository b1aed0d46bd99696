#include "JpegStream.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace kavelto {
namespace {

void ExpectIncompleteWhenCut(std::string_view jpeg, std::initializer_list<std::size_t> lengths) {
    for (const std::size_t length : lengths)
        EXPECT_FALSE(IsCompleteJpeg(jpeg.substr(0, length))) << "cut to " << length << " bytes";
}

// Random bytes, with start-of-scan and end-of-image markers scattered through them and a
// start-of-scan near the end that no end-of-image follows, as in a phone's appended video.
std::string RandomTrailer(std::mt19937& random) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::string trailer(std::uniform_int_distribution<std::size_t>(0, 4096)(random), '\0');
    for (char& c : trailer)
        c = static_cast<char>(byte(random));
    for (int markers = byte(random) % 4; markers > 0; --markers)
        trailer.insert(std::uniform_int_distribution<std::size_t>(0, trailer.size())(random),
                       markers % 2 ? "\xFF\xD9" : "\xFF\xDA");
    return trailer + std::string("\xFF\xDA\x00\x0C", 4) + std::string(10, '\x01');
}

// Cut right after the start marker, inside a marker, inside the first table, in the scan data,
// and just before or inside the end marker.
TEST(JpegStream, TellsWholePicturesWithTrailersFromCutOnes) {
    std::ifstream in(DEMO_DIR "/coldfire-top.jpg", std::ios::binary);
    const std::string whole{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(whole.size(), 1000u);
    EXPECT_TRUE(IsCompleteJpeg(whole));
    std::mt19937 random(20240611);
    for (int i = 0; i < 40; ++i)
        EXPECT_TRUE(IsCompleteJpeg(whole + RandomTrailer(random))) << "trailer " << i;
    ExpectIncompleteWhenCut(whole,
                            {2, 3, 40, whole.size() / 2, whole.size() - 2, whole.size() - 1});
    // Other data is left to its decoder.
    for (const char* other : {"", "BM\x36\x00\x00\x00", "\xFF"})
        EXPECT_TRUE(IsCompleteJpeg(other)) << other;
}

// A progressive stream in miniature: two scans with a table between them, stuffed bytes, fill
// bytes and a restart marker in the scan data, and an application segment that holds a whole
// small JPEG of its own.
const std::string kProgressive = std::string("\xFF\xD8"                             // SOI
                                             "\xFF\xE1\x00\x0A"                     // APP1
                                             "\xFF\xD8\xFF\xDA\x00\x02\xFF\xD9"     // its JPEG
                                             "\xFF\xC2\x00\x05\x08\x00\x08"         // SOF2
                                             "\xFF\xDA\x00\x04\x01\x00"             // SOS
                                             "\x12\xFF\x00\x34\xFF\xD0\x56\xFF\xFF" // data
                                             "\xFF\xC4\x00\x03\x00"                 // DHT
                                             "\xFF\xDA\x00\x03\x02"                 // SOS
                                             "\x78\xFF\x00\xFF\xD7\x9A"             // data
                                             "\xFF\xFF\xD9",                        // EOI
                                             55);

TEST(JpegStream, WalksSegmentsAndScans) {
    EXPECT_TRUE(IsCompleteJpeg(kProgressive));
    EXPECT_TRUE(IsCompleteJpeg(kProgressive + std::string("\xFF\xDA\x00\x08 video", 10)));
    const std::size_t firstScanData = kProgressive.find('\x12');
    const std::size_t table = kProgressive.find("\xFF\xC4");
    const std::size_t end = kProgressive.size() - 2;
    ExpectIncompleteWhenCut(kProgressive,
                            {14, 17, firstScanData + 4, table, table + 4, end - 3, end, end + 1});
}

} // namespace
} // namespace kavelto
