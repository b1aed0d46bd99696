#include "ViewGeometry.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

namespace kavelto {

// Found by argument-dependent lookup from GoogleTest and std::vector comparisons.
bool operator==(const PixelRect& a, const PixelRect& b) {
    return std::tie(a.left, a.top, a.width, a.height) == std::tie(b.left, b.top, b.width, b.height);
}

namespace {

constexpr int kMin = std::numeric_limits<int>::min();
constexpr int kMax = std::numeric_limits<int>::max();
constexpr PixelRect kFrame{10, 20, 600, 400}; // the frame of the worked examples

// The view as a paint of a 1200 x 600 picture in kFrame leaves it.
ViewState PaintedView(int rotation, bool mirrored) {
    return {1200, 600, rotation, mirrored, FitPicture(1200, 600, rotation, kFrame).scale};
}

TEST(ViewGeometry, WorkedExamplesOfThe1200x600Picture) {
    // (wx, wy): where picture point (100, 50) lands; (backX, backY): where that maps back to.
    const struct {
        int rotation, mirrored, drawnW, drawnH, wx, wy;
        float scale, backX, backY;
        PixelRect strip;
    } cases[] = {
        {0, false, 600, 300, 60, 45, 2.0f, 100.0f, 50.0f, {10, 320, 600, 100}},
        {90, false, 200, 400, 193, 53, 3.0f, 99.0f, 51.0f, {210, 20, 400, 400}},
        {0, true, 600, 300, 560, 45, 2.0f, 100.0f, 50.0f, {10, 320, 600, 100}},
        {180, false, 600, 300, 560, 295, 2.0f, 100.0f, 50.0f, {10, 320, 600, 100}},
        {270, false, 200, 400, 26, 386, 3.0f, 102.0f, 48.0f, {210, 20, 400, 400}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rotation << (c.mirrored ? " mirrored" : ""));
        const FitResult fit = FitPicture(1200, 600, c.rotation, kFrame);
        EXPECT_EQ(std::tie(fit.drawnWidth, fit.drawnHeight, fit.scale),
                  std::tie(c.drawnW, c.drawnH, c.scale));
        EXPECT_EQ(BackgroundStrips(kFrame, fit.drawnWidth, fit.drawnHeight, false),
                  std::vector<PixelRect>{c.strip});
        const ViewState view = PaintedView(c.rotation, c.mirrored);
        const PixelPoint w = PictureToWindow(view, kFrame, 100, 50);
        EXPECT_EQ(std::tie(w.x, w.y), std::tie(c.wx, c.wy));
        const PicturePoint back = WindowToPicture(view, kFrame, c.wx, c.wy);
        EXPECT_EQ(std::tie(back.inside, back.x, back.y), std::make_tuple(true, c.backX, c.backY));
    }
    const PicturePoint rightEdge = WindowToPicture(PaintedView(0, false), kFrame, 610, 100);
    EXPECT_EQ(std::tie(rightEdge.inside, rightEdge.x), std::make_tuple(true, 1200.0f));
    EXPECT_FALSE(WindowToPicture(PaintedView(0, false), kFrame, 611, 100).inside);
    const FitResult enlarged = FitPicture(300, 200, 0, kFrame);
    EXPECT_EQ(std::tie(enlarged.drawnWidth, enlarged.drawnHeight, enlarged.scale),
              std::make_tuple(600, 400, 0.5f));
}

TEST(ViewGeometry, MarkerBoxAndMagnifierSquare) {
    const struct {
        int rotation, mirrored, markerX, markerY, zoom;
        BoxCorners box;
        PixelRect source;
    } cases[] = {
        {0, false, 100, 50, 100, {35, 22, 85, 70}, {50, 0, 100, 100}}, // top edge pulled to 22
        {0, false, 100, 50, 101, {35, 22, 85, 70}, {50, 0, 101, 101}}, // half of 101 is 50
        {90, true, 100, 50, 100, {176, 370, 208, 403}, {500, 1050, 100, 100}},
        {180, false, 100, 50, 100, {535, 270, 585, 318}, {1050, 500, 100, 100}},
        {270, false, 100, 50, 100, {12, 370, 43, 403}, {0, 1050, 100, 100}},
        // Far off the picture the box collapses onto the drawn picture's edges.
        {0, false, kMax, kMin, 400, {608, 22, 608, 22}, {kMax - 200, kMin, 400, 400}},
    };
    for (const auto& c : cases) {
        const FitResult fit = FitPicture(1200, 600, c.rotation, kFrame);
        const ViewState view{1200,      600,       c.rotation, c.mirrored != 0,
                             fit.scale, c.markerX, c.markerY,  MarkerMode::PartLocated,
                             c.zoom};
        const BoxCorners box = MarkerBox(view, kFrame, fit.drawnWidth, fit.drawnHeight);
        EXPECT_EQ(std::tie(box.xLo, box.yLo, box.xHi, box.yHi),
                  std::tie(c.box.xLo, c.box.yLo, c.box.xHi, c.box.yHi));
        EXPECT_EQ(MagnifierSource(view), c.source);
    }
}

TEST(ViewGeometry, NothingToDrawFailsOnNothing) {
    for (const PixelRect frame :
         {PixelRect{10, 20, 0, 400}, PixelRect{10, 20, -35, 400}, PixelRect{10, 20, 600, 0}})
        EXPECT_FALSE(FitPicture(1200, 600, 90, frame).drawable) << frame.width;
    EXPECT_FALSE(FitPicture(0, 0, 90, kFrame).drawable);
    EXPECT_FALSE(FitPicture(1, 100000, 0, kFrame).drawable); // thinner than a window pixel
    // An undecodable file before any good paint: no pixels and scale 0.
    EXPECT_EQ(BackgroundStrips(kFrame, 0, 0, false), (std::vector<PixelRect>{kFrame, kFrame}));
    const ViewState view{0, 0, 90, true, 0.0f, kMin, kMax};
    const PicturePoint p = WindowToPicture(view, kFrame, 300, 300);
    EXPECT_EQ(std::tie(p.x, p.y), std::make_tuple(0.0f, 0.0f));
    const BoxCorners box = MarkerBox(view, kFrame, 0, 0); // the upper bounds win
    EXPECT_EQ(std::tie(box.xLo, box.yLo, box.xHi, box.yHi), std::make_tuple(8, 18, 8, 18));
    EXPECT_EQ(MagnifierSource(view).width, 100);
}

TEST(ViewGeometry, ButtonSequences) {
    EXPECT_EQ(std::make_tuple(RotatedLeft(0), RotatedLeft(90), RotatedRight(270), RotatedRight(0)),
              std::make_tuple(270, 0, 0, 90));
    int in = 100, out = 100;
    for (const int expected : {76, 58, 44, 33, 25, 20, 20})
        EXPECT_EQ(in = ZoomedIn(in), expected);
    for (const int expected : {130, 169, 219, 284, 369, 400, 400})
        EXPECT_EQ(out = ZoomedOut(out), expected);
    EXPECT_EQ(RotationText(270, true), "270\xC2\xB0 - Flipped");
}

} // namespace
} // namespace kavelto
