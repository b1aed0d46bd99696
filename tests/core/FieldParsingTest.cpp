#include "FieldParsing.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace kavelto {
namespace {

using Case = std::pair<const char*, const char*>; // text, outcome

// "value|rest", the value marked "(none)" when no number was found.
std::string ParsedIntText(const char* text) {
    const ParsedInt parsed = ParseLenientInt(text);
    return std::to_string(parsed.value) + (parsed.found ? "|" : " (none)|") + parsed.end;
}

std::string ParsedFloatText(const char* text) {
    const ParsedFloat parsed = ParseLenientFloat(text);
    std::ostringstream out;
    out << parsed.value << (parsed.found ? "" : " (none)");
    return out.str();
}

// The count, or "refused" when the text is no count and the value was left alone.
std::string CountText(const char* text) {
    std::uint32_t value = 12345;
    const bool ok = ParseUnsignedCount(text, value);
    return ok ? std::to_string(value) : value == 12345 ? "refused" : "refused, yet set";
}

TEST(FieldParsing, LenientIntegers) {
    for (const char* text : {"", "-", "+-3"})
        EXPECT_EQ(ParsedIntText(text), std::string("0 (none)|") + text) << text;
    for (const auto& [text, outcome] :
         {Case{"  \t-17abc", "-17|abc"}, Case{"+5,", "5|,"}, Case{"70000", "70000|"},
          Case{"99999999999999999999", "2147483647|"},
          Case{"-99999999999999999999", "-2147483648|"}})
        EXPECT_EQ(ParsedIntText(text), outcome) << text;
}

TEST(FieldParsing, LenientFloats) {
    for (const char* text : {"", "abc", "-", "--1"})
        EXPECT_EQ(ParsedFloatText(text), "0 (none)") << text;
    for (const auto& [text, outcome] :
         {Case{"10.5", "10.5"}, Case{" -129.921000", "-129.921"}, Case{"12,5", "12"},
          Case{"+.5", "0.5"}, Case{"1e2x", "100"}, Case{"7.", "7"}, Case{"1e-999", "0"}})
        EXPECT_EQ(ParsedFloatText(text), outcome) << text;
}

// Blanks around the count are allowed, anything else refuses it.
TEST(FieldParsing, PcbCount) {
    for (const char* text : {"", "+", "-1", "1.5", "12 3"})
        EXPECT_EQ(CountText(text), "refused") << text;
    for (const auto& [text, outcome] :
         {Case{"0", "0"}, Case{"\t+7 ", "7"}, Case{"4294967295", "4294967295"},
          Case{"99999999999", "4294967295"}, Case{"000000000000000000000000000001", "1"}})
        EXPECT_EQ(CountText(text), outcome) << text;
}

} // namespace
} // namespace kavelto
