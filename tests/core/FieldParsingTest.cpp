#include "FieldParsing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kavelto {
namespace {

struct IntCase {
    const char* text;
    bool found;
    std::int32_t value;
    const char* rest;
};

TEST(FieldParsing, LenientIntegers) {
    const IntCase cases[] = {
        {"42", true, 42, ""},
        {"  \t-17abc", true, -17, "abc"},
        {"+5,", true, 5, ","},
        {"", false, 0, ""},
        {"abc", false, 0, "abc"},
        {"-", false, 0, "-"},
        {"+-3", false, 0, "+-3"},
        {"99999999999999999999", true, std::numeric_limits<std::int32_t>::max(), ""},
        {"-99999999999999999999", true, std::numeric_limits<std::int32_t>::min(), ""},
        {"70000", true, 70000, ""},
    };
    for (const IntCase& c : cases) {
        const ParsedInt parsed = ParseLenientInt(c.text);
        EXPECT_EQ(parsed.found, c.found) << c.text;
        EXPECT_EQ(parsed.value, c.value) << c.text;
        EXPECT_STREQ(parsed.end, c.rest) << c.text;
    }
}

struct FloatCase {
    const char* text;
    bool found;
    float value;
};

TEST(FieldParsing, LenientFloats) {
    const FloatCase cases[] = {
        {"10.5", true, 10.5f},  {" -129.921000", true, -129.921f},
        {"12,5", true, 12.0f},  {"+.5", true, 0.5f},
        {"1e2x", true, 100.0f}, {"abc", false, 0.0f},
        {"", false, 0.0f},      {"-", false, 0.0f},
        {"--1", false, 0.0f},   {"1e-999", true, 0.0f},
        {"7.", true, 7.0f},
    };
    for (const FloatCase& c : cases) {
        const ParsedFloat parsed = ParseLenientFloat(c.text);
        EXPECT_EQ(parsed.found, c.found) << c.text;
        EXPECT_EQ(parsed.value, c.found ? c.value : 0.0f) << c.text;
    }
}

struct CountCase {
    const char* text;
    bool ok;
    std::uint32_t value;
};

TEST(FieldParsing, PcbCount) {
    const CountCase cases[] = {
        {"0", true, 0},
        {" 12 ", true, 12},
        {"\t+7\t", true, 7},
        {"", false, 0},
        {"-1", false, 0},
        {"1.5", false, 0},
        {"+", false, 0},
        {"12 3", false, 0},
        {"4294967295", true, 4294967295u},
        {"99999999999", true, 4294967295u},
        {"000000000000000000000000000001", true, 1},
    };
    for (const CountCase& c : cases) {
        std::uint32_t value = 12345;
        EXPECT_EQ(ParseUnsignedCount(c.text, value), c.ok) << c.text;
        EXPECT_EQ(value, c.ok ? c.value : 12345u) << c.text;
    }
}

} // namespace
} // namespace kavelto
