#include "geometry/ViewTransform.h"
#include "ViewTransformRows.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kavelto {
namespace {

constexpr double kExact = 1e-9;

// Each turn and mirror takes the picture point to its window point and back.
TEST(ViewTransform, EveryTurnAndMirrorBothWays) {
    for (const ViewTransformRow& row : kViewTransformRows) {
        SCOPED_TRACE(row.name);
        const std::optional<ViewTransform> t =
            ViewTransform::Fitted(kRowPicture, row.turn, row.mirrored, kRowFrame);
        ASSERT_TRUE(t);
        const ViewPoint window = t->toWindow({kRowPictureX, kRowPictureY});
        EXPECT_NEAR(window.x, row.windowX, kExact);
        EXPECT_NEAR(window.y, row.windowY, kExact);
        const ViewPoint back = t->toPicture({row.windowX, row.windowY});
        EXPECT_NEAR(back.x, kRowPictureX, kExact);
        EXPECT_NEAR(back.y, kRowPictureY, kExact);
    }
}

// Turned a quarter, the drawn rectangle is 200 x 400 at the frame's corner; upright 600 x 300.
TEST(ViewTransform, FittedDrawnRectangle) {
    const auto drawn = [](int turn) {
        const PixelRect r = ViewTransform::Fitted(kRowPicture, turn, false, kRowFrame)->drawn();
        return std::make_tuple(r.left, r.top, r.width, r.height);
    };
    EXPECT_EQ(drawn(0), std::make_tuple(10, 20, 600, 300));
    EXPECT_EQ(drawn(270), std::make_tuple(10, 20, 200, 400));
    EXPECT_FALSE(ViewTransform::Fitted({1, 100000}, 0, false, kRowFrame)); // under a pixel wide
    EXPECT_FALSE(ViewTransform::Fitted({0, 0}, 0, false, kRowFrame));
    EXPECT_FALSE(ViewTransform::Fitted(kRowPicture, 0, false, {10, 20, 0, 400}));
}

// Mirrored and turned a quarter, (100, 50) lies at (550, 1100) of the turned 600 x 1200
// picture; the square (500, 1050, 100, 100) stretched over a 200 x 100 pane puts it at the
// pane's centre, and (90, 50), at turned (550, 1110), 10 rows below.
TEST(ViewTransform, MagnifierZoom) {
    const ViewTransform turned(kRowPicture, 90, true);
    const ViewTransform zoomed = turned.zoomed({500, 1050, 100, 100}, {0, 0, 200, 100});
    const auto at = [&](double x, double y) {
        const ViewPoint p = zoomed.toWindow({x, y});
        return std::make_tuple(p.x, p.y);
    };
    EXPECT_EQ(at(100, 50), std::make_tuple(100.0, 50.0));
    EXPECT_EQ(at(90, 50), std::make_tuple(100.0, 60.0));
    const ViewPoint back = zoomed.toPicture({100.0, 60.0});
    EXPECT_EQ(std::make_tuple(back.x, back.y), std::make_tuple(90.0, 50.0));
}

// Multiples of 90 wrap into a turn; any other angle is upright.
TEST(ViewTransform, QuarterTurnDegrees) {
    const std::pair<int, int> rows[] = {{0, 0},    {90, 90}, {450, 90},  {-90, 270},
                                        {-360, 0}, {45, 0},  {270, 270}, {-450, 270}};
    for (const auto& [degrees, turn] : rows)
        EXPECT_EQ(QuarterTurnDegrees(degrees), turn) << degrees;
}

} // namespace
} // namespace kavelto
