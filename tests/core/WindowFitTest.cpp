#include "WindowFit.h"

#include <gtest/gtest.h>

#include <map>

namespace kavelto {
namespace {

// The main window's size at each font size, in tenths of a point, as a sans-serif font at
// 96 dots per inch lays it out: the size shrinks in whole-pixel steps, not in proportion. Any
// size above the template's would fit every screen, so trying one fails the test.
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
    for (const auto& c : cases)
        EXPECT_EQ(FittingFontSize(80, 60, MainWindowAt, c.area), c.expected) << c.screen;
}

} // namespace
} // namespace kavelto
