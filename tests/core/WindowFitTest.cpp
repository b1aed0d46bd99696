#include "WindowFit.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace kavelto {
namespace {

// The main window's size at each font size, in tenths of a point, as a sans-serif font at
// 96 dots per inch lays it out: the size shrinks in whole-pixel steps, not in proportion.
PixelSize MainWindowAt(int size) {
    static const std::map<int, PixelSize> layouts = {
        {80, {990, 718}}, {79, {990, 718}}, {78, {990, 663}}, {77, {990, 663}},
        {76, {849, 663}}, {75, {849, 608}}, {74, {849, 608}}};
    const auto found = layouts.find(size);
    return found != layouts.end() ? found->second : PixelSize{707, 497};
}

TEST(WindowFit, TakesTheLargestFontSizeWhoseLayoutFits) {
    const struct {
        const char* screen;
        PixelSize area;
        int expected;
    } cases[] = {
        {"exactly the template's size", {990, 718}, 80},
        {"a pixel too short", {990, 717}, 78},
        {"narrow", {900, 700}, 76},
        {"narrow and short", {900, 620}, 75},
        {"nothing fits: the smallest", {640, 480}, 60},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.screen);
        std::vector<int> tried;
        const auto layoutAt = [&tried](int at) {
            tried.push_back(at);
            return MainWindowAt(at);
        };
        EXPECT_EQ(FittingFontSize(80, 60, layoutAt, c.area), c.expected);
        // Larger sizes are tried first, and none beyond the template's or below the smallest.
        for (std::size_t i = 0; i < tried.size(); ++i)
            EXPECT_EQ(tried[i], 80 - static_cast<int>(i));
        EXPECT_LE(tried.size(), 20u);
    }
}

} // namespace
} // namespace kavelto
