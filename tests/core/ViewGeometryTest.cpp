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

ViewTransform Fitted(int turn, bool mirrored) {
    return *ViewTransform::Fitted({1200, 600}, turn, mirrored, kFrame);
}

// Picture point (100, 50), turned a quarter, lands at window (193, 53), which maps back to
// (99, 51); mirrored and upright it lands at (560, 45). The fit shows in those points and in the
// background strip beside the drawn picture.
TEST(ViewGeometry, WorkedExamplesOfThe1200x600Picture) {
    const ViewTransform turned = Fitted(90, false), mirrored = Fitted(0, true);
    EXPECT_EQ(BackgroundStrips(kFrame, turned.drawn().width, turned.drawn().height),
              (std::vector<PixelRect>{{210, 20, 400, 400}}));
    const PixelPoint w = PictureToWindow(turned, 100, 50);
    const PicturePoint back = WindowToPicture(turned, 193, 53);
    EXPECT_EQ(std::make_tuple(w.x, w.y, back.inside, back.x, back.y),
              std::make_tuple(193, 53, true, 99.0f, 51.0f));
    const PixelPoint m = PictureToWindow(mirrored, 100, 50);
    EXPECT_EQ(std::make_tuple(m.x, m.y, WindowToPicture(mirrored, 560, 45).x),
              std::make_tuple(560, 45, 100.0f));
    EXPECT_TRUE(WindowToPicture(Fitted(0, false), 610, 100).inside); // x 1200, the edge
    EXPECT_FALSE(WindowToPicture(Fitted(0, false), 611, 100).inside);
}

// The marker's box is pulled inside the drawn picture, and far off it collapses onto the drawn
// picture's edges; the magnifier's source square centres on the marker in the turned picture.
TEST(ViewGeometry, MarkerBoxAndMagnifierSquare) {
    const auto boxAndSquare = [](int turn, bool flip, int x, int y, int zoom) {
        const ViewTransform board = Fitted(turn, flip);
        const BoxCorners box = MarkerBox(board, {x, y}, zoom);
        return std::make_tuple(box.xLo, box.yLo, box.xHi, box.yHi,
                               MagnifierSource(board, {x, y}, zoom));
    };
    EXPECT_EQ(boxAndSquare(0, false, 100, 50, 100), // the top edge pulled to 22
              std::make_tuple(35, 22, 85, 70, PixelRect{50, 0, 100, 100}));
    EXPECT_EQ(boxAndSquare(90, true, 100, 50, 100),
              std::make_tuple(176, 370, 208, 403, PixelRect{500, 1050, 100, 100}));
    EXPECT_EQ(boxAndSquare(0, false, INT_MAX, INT_MIN, 400),
              std::make_tuple(608, 22, 608, 22, PixelRect{INT_MAX - 200, INT_MIN, 400, 400}));
}

// The board's transform follows from the state alone: the picture's size once opened and the
// frame's size. A 1200 x 1000 picture in a 600 x 500 frame is drawn at 2 picture pixels a window
// pixel, so window (150, 40) is picture (300, 80).
TEST(ViewGeometry, BoardTransformFromTheState) {
    ViewState view;
    view.frameSize = {600, 500};
    view.pictureSize = PixelSize{1200, 1000};
    EXPECT_FALSE(BoardTransform(view)) << "no picture chosen";
    view.bitmapPath = "board.jpg";
    const PicturePoint p = WindowToPicture(*BoardTransform(view), 150, 40);
    EXPECT_EQ(std::make_tuple(p.inside, p.x, p.y), std::make_tuple(true, 300.0f, 80.0f));
    view.pictureSize.reset();
    EXPECT_FALSE(BoardTransform(view)) << "not opened yet";
    view.pictureSize = PixelSize{0, 0};
    EXPECT_FALSE(BoardTransform(view)) << "a file that can't be read";
}

// A picture of 2 x 256 drawn 3 pixels wide in a square frame at (10, 20): no room for the
// 2-pixel inset on both sides, so both sides of the box go to x 10 + 3 - 2.
TEST(ViewGeometry, BoxOnAPictureTooThinForTheInset) {
    const ViewTransform thin = *ViewTransform::Fitted({2, 256}, 0, false, {10, 20, 400, 400});
    EXPECT_EQ(thin.drawn().width, 3);
    const BoxCorners box = MarkerBox(thin, {1, 128}, 100);
    EXPECT_EQ(std::make_tuple(box.xLo, box.xHi), std::make_tuple(11, 11));
}

TEST(ViewGeometry, NothingToDrawBlackensTheFrame) {
    EXPECT_EQ(BackgroundStrips(kFrame, 0, 0), (std::vector<PixelRect>{kFrame, kFrame}));
    EXPECT_EQ(BackgroundStrips(kFrame, 600, 400), (std::vector<PixelRect>{}));
    EXPECT_EQ(BackgroundStrips({10, 20, 0, 400}, 0, 0), (std::vector<PixelRect>{}));
    EXPECT_EQ(BackgroundStrips({10, 20, 600, 0}, 0, 0), (std::vector<PixelRect>{}));
    const PixelRect line{10, 20, 600, 1}; // a frame one pixel high is still a frame
    EXPECT_EQ(BackgroundStrips(line, 0, 0), (std::vector<PixelRect>{line, line}));
}

// Turns wrap round; zooming stops at the smallest and the largest box.
TEST(ViewGeometry, ButtonSequences) {
    EXPECT_EQ(std::make_tuple(RotatedLeft(0), RotatedRight(270), ZoomedIn(25), ZoomedOut(369)),
              std::make_tuple(270, 0, 20, 400));
    EXPECT_EQ(RotationText(270, true), "270\xC2\xB0 - Flipped");
}

TEST(ViewGeometry, BitmapFieldText) {
    EXPECT_EQ(BitmapText(std::nullopt), "no bitmap loaded");
    EXPECT_EQ(BitmapText(std::string("/boards/a.jpg")), "/boards/a.jpg");
}

} // namespace
} // namespace kavelto
