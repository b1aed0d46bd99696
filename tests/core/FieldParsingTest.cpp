#include "base/FieldParsing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace kavelto {
namespace {

// "value|rest", the value marked "(none)" when no number was found.
std::string IntText(const char* text) {
    const ParsedInt parsed = ParseLenientInt(text);
    return std::to_string(parsed.value) + (parsed.found ? "|" : " (none)|") + parsed.end;
}

// The count, or "refused" when the text is no count and the value was left alone.
std::string CountText(const char* text) {
    std::uint32_t value = 12345;
    const bool ok = ParseUnsignedCount(text, value);
    return ok ? std::to_string(value) : value == 12345 ? "refused" : "refused, yet set";
}

using Cases = std::initializer_list<std::pair<const char*, const char*>>; // text, outcome
using FloatCases = std::initializer_list<std::pair<const char*, float>>;

// Numbers in a part file's fields are read as far as they go and clamped; the PCB count allows
// blanks around it and nothing else.
TEST(FieldParsing, LenientNumbersAndTheCount) {
    for (const auto& [text, outcome] : Cases{{"+-3", "0 (none)|+-3"},
                                             {"  \t-17abc", "-17|abc"},
                                             {"99999999999999999999", "2147483647|"}})
        EXPECT_EQ(IntText(text), outcome) << text;
    for (const auto& [text, value] : FloatCases{{"+.5", 0.5f}, {"1e2x", 100.0f}, {"1e-999", 0.0f}})
        EXPECT_EQ(ParseLenientFloat(text).value, value) << text;
    for (const auto& [text, outcome] :
         Cases{{"12 3", "refused"},
               {"\t+7 ", "7"},
               {"99999999999", "4294967295"},
               {"18446744073709551616", "4294967295"}}) // 2 to the 64th
        EXPECT_EQ(CountText(text), outcome) << text;
}

// Every decimal reads as the C library's own conversion reads it, to the last bit of the float,
// and stops where it stops: the short plain decimals of position columns, and the longer ones,
// exponents and points with no digit after them that go the long way round.
TEST(FieldParsing, DecimalsReadAsTheCLibraryReadsThem) {
    std::vector<std::string> texts = {"0",
                                      "-0.0",
                                      "5.",
                                      ".5x",
                                      "100.127",
                                      "-50.061",
                                      "123456789012345",
                                      "1234567890123456",
                                      "0.1e1",
                                      "7E+2,",
                                      "0.000000000000001",
                                      "88.9000000000000001",
                                      "1.5;2"};
    std::mt19937 random(7);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> length(1, 9);
    for (int i = 0; i < 2000; ++i) {
        std::string text = i % 2 ? "-" : "";
        for (int n = length(random); n > 0; --n)
            text += static_cast<char>('0' + digit(random));
        text += '.';
        for (int n = length(random); n > 0; --n)
            text += static_cast<char>('0' + digit(random));
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        char* end = nullptr;
        const double expected = std::strtod(text.c_str(), &end);
        const ParsedFloat parsed = ParseLenientFloat(text.c_str());
        EXPECT_TRUE(parsed.found) << text;
        EXPECT_EQ(parsed.value, static_cast<float>(expected)) << text;
        EXPECT_EQ(parsed.end, end) << text;
    }
}

} // namespace
} // namespace kavelto
