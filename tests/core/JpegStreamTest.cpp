#include "JpegStream.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace kavelto {
namespace {

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
    const std::size_t table = kProgressive.find("\xFF\xC4");
    const std::size_t end = kProgressive.size() - 2;
    ExpectIncompleteWhenCut(kProgressive, {14, 17, kProgressive.find('\x12') + 4, table, table + 4,
                                           end - 3, end, end + 1});
}

} // namespace
} // namespace kavelto
