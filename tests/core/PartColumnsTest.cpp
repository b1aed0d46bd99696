#include "parts/PartColumns.h"

#include <gtest/gtest.h>

#include <optional>

namespace kavelto {
namespace {

TEST(PartColumnTextTest, FormatsEachColumn) {
    // Fields in record order: designator, prefix, partId, layer, x, y, value, package, rotation,
    // placed. The designator shows whole, whatever its sort keys.
    const PartRecord resistor{"UART_EN201", "UART", 0,      'T', 12345.678f,
                              -3.25f,       "10k",  "0603", -90, true};
    const PartRecord bare{"", "", 7, std::nullopt, 0.0f, 0.0f, "", "", 0, false};
    const char* const resistorTexts[] = {"DONE", "12",  "UART_EN201",   "10k",      "0603",
                                         "T",    "-90", "12345.677734", "-3.250000"};
    const char* const bareTexts[] = {"", "12", "", "", "", "", "0", "0.000000", "0.000000"};
    for (int column = 0; column < kPartColumnCount; ++column) {
        EXPECT_EQ(PartColumnText(resistor, 12, PartColumn(column)), resistorTexts[column]);
        EXPECT_EQ(PartColumnText(bare, 12, PartColumn(column)), bareTexts[column]);
    }
}

} // namespace
} // namespace kavelto
