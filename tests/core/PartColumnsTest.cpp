#include "parts/PartColumns.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kavelto {
namespace {

TEST(PartColumnTextTest, FormatsEachColumn) {
    // Fields in record order: designator, prefix, partId, layer, x, y, value, package, rotation,
    // placed. The designator shows whole, whatever its sort keys.
    const PartRecord resistor{"UART_EN201", "UART", 0,      'T', 12345.678f,
                              -3.25f,       "10k",  "0603", -90, true};
    const PartRecord bare{"", "", 7, std::nullopt, 0.0f, 0.0f, "", "", 0, false};
    const char* const resistorTexts[] = {"DONE", "12",  "UART_EN201", "10k",  "0603",
                                         "T",    "-90", "12345.678",  "-3.25"};
    const char* const bareTexts[] = {"", "12", "", "", "", "", "0", "0", "0"};
    for (int column = 0; column < kPartColumnCount; ++column) {
        EXPECT_EQ(PartColumnText(resistor, 12, PartColumn(column)), resistorTexts[column]);
        EXPECT_EQ(PartColumnText(bare, 12, PartColumn(column)), bareTexts[column]);
    }
}

// A position as a placement file writes it, and as X and Y show it: the shortest text that reads
// back as the same float, never the float's own noise nor an exponent.
struct PositionRow {
    const char* file;
    const char* shown;
};

const PositionRow kPositions[] = {
    {"88.9", "88.9"},            // "%f" would show 88.900002
    {"-129.921000", "-129.921"}, // trailing zeros are the file's padding
    {"0.1", "0.1"},
    {"-0.5", "-0.5"},
    {"100", "100"},
    {"0.00001", "0.00001"},
    {"123456.7", "123456.7"},
    {"16777217", "16777216"}, // beyond a float's 24 bits: the stored number
};

class PositionTextTest : public testing::TestWithParam<PositionRow> {};

TEST_P(PositionTextTest, ShowsTheFilesNumber) {
    const float stored = std::stof(GetParam().file);
    PartRecord part{"R1", "R", 1, 'T', stored, -stored, "", "", 0, false};
    EXPECT_EQ(PartColumnText(part, 1, PartColumn::X), GetParam().shown);
    const std::string negated =
        GetParam().shown[0] == '-' ? GetParam().shown + 1 : std::string("-") + GetParam().shown;
    EXPECT_EQ(PartColumnText(part, 1, PartColumn::Y), negated);
}

INSTANTIATE_TEST_SUITE_P(Rows, PositionTextTest, testing::ValuesIn(kPositions));

} // namespace
} // namespace kavelto
