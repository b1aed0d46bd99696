#include "TextEncoding.h"
#include "Utf16Bytes.h"
#include "Utf16Decoder.h"

#include <gtest/gtest.h>

namespace kavelto {
namespace {

struct Utf8Case {
    const char* name;
    std::string bytes;
    bool valid;
};

TEST(TextEncoding, RecognisesWellFormedUtf8) {
    const Utf8Case cases[] = {
        {"ascii", "100nF", true},
        {"micro",
         "4.7\xC2\xB5"
         "F",
         true},
        {"euro", "\xE2\x82\xAC", true},
        {"astral", "\xF0\x9F\x94\x8C", true},
        {"latin1 micro",
         "4.7\xB5"
         "F",
         false},
        {"lone continuation", "\x80", false},
        {"truncated", "\xE2\x82", false},
        {"overlong slash", "\xC0\xAF", false},
        {"overlong three", "\xE0\x80\xAF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"beyond unicode", "\xF4\x90\x80\x80", false},
        {"empty", "", true},
    };
    for (const Utf8Case& c : cases)
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.name;
}

TEST(TextEncoding, DisplaysLatin1AsUtf8AndKeepsUtf8) {
    EXPECT_EQ(DisplayUtf8("4.7\xB5"
                          "F"),
              "4.7\xC2\xB5"
              "F");
    EXPECT_EQ(DisplayUtf8("4.7\xC2\xB5"
                          "F"),
              "4.7\xC2\xB5"
              "F");
    EXPECT_EQ(Latin1ToUtf8("\xE9\xFF"), "\xC3\xA9\xC3\xBF");
}

// Units and surrogate pairs that two chunks split come out whole; a surrogate without its
// partner becomes U+FFFD.
TEST(TextEncoding, DecodesUtf16InChunks) {
    // "A", U+00B5, U+20AC, U+1F50C as a pair, a lone high surrogate, "z", a lone low surrogate.
    const std::u16string units = {0x0041, 0x00B5, 0x20AC, 0xD83D, 0xDD0C, 0xD800, 0x007A, 0xDC00};
    const std::string utf8 = "A\xC2\xB5\xE2\x82\xAC\xF0\x9F\x94\x8C\xEF\xBF\xBDz\xEF\xBF\xBD";
    for (const bool bigEndian : {false, true}) {
        const std::string bytes = Utf16Bytes(units, bigEndian);
        for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
            Utf16Decoder decoder(bigEndian);
            std::string out(Utf16Decoder::maxOutput(bytes.size()) * 2, '\0');
            std::size_t n = decoder.decode(bytes.data(), cut, out.data());
            n += decoder.decode(bytes.data() + cut, bytes.size() - cut, out.data() + n);
            EXPECT_EQ(out.substr(0, n), utf8) << "big endian " << bigEndian << ", cut " << cut;
        }
    }
}

} // namespace
} // namespace kavelto
