#include "geometry/CalibrationMap.h"

#include <gtest/gtest.h>

using namespace kavelto;

namespace {

Calibration Pair(CalState state, CalPoint p1, CalPoint p2) {
    Calibration calibration;
    calibration.point1 = p1;
    calibration.point2 = p2;
    calibration.state = state;
    calibration.pairState = state;
    return calibration;
}

void ExpectPixel(const ProjectiveMap& map, PlanePoint board, PlanePoint pixel) {
    const std::optional<PlanePoint> at = MapPoint(map, board);
    ASSERT_TRUE(at);
    EXPECT_NEAR(at->x, pixel.x, 1e-9);
    EXPECT_NEAR(at->y, pixel.y, 1e-9);
}

TEST(BoardToPictureMap, NothingWhileNotCalibrated) {
    EXPECT_FALSE(BoardToPictureMap(Calibration{}));
    EXPECT_FALSE(BoardToPictureMap(Pair(CalState::WaitingPoint2, {10, 20, 100, 500}, {})));
}

// Board (10, 20) at pixel (100, 500), (30, 40) at (300, 300): 10 pixels a unit, Y upwards.
TEST(BoardToPictureMap, PairScalesEachAxisWithoutRounding) {
    const auto map =
        BoardToPictureMap(Pair(CalState::CalibratedOk, {10, 20, 100, 500}, {30, 40, 300, 300}));
    ASSERT_TRUE(map);
    ExpectPixel(*map, {20, 30}, {200, 400});
    ExpectPixel(*map, {20.05, 30.05}, {200.5, 399.5});
}

// Flipped: picture x follows board Y and picture y board X.
TEST(BoardToPictureMap, FlippedPairSwapsTheAxes) {
    const auto map = BoardToPictureMap(
        Pair(CalState::CalibratedFlipped, {10, 20, 100, 500}, {30, 40, 300, 700}));
    ASSERT_TRUE(map);
    ExpectPixel(*map, {20, 30}, {200, 600});
    ExpectPixel(*map, {10, 25}, {150, 500});
}

TEST(BoardToPictureMap, FittedMapWhileInForce) {
    Calibration calibration = Pair(CalState::CalibratedOk, {0, 0, 10, 10}, {10, 0, 30, 10});
    calibration.pressedPoint2 = calibration.point2;
    calibration.addedPoints = {{0, 10, 10, 50}};
    calibration.fit =
        *FitProjectiveMap({calibration.point1, calibration.point2, calibration.addedPoints[0]});
    const auto map = BoardToPictureMap(calibration);
    ASSERT_TRUE(map);
    // Through the three points: x = 10 + 2X, y = 10 + 4Y.
    const std::optional<PlanePoint> at = MapPoint(*map, {5, 5});
    ASSERT_TRUE(at);
    EXPECT_NEAR(at->x, 20, 1e-6);
    EXPECT_NEAR(at->y, 30, 1e-6);
}

} // namespace
