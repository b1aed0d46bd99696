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
        {80, {990, 718}}, {79, {990, 718}}, {78, {990, 663}}, {77, {849, 663}}};
    const auto found = layouts.find(size);
    return found != layouts.end() ? found->second : PixelSize{707, 497};
}

TEST(WindowFit, TakesTheLargestFontSizeWhoseLayoutFits) {
    // The area exactly the template's layout, then each as wide or as high as it; when none
    // fits, the smallest size.
    EXPECT_EQ(FittingFontSize(80, 60, MainWindowAt, {990, 718}), 80) << "exactly the area";
    EXPECT_EQ(FittingFontSize(80, 60, MainWindowAt, {990, 717}), 78) << "a pixel too short";
    EXPECT_EQ(FittingFontSize(80, 60, MainWindowAt, {989, 718}), 77) << "a pixel too narrow";
    EXPECT_EQ(FittingFontSize(80, 60, MainWindowAt, {640, 480}), 60) << "nothing fits";
}

} // namespace
} // namespace kavelto
