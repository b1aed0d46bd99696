#include "Calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kavelto {
namespace {

constexpr auto kNone = CalState::None;
constexpr auto kWaiting = CalState::WaitingPoint2;
constexpr auto kOk = CalState::CalibratedOk;
constexpr CalPoint kOk1{10, 20, 100, 400};
constexpr CalPoint kOk2{60, 70, 600, 900};
// part: a board position and the picture pixel it must be located at.
void ExpectLocated(const Calibration& calibration, const CalPoint& part) {
    const std::optional<PixelPoint> at = LocatePart(calibration, part.boardX, part.boardY);
    ASSERT_TRUE(at.has_value()) << part.boardX << ", " << part.boardY;
    EXPECT_EQ(std::make_pair(at->x, at->y), std::make_pair(part.pixelX, part.pixelY));
}

// The scale test on pairs against point 1 = kOk1: strict at 5 %, and with a signed difference
// that only the swapped axes can refuse.
TEST(Calibration, ScaleTestJudgesTheAxes) {
    constexpr int kMin = std::numeric_limits<int>::min();
    const struct {
        CalPoint press;
        CalState state;
    } cases[] = {
        {{110, 125, 200, 500}, kWaiting}, // 5 % apart
        {{110, 124, 200, 500}, kOk},      // 4 % apart
        {{60, 70, kMin, kMin}, kOk},
        {{20, 70, 600, 500}, CalState::CalibratedFlipped},
    };
    for (const auto& c : cases) {
        Calibration calibration{kOk1, kOk2, kWaiting};
        PartSelection selection{0, c.press.boardX, c.press.boardY};
        RecordCalPoint2(calibration, selection, PixelPoint{c.press.pixelX, c.press.pixelY});
        EXPECT_EQ(calibration.state, c.state) << c.press.boardX << ", " << c.press.pixelX;
    }
}

TEST(Calibration, LocatingTruncatesAndSurvivesDegenerateInput) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    // Offset -3.33 truncates to -3, not -4.
    ExpectLocated({{10, 20, 100, 400}, {13, 30, 90, 500}, kOk}, {11, 20, 97, 400});
    // A zero board difference in the divisor gives no offset on that axis.
    ExpectLocated({kOk1, {10, 70, 600, 900}, kOk}, {35, 45, 100, 650});
    ExpectLocated({kOk1, kOk2, kOk}, {std::nanf(""), 45, 100, 650});
    ExpectLocated({kOk1, kOk2, kOk}, {kInf, -kInf, std::numeric_limits<int>::max(),
                                      std::numeric_limits<int>::min() + 400});
    for (const CalState state : {kNone, kWaiting})
        EXPECT_FALSE(LocatePart({kOk1, kOk2, state}, 35, 45).has_value());
}

} // namespace
} // namespace kavelto
