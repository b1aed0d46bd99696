#include "Calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace kavelto {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr int kMaxInt = std::numeric_limits<int>::max();
constexpr int kMinInt = std::numeric_limits<int>::min();

std::string Text(const char* message) {
    return message ? message : "(none)";
}

bool SamePoint(const CalPoint& a, const CalPoint& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The user's sequence: select the part, press on its pixel, press Cal 1 or Cal 2.
class CalibrationFlow : public testing::Test {
protected:
    void Select(const CalPoint& p) {
        selection.selectedX = p.boardX;
        selection.selectedY = p.boardY;
    }
    CalOutcome Cal1(const CalPoint& p) {
        Select(p);
        return RecordCalPoint1(calibration, selection, p.pixelX, p.pixelY);
    }
    CalOutcome Cal2(const CalPoint& p) {
        Select(p);
        return RecordCalPoint2(calibration, selection, p.pixelX, p.pixelY);
    }
    void ExpectLocated(float boardX, float boardY, int x, int y) const {
        const std::optional<PixelPoint> at = LocatePart(calibration, boardX, boardY);
        ASSERT_TRUE(at.has_value()) << boardX << ", " << boardY;
        EXPECT_EQ(at->x, x) << boardX << ", " << boardY;
        EXPECT_EQ(at->y, y) << boardX << ", " << boardY;
    }

    Calibration calibration;
    PartSelection selection;
};

constexpr CalPoint kOk1{10, 20, 100, 400};
constexpr CalPoint kOk2{60, 70, 600, 900};
constexpr CalPoint kFlipped2{60, 30, 200, 900};

struct JudgeCase {
    const char* name;
    CalPoint p1, p2;
    const char* message;
    CalState state; // after Cal 2; WaitingPoint2 when refused
};

TEST_F(CalibrationFlow, JudgesThePair) {
    const char* kImpossible = "Calibration impossible, check your selections";
    const JudgeCase cases[] = {
        {"equal scales", kOk1, kOk2, nullptr, CalState::CalibratedOk},
        {"swapped axes", kOk1, kFlipped2, nullptr, CalState::CalibratedFlipped},
        // B far above A passes only a signed comparison; the axes are really swapped here.
        {"B much larger", kOk1, {20, 70, 600, 500}, nullptr, CalState::CalibratedFlipped},
        {"A 0.1, B 0.096",
         {10, 20, 100, 100},
         {110, 68, 1100, 600},
         nullptr,
         CalState::CalibratedOk},
        {"A 0.1, B 0.2",
         {10, 20, 100, 100},
         {110, 120, 1100, 600},
         kImpossible,
         CalState::WaitingPoint2},
        {"A 0.1, B 0.09",
         {10, 20, 100, 100},
         {110, 65, 1100, 600},
         kImpossible,
         CalState::WaitingPoint2},
        {"4% above", {10, 20, 100, 100}, {110, 124, 200, 200}, nullptr, CalState::CalibratedOk},
        {"4% below", {10, 20, 100, 100}, {110, 116, 200, 200}, nullptr, CalState::CalibratedOk},
        {"5% above",
         {10, 20, 100, 100},
         {110, 125, 200, 200},
         kImpossible,
         CalState::WaitingPoint2},
        {"5% below",
         {10, 20, 100, 100},
         {110, 115, 200, 200},
         kImpossible,
         CalState::WaitingPoint2},
        {"infinite board X", kOk1, {kInf, 70, 600, 900}, kImpossible, CalState::WaitingPoint2},
        {"NaN board Y", kOk1, {60, std::nanf(""), 600, 900}, kImpossible, CalState::WaitingPoint2},
        {"pixels at the int ends",
         {10, 20, kMinInt, kMinInt},
         {60, 70, kMaxInt, kMaxInt},
         nullptr,
         CalState::CalibratedOk},
    };
    for (const JudgeCase& c : cases) {
        SCOPED_TRACE(c.name);
        calibration = Calibration{};
        ASSERT_EQ(Cal1(c.p1).message, nullptr);
        const CalOutcome outcome = Cal2(c.p2);
        EXPECT_EQ(Text(outcome.message), Text(c.message));
        EXPECT_TRUE(outcome.refreshFields);
        EXPECT_EQ(calibration.state, c.state);
        EXPECT_EQ(SamePoint(calibration.point2, c.p2), c.message == nullptr);
    }
}

TEST_F(CalibrationFlow, OkKeepsSelectionAndLocatesParts) {
    ASSERT_EQ(Cal1(kOk1).message, nullptr);
    ASSERT_EQ(Cal2(kOk2).message, nullptr);
    EXPECT_TRUE(selection.hasPart());
    ExpectLocated(35, 45, 350, 650);
    ExpectLocated(kOk1.boardX, kOk1.boardY, kOk1.pixelX, kOk1.pixelY);
    // Pressed again with nothing changed, Cal 2 runs on the same pair.
    const CalOutcome again = RecordCalPoint2(calibration, selection, kOk2.pixelX, kOk2.pixelY);
    EXPECT_EQ(again.message, nullptr);
    EXPECT_EQ(calibration.state, CalState::CalibratedOk);
}

TEST_F(CalibrationFlow, FlippedClearsSelectionAndSwapsAxes) {
    ASSERT_EQ(Cal1(kOk1).message, nullptr);
    ASSERT_EQ(Cal2(kFlipped2).message, nullptr);
    EXPECT_FALSE(selection.hasPart());
    ExpectLocated(35, 25, 150, 650);
    ExpectLocated(kOk1.boardX, kOk1.boardY, kOk1.pixelX, kOk1.pixelY);
    ExpectLocated(kFlipped2.boardX, kFlipped2.boardY, kFlipped2.pixelX, kFlipped2.pixelY);
    const CalOutcome again =
        RecordCalPoint2(calibration, selection, kFlipped2.pixelX, kFlipped2.pixelY);
    EXPECT_EQ(Text(again.message), "Select a part first");
    EXPECT_FALSE(again.refreshFields);
    EXPECT_EQ(calibration.state, CalState::CalibratedFlipped);
}

TEST(Calibration, LocatingTruncatesTheOffsetTowardZero) {
    const Calibration calibration{{10, 20, 100, 400}, {13, 30, 90, 500}, CalState::CalibratedOk};
    const std::optional<PixelPoint> at = LocatePart(calibration, 11, 20);
    ASSERT_TRUE(at.has_value());
    EXPECT_EQ(at->x, 97); // offset -3.33, not floored to -4
    EXPECT_EQ(at->y, 400);
}

TEST(Calibration, LocatingNeedsACalibrationInForce) {
    for (const CalState state : {CalState::None, CalState::WaitingPoint2}) {
        const Calibration calibration{kOk1, kOk2, state};
        EXPECT_FALSE(LocatePart(calibration, 35, 45).has_value()) << static_cast<int>(state);
    }
}

TEST(Calibration, LocatingSurvivesDegenerateInput) {
    // Equal board X in the divisor: no offset on that axis.
    const Calibration sameX{kOk1, {10, 70, 600, 900}, CalState::CalibratedOk};
    const std::optional<PixelPoint> same = LocatePart(sameX, 35, 45);
    ASSERT_TRUE(same.has_value());
    EXPECT_EQ(same->x, 100);
    EXPECT_EQ(same->y, 650);

    const Calibration ok{kOk1, kOk2, CalState::CalibratedOk};
    const std::optional<PixelPoint> far = LocatePart(ok, kInf, -kInf);
    ASSERT_TRUE(far.has_value());
    EXPECT_EQ(far->x, kMaxInt);
    EXPECT_EQ(far->y, kMinInt + 400);
    const std::optional<PixelPoint> nan = LocatePart(ok, std::nanf(""), 45);
    ASSERT_TRUE(nan.has_value());
    EXPECT_EQ(nan->x, 100);
    EXPECT_EQ(nan->y, 650);
}

struct RefusalCase {
    const char* name;
    CalState state;
    CalPoint press; // board (0, 0) stands for no selected part
    const char* message;
    bool refresh;
};

TEST_F(CalibrationFlow, Cal2RefusalsInOrder) {
    const RefusalCase cases[] = {
        {"no cal 1", CalState::None, {0, 0, 0, 0}, "Select cal1 first", false},
        {"no point",
         CalState::WaitingPoint2,
         {0, 0, 0, 0},
         "Select a point on the bitmap first",
         false},
        {"no part", CalState::WaitingPoint2, {0, 0, 5, 5}, "Select a part first", false},
        {"same X", CalState::WaitingPoint2, kOk1, "Components with same X !", true},
        {"same Y", CalState::WaitingPoint2, {11, 20, 100, 400}, "Components with same Y !", true},
        {"same x", CalState::WaitingPoint2, {11, 21, 100, 400}, "Aligned positions on X !", true},
        {"same y", CalState::WaitingPoint2, {11, 21, 101, 400}, "Aligned positions on Y !", true},
    };
    const CalPoint previous2{1, 2, 3, 4};
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        calibration = Calibration{kOk1, previous2, c.state};
        const CalOutcome outcome = Cal2(c.press);
        EXPECT_EQ(Text(outcome.message), Text(c.message));
        EXPECT_EQ(outcome.refreshFields, c.refresh);
        EXPECT_EQ(calibration.state, c.state);
        EXPECT_TRUE(SamePoint(calibration.point2, previous2));
    }
}

TEST_F(CalibrationFlow, Cal1RefusalsInOrder) {
    const RefusalCase cases[] = {
        {"no point, no part",
         CalState::None,
         {0, 0, 0, 0},
         "Select a point on the bitmap first",
         false},
        {"no point", CalState::None, {10, 20, 0, 0}, "Select a point on the bitmap first", false},
        {"no part", CalState::CalibratedOk, {0, 0, 0, 1}, "Select a part first", false},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        calibration = Calibration{kOk1, kOk2, c.state};
        const CalOutcome outcome = Cal1(c.press);
        EXPECT_EQ(Text(outcome.message), Text(c.message));
        EXPECT_EQ(outcome.refreshFields, c.refresh);
        EXPECT_EQ(calibration.state, c.state);
        EXPECT_TRUE(SamePoint(calibration.point1, kOk1));
    }
}

TEST_F(CalibrationFlow, Cal1StartsAfreshAndConsumesTheSelection) {
    ASSERT_EQ(Cal1(kOk1).message, nullptr);
    ASSERT_EQ(Cal2(kOk2).message, nullptr);
    selection.selectedRow = 7;
    const CalPoint restart{5, 6, 50, 60};
    const CalOutcome first = Cal1(restart);
    EXPECT_EQ(first.message, nullptr);
    EXPECT_TRUE(first.refreshFields);
    EXPECT_EQ(calibration.state, CalState::WaitingPoint2);
    EXPECT_TRUE(SamePoint(calibration.point1, restart));
    EXPECT_FALSE(selection.hasPart());
    EXPECT_EQ(selection.selectedRow, 7);
    EXPECT_FALSE(LocatePart(calibration, 35, 45).has_value());

    const CalOutcome second = RecordCalPoint1(calibration, selection, 70, 80);
    EXPECT_EQ(Text(second.message), "Select a part first");
    EXPECT_TRUE(SamePoint(calibration.point1, restart));
}

// A refused Cal 2 while calibrated must not disturb the calibration in force.
TEST_F(CalibrationFlow, RefusedCal2KeepsCalibrationInForce) {
    const struct {
        CalPoint first2;
        CalPoint refused;
        float partX, partY;
        int x, y;
    } cases[] = {
        {kOk2, {10, 50, 300, 700}, 35, 45, 350, 650},      // same board X as point 1
        {kOk2, {40, 50, 100, 700}, 35, 45, 350, 650},      // aligned on x
        {kOk2, {40, 50, 300, 500}, 35, 45, 350, 650},      // scales disagree
        {kFlipped2, {40, 20, 300, 700}, 35, 25, 150, 650}, // same board Y while flipped
    };
    for (const auto& c : cases) {
        calibration = Calibration{};
        ASSERT_EQ(Cal1(kOk1).message, nullptr);
        ASSERT_EQ(Cal2(c.first2).message, nullptr);
        const CalState before = calibration.state;
        EXPECT_NE(Cal2(c.refused).message, nullptr);
        EXPECT_EQ(calibration.state, before);
        EXPECT_TRUE(SamePoint(calibration.point2, c.first2));
        ExpectLocated(c.partX, c.partY, c.x, c.y);
    }
}

TEST_F(CalibrationFlow, ResetPutsCalibrationOutOfForce) {
    ASSERT_EQ(Cal1(kOk1).message, nullptr);
    ASSERT_EQ(Cal2(kOk2).message, nullptr);
    selection.selectedRow = 3;
    for (int times = 0; times < 2; ++times) {
        ResetCalibration(calibration, selection);
        EXPECT_EQ(calibration.state, CalState::None);
        EXPECT_STREQ(CalStatusText(calibration.state), "Not calibrated");
        EXPECT_EQ(selection.selectedX, 0.0f);
        EXPECT_EQ(selection.selectedY, 0.0f);
        EXPECT_EQ(selection.selectedRow, 3);
        EXPECT_TRUE(SamePoint(calibration.point1, kOk1));
        EXPECT_TRUE(SamePoint(calibration.point2, kOk2));
    }
    EXPECT_EQ(Text(Cal2(kOk2).message), "Select cal1 first");
}

TEST(Calibration, StatusTexts) {
    const struct {
        CalState state;
        const char* text;
        bool calibrated;
    } cases[] = {
        {CalState::None, "Not calibrated", false},
        {CalState::WaitingPoint2, "Waiting for point 2", false},
        {CalState::CalibratedOk, "Calibrated, ok", true},
        {CalState::CalibratedFlipped, "Calibrated, flipped", true},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(CalStatusText(c.state), c.text);
        EXPECT_EQ(IsCalibrated(c.state), c.calibrated) << c.text;
    }
}

} // namespace
} // namespace kavelto
