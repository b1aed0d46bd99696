#include "JpegStream.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace kavelto {
namespace {

std::string ReadAll(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(JpegStream, TellsWholePicturesFromCutOnes) {
    const std::string whole = ReadAll(DEMO_DIR "/coldfire-top.jpg");
    ASSERT_GT(whole.size(), 1000u);
    EXPECT_TRUE(IsCompleteJpeg(whole));
    EXPECT_TRUE(IsCompleteJpeg(whole + "trailing bytes a camera appended"));
    EXPECT_FALSE(IsCompleteJpeg(std::string_view(whole).substr(0, whole.size() / 2)));
    EXPECT_FALSE(IsCompleteJpeg(std::string_view(whole).substr(0, whole.size() - 2)));
}

TEST(JpegStream, LeavesOtherDataToItsDecoder) {
    EXPECT_TRUE(IsCompleteJpeg(""));
    EXPECT_TRUE(IsCompleteJpeg("BM\x36\x00\x00\x00"));
    EXPECT_TRUE(IsCompleteJpeg(std::string("\xFF\xD8\xFF\xE0 header only", 16)));
}

} // namespace
} // namespace kavelto
