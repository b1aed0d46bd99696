#include "base/FieldParsing.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

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
         Cases{{"12 3", "refused"}, {"\t+7 ", "7"}, {"99999999999", "4294967295"}})
        EXPECT_EQ(CountText(text), outcome) << text;
}

} // namespace
} // namespace kavelto
