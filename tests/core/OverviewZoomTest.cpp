#include "geometry/OverviewZoom.h"
#include "geometry/ViewGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kavelto {
namespace {

// A 2000 x 1200 picture in a 500 x 400 frame, turned and mirrored as each row says, enlarged
// about a window point of the picture by a factor, never so near its edge that the frame could
// not stay covered. Whatever the enlargement, the picture point under the pointer stays there;
// a press anywhere converts to the picture point that the window shows there, and back; the
// marker's box centres on its point.
struct ZoomRow {
    const char* name;
    int rotation;
    bool mirrored;
    double factor;
    double wx, wy;
};

const ZoomRow kZooms[] = {
    {"2x upright", 0, false, 2.0, 100, 80},
    {"4x upright, near the far corner", 0, false, 4.0, 480, 250},
    {"16x quarter turn", 90, false, 16.0, 200, 300},
    {"3x half turn", 180, false, 3.0, 40, 10},
    {"8x three quarters mirrored", 270, true, 8.0, 200, 200},
    {"beyond the most", 0, false, 100.0, 250, 150},
};

ViewState Board(int rotation, bool mirrored) {
    ViewState view;
    view.bitmapPath = "board.jpg";
    view.pictureSize = PixelSize{2000, 1200};
    view.frameSize = PixelSize{500, 400};
    view.viewRotation = rotation;
    view.mirrored = mirrored;
    return view;
}

class OverviewZoomTest : public testing::TestWithParam<ZoomRow> {};

TEST_P(OverviewZoomTest, KeepsThePointUnderThePointerAndEveryPressRule) {
    const ZoomRow& row = GetParam();
    ViewState view = Board(row.rotation, row.mirrored);
    const ViewPoint before = BoardTransform(view)->toPicture({row.wx, row.wy});
    const double fitted = BoardTransform(view)->perWindowPixel().x;
    ZoomOverviewAt(view, row.factor, row.wx, row.wy);
    const ViewTransform board = *BoardTransform(view);
    EXPECT_DOUBLE_EQ(view.overviewZoom, std::min(row.factor, kMaxOverviewZoom));
    EXPECT_NEAR(board.perWindowPixel().x, fitted / view.overviewZoom, 1e-9);
    const ViewPoint after = board.toPicture({row.wx, row.wy});
    EXPECT_NEAR(after.x, before.x, 1e-6);
    EXPECT_NEAR(after.y, before.y, 1e-6);
    // The frame stays covered by the picture.
    EXPECT_EQ(board.drawn().width, 500);
    EXPECT_EQ(board.drawn().height, 400);
    // A press converts to the pixel drawn there, and the box centres on it.
    const PicturePoint pressed = WindowToPicture(board, 123, 234);
    EXPECT_TRUE(pressed.inside);
    // Back from the pixel's corner: within one picture pixel's width on the window.
    const PixelPoint back = PictureToWindow(board, int(pressed.x), int(pressed.y));
    const int pixel = int(std::ceil(1.0 / board.perWindowPixel().x)) + 1;
    EXPECT_LE(std::abs(back.x - 123), pixel);
    EXPECT_LE(std::abs(back.y - 234), pixel);
    const BoxCorners box = MarkerBox(board, {int(pressed.x), int(pressed.y)}, 20);
    EXPECT_LE(std::abs((box.xLo + box.xHi) / 2 - 123), pixel + 1);
    EXPECT_LE(std::abs((box.yLo + box.yHi) / 2 - 234), pixel + 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, OverviewZoomTest, testing::ValuesIn(kZooms));

// A pan moves the picture with the pointer, within the picture's edges; reducing below the fit
// and the reset give the fitted view back.
TEST(OverviewZoom, PansWithinThePictureAndComesBack) {
    ViewState view = Board(0, false);
    const ViewTransform fitted = *BoardTransform(view);
    PanOverview(view, 30, 30); // nothing to pan at the fit
    EXPECT_EQ(view.overviewLeft, 0.0);
    ZoomOverviewAt(view, 4.0, 250, 200);
    const ViewPoint under = BoardTransform(view)->toPicture({250, 200});
    PanOverview(view, 20, -10);
    const ViewPoint moved = BoardTransform(view)->toPicture({270, 190});
    EXPECT_NEAR(moved.x, under.x, 1e-6);
    EXPECT_NEAR(moved.y, under.y, 1e-6);
    PanOverview(view, 1e6, 1e6);
    EXPECT_EQ(std::make_pair(view.overviewLeft, view.overviewTop), std::make_pair(0.0, 0.0));
    // Towards the picture's far corner the view stops at its edges, the frame still covered.
    PanOverview(view, -1e6, -1e6);
    EXPECT_EQ(std::make_pair(view.overviewLeft, view.overviewTop), std::make_pair(1500.0, 800.0));
    EXPECT_EQ(BoardTransform(view)->drawn().height, 400);
    ZoomOverviewAt(view, 0.01, 100, 100); // below the fit: the fit itself
    EXPECT_EQ(std::make_tuple(view.overviewZoom, view.overviewLeft, view.overviewTop),
              std::make_tuple(1.0, 0.0, 0.0));
    const ViewTransform back = *BoardTransform(view);
    EXPECT_EQ(back.drawn().width, fitted.drawn().width);
    EXPECT_EQ(back.perWindowPixel().x, fitted.perWindowPixel().x);
    ZoomOverviewAt(view, 2.0, 100, 100);
    ResetOverviewZoom(view);
    EXPECT_EQ(std::make_tuple(view.overviewZoom, view.overviewLeft, view.overviewTop),
              std::make_tuple(1.0, 0.0, 0.0));
}

} // namespace
} // namespace kavelto
