#include "Calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

namespace kavelto {
namespace {

constexpr auto kNone = CalState::None, kWaiting = CalState::WaitingPoint2,
               kOk = CalState::CalibratedOk, kFlipped = CalState::CalibratedFlipped;
constexpr CalPoint kP1{10, 20, 100, 400}, kP2{60, 70, 600, 900};
constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();

auto Fields(const CalPoint& p) {
    return std::make_tuple(p.boardX, p.boardY, p.pixelX, p.pixelY);
}

// Cal 2 on a part and a pixel against kP1, with kP2 taken before: the input checks (a part
// chosen: AssemblySessionTest), the degenerate pairs, then the scale test, strict at 5 %, on the
// direct axes and then the swapped ones. Only an accepted pair replaces point 2, so a refusal
// leaves a calibration in force.
TEST(Calibration, Cal2JudgesThePairInOrder) {
    const struct {
        CalState before;
        CalPoint press;
        const char* message;
        CalState after;
    } cases[] = {
        {kNone, kP2, "Select cal1 first", kNone},
        {kWaiting, {60, 70, 0, 0}, "Select a point on the bitmap first", kWaiting},
        {kOk, {10, 70, 600, 900}, "Components with same X !", kOk},
        {kWaiting, {60, 20, 600, 900}, "Components with same Y !", kWaiting},
        {kWaiting, {60, 70, 100, 900}, "Aligned positions on X !", kWaiting},
        {kFlipped, {60, 70, 600, 400}, "Aligned positions on Y !", kFlipped},
        {kWaiting, {110, 125, 200, 500}, "Calibration impossible, check your selections", kWaiting},
        {kWaiting, {110, 124, 200, 500}, nullptr, kOk},
        {kWaiting, {60, 70, kMin, kMin}, nullptr, kOk},
        {kOk, {20, 70, 600, 500}, nullptr, kFlipped},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.press.boardX << ", " << c.press.pixelX);
        Calibration calibration{kP1, kP2, c.before};
        PartSelection selection{0, c.press.boardX, c.press.boardY};
        const CalOutcome outcome =
            RecordCalPoint2(calibration, selection, PixelPoint{c.press.pixelX, c.press.pixelY});
        EXPECT_STREQ(outcome.message, c.message);
        EXPECT_EQ(calibration.state, c.after);
        EXPECT_EQ(Fields(calibration.point2), Fields(c.message ? kP2 : c.press));
    }
}

TEST(Calibration, LocatingTruncatesAndSurvivesDegenerateInput) {
    const auto expectLocated = [](const Calibration& calibration, const CalPoint& part) {
        const std::optional<PixelPoint> at = LocatePart(calibration, part.boardX, part.boardY);
        ASSERT_TRUE(at.has_value()) << part.boardX << ", " << part.boardY;
        EXPECT_EQ(std::make_pair(at->x, at->y), std::make_pair(part.pixelX, part.pixelY));
    };
    // Offset -3.33 truncates to -3, not -4.
    expectLocated({kP1, {13, 30, 90, 500}, kOk}, {11, 20, 97, 400});
    // A zero board difference in the divisor gives no offset on that axis.
    expectLocated({kP1, {10, 70, 600, 900}, kOk}, {35, 45, 100, 650});
    expectLocated({kP1, kP2, kOk}, {std::nanf(""), 45, 100, 650});
    constexpr float kInf = std::numeric_limits<float>::infinity();
    expectLocated({kP1, kP2, kOk}, {kInf, -kInf, kMax, kMin + 400});
    for (const CalState state : {kNone, kWaiting})
        EXPECT_FALSE(LocatePart({kP1, kP2, state}, 35, 45).has_value());
}

// A camera's map of the board: pixel = ((a X + b Y + c) / w, (d X + e Y + f) / w) with
// w = g X + h Y + 1.
struct CameraMap {
    double a, b, c, d, e, f, g, h;
    PlanePoint operator()(double x, double y) const {
        const double w = g * x + h * y + 1;
        return {(a * x + b * y + c) / w, (d * x + e * y + f) / w};
    }
};

// Board positions 10..110 x 10..90 at about 12 pixels each, pressed on whole pixels at the
// corners (and the centre for a fifth point) with Cal 1, Cal 2 and added points. Every part of
// a grid over the board must then be located within 2 pixels: half a pixel of pressing, one of
// truncating on each axis.
TEST(Calibration, FittedMapLocatesOnTurnedTiltedAndMirroredPictures) {
    const double c = 12 * std::cos(0.026), s = 12 * std::sin(0.026); // turned by 1.5 degrees
    const struct {
        const char* name;
        CameraMap map;
        int points;
        CalState state;
    } cases[] = {
        {"turned, three points", {c, -s, 300, s, c, 200, 0, 0}, 3, kOk},
        {"turned and tilted", {c, -s, 300, s, c, 200, 0, -0.0004}, 4, kOk},
        {"tilted sideways, five points", {12, 0, 300, 0, 12, 200, 0.0003, 0}, 5, kOk},
        {"mirrored", {-c, -s, 1600, -s, c, 200, 0, -0.0004}, 4, kOk},
        {"turned a quarter", {0, 12, 300, 12, 0, 200, 0, 0}, 4, kFlipped},
    };
    const float corners[][2] = {{10, 10}, {110, 90}, {110, 10}, {10, 90}, {60, 50}};
    decltype(&AddCalPoint)
        const presses[] = {RecordCalPoint1, RecordCalPoint2, AddCalPoint, AddCalPoint, AddCalPoint};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        Calibration calibration;
        for (int i = 0; i < k.points; ++i) {
            const PlanePoint p = k.map(corners[i][0], corners[i][1]);
            PartSelection selection{0, corners[i][0], corners[i][1]};
            presses[i](
                calibration, selection,
                PixelPoint{static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))});
        }
        EXPECT_EQ(CalibrationText(calibration),
                  CalStatusText(k.state) + (" (" + std::to_string(k.points) + " points)"));
        for (float x = 10; x <= 110; x += 12.5f)
            for (float y = 10; y <= 90; y += 10) {
                const std::optional<PixelPoint> at = LocatePart(calibration, x, y);
                ASSERT_TRUE(at.has_value()) << x << ", " << y;
                const PlanePoint truth = k.map(x, y);
                EXPECT_LE(std::hypot(at->x - truth.x, at->y - truth.y), 2.0) << x << ", " << y;
            }
    }
}

TEST(Calibration, PointSetsWithoutASoundMapAreRefused) {
    const CalPoint a{10, 10, 100, 100}, b{110, 10, 1300, 100}, c{110, 90, 1300, 1060},
        d{10, 90, 100, 1060}, onAC{60, 50, 700, 580};
    const struct {
        const char* name;
        std::vector<CalPoint> points;
        bool fits;
    } cases[] = {
        {"four corners", {a, b, c, d}, true},
        {"three board positions on a line", {a, onAC, c}, false},
        {"four, three of them on a line", {a, onAC, c, d}, false},
        {"pixels on a line", {a, {110, 10, 700, 580}, c}, false},
        {"two corners swapped", {a, {110, 10, 1300, 1060}, {110, 90, 1300, 100}, d}, false},
    };
    for (const auto& k : cases)
        EXPECT_EQ(FitProjectiveMap(k.points).has_value(), k.fits) << k.name;
}

// A fifth press 20 pixels beside its part: the report names it.
TEST(Calibration, FitReportsTheLargestResidual) {
    Calibration calibration{{10, 10, 100, 100}, {}, kWaiting};
    const CalPoint presses[] = {
        {110, 90, 1300, 1060}, {110, 10, 1300, 100}, {10, 90, 100, 1060}, {60, 50, 712, 596}};
    CalOutcome outcome{};
    for (const CalPoint& p : presses) {
        PartSelection selection{0, p.boardX, p.boardY};
        outcome = AddCalPoint(calibration, selection, PixelPoint{p.pixelX, p.pixelY});
    }
    ASSERT_TRUE(outcome.fitted.has_value());
    EXPECT_GT(outcome.fitted->largestResidual, 5.0);
    EXPECT_LE(outcome.fitted->largestResidual, 20.0);
    const std::string text = FitReportText(*outcome.fitted);
    EXPECT_NE(text.find(" picture pixels, at point 5 of 5.\n"), std::string::npos) << text;
}

} // namespace
} // namespace kavelto
