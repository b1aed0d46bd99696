#include "TextEncoding.h"

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

} // namespace
} // namespace kavelto
