#include "Calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace kavelto {
namespace {

constexpr auto kNone = CalState::None;
constexpr auto kWaiting = CalState::WaitingPoint2;
constexpr auto kOk = CalState::CalibratedOk;
constexpr CalPoint kOk1{10, 20, 100, 400};
constexpr CalPoint kOk2{60, 70, 600, 900};
const char* const kImpossible = "Calibration impossible, check your selections";

bool SamePoint(const CalPoint& a, const CalPoint& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// part: a board position and the picture pixel it must be located at.
void ExpectLocated(const Calibration& calibration, const CalPoint& part) {
    const std::optional<PixelPoint> at = LocatePart(calibration, part.boardX, part.boardY);
    ASSERT_TRUE(at.has_value()) << part.boardX << ", " << part.boardY;
    EXPECT_EQ(std::make_pair(at->x, at->y), std::make_pair(part.pixelX, part.pixelY));
}

// The user's sequence: select the part, press on its pixel, press Cal 1 or Cal 2.
class CalibrationFlow : public testing::Test {
protected:
    CalOutcome Cal(int button, const CalPoint& p) {
        selection.selectedX = p.boardX;
        selection.selectedY = p.boardY;
        const auto record = button == 1 ? RecordCalPoint1 : RecordCalPoint2;
        return record(calibration, selection, PixelPoint{p.pixelX, p.pixelY});
    }

    Calibration calibration;
    PartSelection selection;
};

TEST_F(CalibrationFlow, AcceptedPairLocatesPartsAndCal2Again) {
    const struct {
        CalPoint point2, part;
        const char* status;
        const char* again; // Cal 2 pressed again with nothing else changed
    } cases[] = {
        {kOk2, {35, 45, 350, 650}, "Calibrated, ok", nullptr},
        {{60, 30, 200, 900}, {35, 25, 150, 650}, "Calibrated, flipped", "Select a part first"},
    };
    for (const auto& c : cases) {
        calibration = Calibration{};
        ASSERT_EQ(Cal(1, kOk1).message, nullptr);
        ASSERT_EQ(Cal(2, c.point2).message, nullptr);
        for (const CalPoint& part : {c.part, kOk1, c.point2})
            ExpectLocated(calibration, part);
        // Only a flipped pair consumes the selection.
        const CalOutcome again =
            RecordCalPoint2(calibration, selection, PixelPoint{c.point2.pixelX, c.point2.pixelY});
        EXPECT_STREQ(again.message, c.again);
        EXPECT_STREQ(CalStatusText(calibration.state), c.status);
    }
}

// Every press against point 1 = kOk1 and point 2 = kOk2. A refusal changes neither the state
// nor the pairs, so a calibration in force keeps locating as before; only the checks after
// the pair is taken refresh the fields.
TEST_F(CalibrationFlow, JudgesEachPressInOrder) {
    constexpr int kMin = std::numeric_limits<int>::min();
    const struct {
        int button;
        CalState before, after;
        CalPoint press; // board (0, 0) is no part, pixel (0, 0) no point
        const char* message;
        bool refresh;
    } cases[] = {
        {1, kNone, kNone, {0, 0, 0, 0}, "Select a point on the bitmap first", false},
        {1, kOk, kOk, {0, 0, 0, 1}, "Select a part first", false},
        {2, kNone, kNone, {0, 0, 0, 0}, "Select cal1 first", false},
        {2, kWaiting, kWaiting, {0, 0, 0, 0}, "Select a point on the bitmap first", false},
        {2, kOk, kOk, {0, 0, 5, 5}, "Select a part first", false},
        {2, kOk, kOk, {10, 21, 101, 401}, "Components with same X !", true},
        {2, kWaiting, kWaiting, {11, 20, 101, 401}, "Components with same Y !", true},
        {2, kOk, kOk, {11, 21, 100, 401}, "Aligned positions on X !", true},
        {2, kWaiting, kWaiting, {11, 21, 101, 400}, "Aligned positions on Y !", true},
        {2, kOk, kOk, {11, 30, 101, 401}, kImpossible, true},
        {2, kWaiting, kWaiting, {110, 125, 200, 500}, kImpossible, true}, // 5 % apart: strict
        {2, kWaiting, kOk, {110, 124, 200, 500}, nullptr, true},          // 4 % apart
        {2, kWaiting, kOk, {60, 70, kMin, kMin}, nullptr, true},
        // B far above A: only the absolute difference sees that the axes are swapped.
        {2, kWaiting, CalState::CalibratedFlipped, {20, 70, 600, 500}, nullptr, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << &c - cases);
        calibration = Calibration{kOk1, kOk2, c.before};
        const CalOutcome outcome = Cal(c.button, c.press);
        EXPECT_STREQ(outcome.message, c.message);
        EXPECT_EQ(outcome.refreshFields, c.refresh);
        EXPECT_EQ(calibration.state, c.after);
        EXPECT_TRUE(SamePoint(calibration.point2, c.message ? kOk2 : c.press));
        if (c.message && c.before == kOk)
            ExpectLocated(calibration, {35, 45, 350, 650});
    }
}

TEST_F(CalibrationFlow, Cal1StartsAfreshAndConsumesTheSelection) {
    calibration = Calibration{kOk1, kOk2, kOk};
    EXPECT_EQ(Cal(1, kOk2).message, nullptr);
    EXPECT_EQ(calibration.state, kWaiting);
    EXPECT_FALSE(LocatePart(calibration, 35, 45).has_value());
    const CalOutcome twice = RecordCalPoint1(calibration, selection, PixelPoint{70, 80});
    EXPECT_STREQ(twice.message, "Select a part first");
    EXPECT_TRUE(SamePoint(calibration.point1, kOk2));
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
