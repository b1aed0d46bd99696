#include "geometry/MagnifierGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kavelto {
namespace {

// A 1000 x 800 picture fitted into a 500 x 400 frame, the marker on pixel (300, 200). The
// areas and steps are worked out by hand from the turns: turned by 90 degrees clockwise, the
// stored pixel (x, y) lies at (800 - y, x); by 180 at (1000 - x, 800 - y); by 270 at
// (y, 1000 - x); mirrored, x becomes 1000 - x first.
struct AreaRow {
    const char* name;
    int rotation;
    bool mirrored;
    int zoomBoxSize;
    PixelSize pane;
    PixelRect area;
};

const AreaRow kAreas[] = {
    {"upright, wide pane", 0, false, 100, {280, 216}, {250, 162, 100, 77}},
    {"upright, tall pane", 0, false, 100, {216, 280}, {262, 150, 77, 100}},
    {"upright, square pane", 0, false, 100, {200, 200}, {250, 150, 100, 100}},
    {"zoomed in", 0, false, 20, {280, 216}, {290, 193, 20, 15}},
    {"zoomed out", 0, false, 400, {280, 216}, {100, 46, 400, 309}},
    {"quarter turn", 90, false, 100, {280, 216}, {549, 262, 100, 77}},
    {"half turn", 180, false, 100, {280, 216}, {649, 561, 100, 77}},
    {"three quarters", 270, false, 100, {280, 216}, {150, 661, 100, 77}},
    {"mirrored", 0, true, 100, {280, 216}, {649, 162, 100, 77}},
};

class MagnifierAreaTest : public testing::TestWithParam<AreaRow> {};

TEST_P(MagnifierAreaTest, KeepsThePicturesAspectAroundTheMarker) {
    const AreaRow& row = GetParam();
    const ViewTransform board =
        *ViewTransform::Fitted({1000, 800}, row.rotation, row.mirrored, {0, 0, 500, 400});
    const PixelRect area = MagnifierArea(board, {300, 200}, row.zoomBoxSize, row.pane);
    EXPECT_EQ(std::make_tuple(area.left, area.top, area.width, area.height),
              std::make_tuple(row.area.left, row.area.top, row.area.width, row.area.height));
    // Both axes at one scale, within the area's rounding to whole pixels.
    const std::optional<ViewTransform> magnifier =
        MagnifierTransform(board, {300, 200}, row.zoomBoxSize, row.pane);
    ASSERT_TRUE(magnifier);
    const double scaleX = double(row.pane.width) / area.width;
    const double scaleY = double(row.pane.height) / area.height;
    EXPECT_NEAR(scaleX / scaleY, 1.0, 1.0 / std::min(area.width, area.height));
    // The crosshair stands on the marker's pixel, near the pane's middle.
    const ViewPoint cross = CrosshairPoint(*magnifier, {300, 200});
    EXPECT_NEAR(cross.x, row.pane.width / 2.0, scaleX);
    EXPECT_NEAR(cross.y, row.pane.height / 2.0, scaleY);
    // A press on the crosshair gives back the marker's pixel.
    const ViewPoint back = magnifier->toPicture(cross);
    EXPECT_EQ(std::make_pair(int(std::floor(back.x)), int(std::floor(back.y))),
              std::make_pair(300, 200));
}

INSTANTIATE_TEST_SUITE_P(Rows, MagnifierAreaTest, testing::ValuesIn(kAreas));

// A pane far from the picture's shape still shows one pixel at least across its short side.
TEST(MagnifierArea, ShowsAPixelAtLeastEachWay) {
    const ViewTransform board = *ViewTransform::Fitted({1000, 800}, 0, false, {0, 0, 500, 400});
    const struct {
        PixelSize pane;
        PixelRect area;
    } rows[] = {{{1000, 1}, {250, 200, 100, 1}}, {{1, 1000}, {300, 150, 1, 100}}};
    for (const auto& row : rows) {
        const PixelRect area = MagnifierArea(board, {300, 200}, 100, row.pane);
        EXPECT_EQ(std::make_tuple(area.left, area.top, area.width, area.height),
                  std::make_tuple(row.area.left, row.area.top, row.area.width, row.area.height));
    }
}

TEST(MagnifierTransform, NothingForAPaneWithoutArea) {
    const ViewTransform board = *ViewTransform::Fitted({1000, 800}, 0, false, {0, 0, 500, 400});
    EXPECT_FALSE(MagnifierTransform(board, {300, 200}, 100, {0, 216}));
    EXPECT_FALSE(MagnifierTransform(board, {300, 200}, 100, {280, 0}));
}

// A step on the screen is one picture pixel, whatever the fit's scale, in the stored picture's
// direction that the turn and mirror show there.
struct NudgeRow {
    const char* name;
    int rotation;
    bool mirrored;
    int frameWidth; // the fit's scale: 2 picture pixels per window pixel at 500, 0.5 at 2000
    int dx, dy;
    PixelPoint to;
};

const NudgeRow kNudges[] = {
    {"right, upright", 0, false, 500, 1, 0, {301, 200}},
    {"left, upright", 0, false, 500, -1, 0, {299, 200}},
    {"down, upright", 0, false, 500, 0, 1, {300, 201}},
    {"up, enlarged", 0, false, 2000, 0, -1, {300, 199}},
    {"right, quarter turn", 90, false, 500, 1, 0, {300, 199}},
    {"down, quarter turn", 90, false, 500, 0, 1, {301, 200}},
    {"right, half turn", 180, false, 500, 1, 0, {299, 200}},
    {"down, half turn", 180, false, 500, 0, 1, {300, 199}},
    {"right, three quarters", 270, false, 500, 1, 0, {300, 201}},
    {"down, three quarters", 270, false, 500, 0, 1, {299, 200}},
    {"right, mirrored", 0, true, 500, 1, 0, {299, 200}},
    {"down, mirrored quarter turn", 90, true, 2000, 0, 1, {299, 200}},
};

class NudgeTest : public testing::TestWithParam<NudgeRow> {};

TEST_P(NudgeTest, MovesOnePicturePixelTheScreensWay) {
    const NudgeRow& row = GetParam();
    const ViewTransform board = *ViewTransform::Fitted({1000, 800}, row.rotation, row.mirrored,
                                                       {0, 0, row.frameWidth, row.frameWidth});
    const PixelPoint to = NudgedPoint(board, {300, 200}, row.dx, row.dy);
    EXPECT_EQ(std::make_pair(to.x, to.y), std::make_pair(row.to.x, row.to.y));
}

INSTANTIATE_TEST_SUITE_P(Rows, NudgeTest, testing::ValuesIn(kNudges));

} // namespace
} // namespace kavelto
