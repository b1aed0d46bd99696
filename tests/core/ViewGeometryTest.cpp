#include "geometry/ViewGeometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

namespace kavelto {

// Found by argument-dependent lookup from GoogleTest and std::vector and std::tuple comparisons.
bool operator==(const PixelRect& a, const PixelRect& b) {
    return std::tie(a.left, a.top, a.width, a.height) == std::tie(b.left, b.top, b.width, b.height);
}

namespace {

constexpr PixelRect kFrame{10, 20, 600, 400}; // the frame of the worked examples

// Picture point (100, 50), turned a quarter, lands at window (193, 53), which maps back to
// (99, 51); mirrored and upright it lands at (560, 45). The fit shows in those points and in the
// background strip beside the drawn picture.
TEST(ViewGeometry, WorkedExamplesOfThe1200x600Picture) {
    const FitResult fit = FitPicture(1200, 600, 90, kFrame);
    EXPECT_EQ(BackgroundStrips(kFrame, fit.drawnWidth, fit.drawnHeight, false),
              (std::vector<PixelRect>{{210, 20, 400, 400}}));
    const ViewState turned{1200, 600, 90, false, fit.scale}, mirrored{1200, 600, 0, true, 2.0f};
    const PixelPoint w = PictureToWindow(turned, kFrame, 100, 50);
    const PicturePoint back = WindowToPicture(turned, kFrame, 193, 53);
    EXPECT_EQ(std::make_tuple(w.x, w.y, back.inside, back.x, back.y),
              std::make_tuple(193, 53, true, 99.0f, 51.0f));
    const PixelPoint m = PictureToWindow(mirrored, kFrame, 100, 50);
    EXPECT_EQ(std::make_tuple(m.x, m.y, WindowToPicture(mirrored, kFrame, 560, 45).x),
              std::make_tuple(560, 45, 100.0f));
    EXPECT_FALSE(WindowToPicture({1200, 600, 0, false, 2.0f}, kFrame, 611, 100).inside);
}

// The marker's box is pulled inside the drawn picture, and far off it collapses onto the drawn
// picture's edges; the magnifier's source square centres on the marker in the turned picture.
TEST(ViewGeometry, MarkerBoxAndMagnifierSquare) {
    const auto boxAndSquare = [](int turn, bool flip, int x, int y, int zoom) {
        const FitResult fit = FitPicture(1200, 600, turn, kFrame);
        const ViewState view{1200, 600, turn, flip, fit.scale, x, y, MarkerMode::PartLocated, zoom};
        const BoxCorners box = MarkerBox(view, kFrame, fit.drawnWidth, fit.drawnHeight);
        return std::make_tuple(box.xLo, box.yLo, box.xHi, box.yHi, MagnifierSource(view));
    };
    EXPECT_EQ(boxAndSquare(0, false, 100, 50, 100), // the top edge pulled to 22
              std::make_tuple(35, 22, 85, 70, PixelRect{50, 0, 100, 100}));
    EXPECT_EQ(boxAndSquare(90, true, 100, 50, 100),
              std::make_tuple(176, 370, 208, 403, PixelRect{500, 1050, 100, 100}));
    EXPECT_EQ(boxAndSquare(0, false, INT_MAX, INT_MIN, 400),
              std::make_tuple(608, 22, 608, 22, PixelRect{INT_MAX - 200, INT_MIN, 400, 400}));
}

TEST(ViewGeometry, NothingToDrawFailsOnNothing) {
    EXPECT_FALSE(FitPicture(1, 100000, 0, kFrame).drawable); // thinner than a window pixel
    // An undecodable file before any good paint: no pixels and scale 0.
    EXPECT_EQ(BackgroundStrips(kFrame, 0, 0, false), (std::vector<PixelRect>{kFrame, kFrame}));
    const ViewState view{0, 0, 90, true, 0.0f, INT_MIN, INT_MAX};
    const PicturePoint p = WindowToPicture(view, kFrame, 300, 300);
    EXPECT_EQ(std::tie(p.x, p.y), std::make_tuple(0.0f, 0.0f));
    const BoxCorners box = MarkerBox(view, kFrame, 0, 0); // the upper bounds win
    EXPECT_EQ(std::tie(box.xLo, box.yLo, box.xHi, box.yHi), std::make_tuple(8, 18, 8, 18));
}

// Turns wrap round; zooming stops at the smallest and the largest box.
TEST(ViewGeometry, ButtonSequences) {
    EXPECT_EQ(std::make_tuple(RotatedLeft(0), RotatedRight(270), ZoomedIn(25), ZoomedOut(369)),
              std::make_tuple(270, 0, 20, 400));
    EXPECT_EQ(RotationText(270, true), "270\xC2\xB0 - Flipped");
}

} // namespace
} // namespace kavelto
