#include "geometry/Calibration.h"
#include "geometry/Truncate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

namespace kavelto {
namespace {

constexpr auto kWaiting = CalState::WaitingPoint2, kOk = CalState::CalibratedOk;
constexpr CalPoint kP1{10, 20, 100, 400}, kP2{60, 70, 600, 900};

// Cal 2 on a part and a pixel against kP1, with kP2 taken before: the input checks (a part
// chosen and a point pressed: AssemblySessionTest), the degenerate pairs (the same X stands for the
// same Y, aligned on X for aligned on Y), then the scale test, strict at 5 %, on the direct axes
// and then the swapped ones (a pair accepted on them: AssemblySessionTest). Only an accepted pair
// replaces point 2, so a refusal leaves a calibration in force.
TEST(Calibration, Cal2JudgesThePairInOrder) {
    const struct {
        CalPoint press;
        const char* message;
    } cases[] = {
        {{10, 70, 600, 900}, "Components with same X !"},
        {{30, 20, 300, 700}, "Components with same Y !"},
        {{60, 70, 100, 900}, "Aligned positions on X !"},
        {{30, 40, 300, 400}, "Aligned positions on Y !"},
        {{110, 125, 200, 500}, "Calibration impossible, check your selections"},
        {{NAN, 125, 201, 500}, "Calibration impossible, check your selections"},
        {{110, 125, std::numeric_limits<int>::max(), 500},
         "Calibration impossible, check your selections"},
        {{110, 124, 200, 500}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.press.pixelX);
        Calibration calibration{kP1, kP2, kOk};
        PartSelection selection{0, BoardPosition{c.press.boardX, c.press.boardY}};
        const PixelPoint pressed{c.press.pixelX, c.press.pixelY};
        const CalOutcome outcome = RecordCalPoint2(calibration, selection, pressed);
        EXPECT_EQ(outcome.failure ? outcome.failure->text : "", c.message ? c.message : "");
        EXPECT_EQ(std::tie(calibration.state, calibration.point2.pixelX),
                  std::make_tuple(kOk, (c.message ? kP2 : c.press).pixelX));
    }
}

// One press of a calibration button: Cal 1, Cal 2, Add or Remove, on a part and a pixel.
struct CalStep {
    CalOutcome (*button)(Calibration&, PartSelection&, std::optional<PixelPoint>);
    CalPoint pair;

    // The part at the pair's board position selected, then the button pressed on its pixel.
    CalOutcome press(Calibration& calibration, PartSelection& selection) const {
        selection = PartSelection{0, BoardPosition{pair.boardX, pair.boardY}};
        return button(calibration, selection, PixelPoint{pair.pixelX, pair.pixelY});
    }
};
constexpr auto kCal1 = RecordCalPoint1, kCal2 = RecordCalPoint2, kAdd = AddCalPoint;
constexpr CalOutcome (*kRemove)(Calibration&, PartSelection&, std::optional<PixelPoint>) =
    [](Calibration& c, PartSelection&, std::optional<PixelPoint>) { return RemoveLastCalPoint(c); };

// From no calibration, the steps in turn: the last one's refusal, the calibration field, and
// where the part at board (35, 45) is then located. The upright board lies at 10 pixels per unit
// with (10, 20) at pixel (100, 400); the quarter-turned one has board Y along the picture's x:
// pixel (100 + 10 (Y - 20), 400 + 10 (X - 10)). Both put (35, 45) at (350, 650).
TEST(Calibration, StepsFromNoCalibration) {
    constexpr CalPoint upright2{60, 70, 600, 900}, upright3{10, 90, 100, 1100};
    constexpr CalPoint turned2{60, 30, 200, 900}, turned3{30, 70, 600, 600};
    const CalStep cal1{kCal1, kP1}, up2{kCal2, upright2}, up3{kAdd, upright3},
        turn2{kCal2, turned2}, turn3{kAdd, turned3}, remove{kRemove, {}};
    // With the swapped pair, a fit of pixel (100 + 2 (X - 10), 400 + 50 (Y - 20)): upright.
    const CalStep uprightOnTurned{kAdd, {10, 30, 100, 900}};
    const std::pair<int, int> none{-1, -1}, probe{350, 650};
    const struct {
        const char* name;
        std::vector<CalStep> steps;
        const char* refusal;
        const char* field;
        std::pair<int, int> located;
    } rows[] = {
        {"Cal 2 before Cal 1", {up2}, "Select cal1 first", "Not calibrated", none},
        {"Add before Cal 1", {{kAdd, upright2}}, "Select cal1 first", "Not calibrated", none},
        {"Cal 1 waits", {cal1}, "", "Waiting for point 2", none},
        {"an upright pair", {cal1, up2}, "", "Calibrated, ok", probe},
        {"a swapped pair", {cal1, turn2}, "", "Calibrated, flipped", probe},
        {"a refused pair keeps waiting",
         {cal1, {kCal2, {30, 20, 300, 700}}},
         "Components with same Y !",
         "Waiting for point 2",
         none},
        {"an upright fit", {cal1, up2, up3}, "", "Calibrated, ok (3 points)", probe},
        {"a quarter-turned fit", {cal1, turn2, turn3}, "", "Calibrated, flipped (3 points)", probe},
        {"the added point removed", {cal1, up2, up3, remove}, "", "Calibrated, ok", probe},
        {"an upright fit on a swapped pair",
         {cal1, turn2, uprightOnTurned},
         "",
         "Calibrated, ok (3 points)",
         {150, 1650}},
        {"the added point removed gives the pair's judging back",
         {cal1, turn2, uprightOnTurned, remove},
         "",
         "Calibrated, flipped",
         probe},
        {"nothing added to remove",
         {cal1, up2, remove},
         "No added calibration point to remove",
         "Calibrated, ok",
         probe},
        {"Cal 2 again on a point on the line of the others",
         {cal1, up2, up3, {kCal2, {10, 55, 100, 750}}},
         "Point 2 not taken into the calibration points: no map fits it with the others.",
         "Calibrated, ok (3 points)",
         probe},
        {"Cal 2 again judges its pair for when the added point goes",
         {cal1, up2, up3, turn2, remove},
         "",
         "Calibrated, flipped",
         probe},
        {"Cal 1 again forgets the added points",
         {cal1, up2, up3, cal1},
         "",
         "Waiting for point 2",
         none},
    };
    for (const auto& row : rows) {
        Calibration calibration;
        CalOutcome outcome(nullptr, false);
        PartSelection selection;
        for (const CalStep& step : row.steps)
            outcome = step.press(calibration, selection);
        const std::optional<PixelPoint> at = LocatePart(calibration, 35, 45);
        EXPECT_EQ(std::make_tuple(outcome.failure ? outcome.failure->text : "",
                                  CalibrationText(calibration),
                                  at ? std::make_pair(at->x, at->y) : none),
                  std::make_tuple(row.refusal, row.field, row.located))
            << row.name;
    }
}

// Cal 2 again on a quarter-turned pair that lies on the line of point 1 and the added point, so
// that no fit takes it: the pair is judged all the same and its part let go, as after any
// flipped pair, so the window reads its fields again.
TEST(Calibration, ARefusedCal2AgainStillLetsAFlippedPairsPartGo) {
    Calibration calibration;
    PartSelection selection;
    for (const CalStep& step : {CalStep{kCal1, kP1}, {kCal2, kP2}, {kAdd, {30, 30, 300, 500}}})
        step.press(calibration, selection);
    const CalOutcome outcome = CalStep{kCal2, {50, 40, 300, 800}}.press(calibration, selection);
    EXPECT_EQ(std::make_tuple(outcome.failure ? outcome.failure->text : "", outcome.refreshFields,
                              selection.part.has_value()),
              std::make_tuple(std::string("Point 2 not taken into the calibration points: no "
                                          "map fits it with the others."),
                              true, false));
}

// A refusal to remove a point leaves the calibration field as it reads.
TEST(Calibration, NothingToRemoveLeavesTheFieldAlone) {
    Calibration pair{kP1, kP2, kOk};
    const CalOutcome outcome = RemoveLastCalPoint(pair);
    EXPECT_EQ(std::make_tuple(outcome.failure ? outcome.failure->text : "", outcome.refreshFields),
              std::make_tuple(std::string("No added calibration point to remove"), false));
}

// A part or a pixel at exactly (0, 0) is refused as none at all; one on a single axis is taken.
TEST(Calibration, APartOrAPixelAtTheOriginCountsAsNoneChosen) {
    const struct {
        const char* name;
        std::optional<BoardPosition> part;
        std::optional<PixelPoint> pressed;
        const char* message;
    } cases[] = {
        {"no part chosen", std::nullopt, PixelPoint{100, 400}, "Select a part first"},
        {"a part at the origin", BoardPosition{0, 0}, PixelPoint{100, 400}, "Select a part first"},
        {"a part on the Y axis", BoardPosition{0, 5}, PixelPoint{100, 400}, nullptr},
        {"a part on the X axis", BoardPosition{5, 0}, PixelPoint{100, 400}, nullptr},
        {"no point pressed", BoardPosition{5, 5}, std::nullopt,
         "Select a point on the bitmap first"},
        {"a pixel at the origin", BoardPosition{5, 5}, PixelPoint{0, 0},
         "Select a point on the bitmap first"},
        {"a pixel on the top edge", BoardPosition{5, 5}, PixelPoint{1, 0}, nullptr},
        {"a pixel on the left edge", BoardPosition{5, 5}, PixelPoint{0, 1}, nullptr},
    };
    for (const auto& c : cases) {
        Calibration calibration;
        PartSelection selection{3, c.part};
        const CalOutcome outcome = RecordCalPoint1(calibration, selection, c.pressed);
        EXPECT_EQ(outcome.failure ? outcome.failure->text : "", c.message ? c.message : "")
            << c.name;
        EXPECT_EQ(calibration.state, c.message ? CalState::None : kWaiting) << c.name;
        EXPECT_EQ(outcome.refreshFields, c.message == nullptr) << c.name; // the field reads anew
        // Cal 2 and an added point refuse the same, and leave the calibration in force.
        if (!c.message)
            continue;
        for (const auto button : {RecordCalPoint2, AddCalPoint}) {
            Calibration inForce{kP1, kP2, kOk};
            const CalOutcome other = button(inForce, selection, c.pressed);
            EXPECT_EQ(
                std::make_tuple(other.failure ? other.failure->text : "", CalibrationText(inForce)),
                std::make_tuple(std::string(c.message), "Calibrated, ok"))
                << c.name;
        }
    }
}

// A reset forgets both states, every point beyond the pair, and the part chosen.
TEST(Calibration, AResetForgetsTheStatesThePointsAndThePart) {
    Calibration calibration{kP1, kP2, kOk};
    calibration.pairState = kOk;
    calibration.pressedPoint2 = kP2;
    calibration.addedPoints = {kP1};
    PartSelection selection{0, BoardPosition{1, 2}};
    ResetCalibration(calibration, selection);
    EXPECT_EQ(std::make_tuple(calibration.state, calibration.pairState,
                              calibration.pressedPoint2.has_value(), calibration.addedPoints.size(),
                              selection.part.has_value()),
              std::make_tuple(CalState::None, CalState::None, false, std::size_t(0), false));
}

// From five points the fit shows how far it misses the point that agrees least: on the
// upright board at 10 pixels a unit, the fifth point pressed 6 pixels right of its place.
TEST(Calibration, AFitOfFivePointsNamesTheWorstPoint) {
    const CalPoint points[] = {
        kP1, kP2, {10, 90, 100, 1100}, {60, 30, 600, 500}, {35, 45, 356, 650}};
    Calibration calibration;
    CalOutcome outcome(nullptr, false);
    for (const CalPoint& point : points) {
        PartSelection selection{0, BoardPosition{point.boardX, point.boardY}};
        const auto press = calibration.state == CalState::None            ? RecordCalPoint1
                           : calibration.state == CalState::WaitingPoint2 ? RecordCalPoint2
                                                                          : AddCalPoint;
        outcome = press(calibration, selection, PixelPoint{point.pixelX, point.pixelY});
    }
    ASSERT_TRUE(outcome.fitted);
    EXPECT_EQ(outcome.fitted->worstPoint, 5);
    EXPECT_GT(outcome.fitted->largestResidual, 1.0);
    EXPECT_LT(outcome.fitted->largestResidual, 6.0);
}

// Through three and four points the map is exact; from five on the worst point is named.
TEST(Calibration, ReportsTheFitByItsPointCount) {
    const struct {
        FitQuality quality;
        const char* text;
    } rows[] = {
        {{3, 0.04, 1},
         "Calibrated on 3 points.\nLargest residual: 0.0 picture pixels.\nThrough three points "
         "the map is exact: a fourth point takes a tilted camera into account, a fifth shows how "
         "well the points agree."},
        {{4, 0.26, 2},
         "Calibrated on 4 points.\nLargest residual: 0.3 picture pixels.\nThrough four points "
         "the map is exact: a fifth point shows how well the points agree."},
        {{6, 1.26, 5},
         "Calibrated on 6 points.\nLargest residual: 1.3 picture pixels, at point 5 of 6.\n"
         "(Point 1 is Cal 1's, point 2 Cal 2's when it was pressed, then the added points in "
         "order.)"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FitReportText(row.quality), row.text) << row.quality.pointCount;
}

// Towards zero, and held to the ints at one past each end, where a cast would be undefined.
TEST(Calibration, TruncatesIntoTheIntRange) {
    constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
    const std::pair<double, int> rows[] = {
        {-2.9, -2},         {2.9, 2},           {kMin - 1.0, kMin}, {kMin - 0.5, kMin},
        {kMax + 1.0, kMax}, {kMax + 0.5, kMax}, {NAN, 0},           {-HUGE_VAL, kMin},
    };
    for (const auto& [v, truncated] : rows)
        EXPECT_EQ(TruncToInt(v), truncated) << v;
}

// Offset -3.33 truncates to -3, not -4; a board position beyond any pixel is held to the pixels
// that exist.
TEST(Calibration, LocatingTruncatesAndSurvivesDegenerateInput) {
    EXPECT_EQ(LocatePart({kP1, {13, 30, 90, 500}, kOk}, 11, 20).value_or(PixelPoint{}).x, 97);
    EXPECT_EQ(LocatePart({kP1, kP2, kOk}, HUGE_VALF, 45).value_or(PixelPoint{}).x, // as "1e999"
              std::numeric_limits<int>::max());
    EXPECT_FALSE(LocatePart({kP1, kP2, kWaiting}, 35, 45).has_value());
}

// Board positions 10..110 x 10..90 at about 12 pixels each, pressed on whole pixels at the
// corners (and the centre for a fifth point) with Cal 1, Cal 2 and added points. Every part of
// a grid over the board must then be located within 2 pixels: half a pixel of pressing, one of
// truncating on each axis.
TEST(Calibration, FittedMapLocatesOnTiltedAndMirroredPictures) {
    const double c = 12 * std::cos(0.026), s = 12 * std::sin(0.026); // turned by 1.5 degrees
    const struct {
        double a, b, c, d, e, f, g, h; // the camera's map, as in project
        int points;                    // pressed, and the case's name in a failure
    } cases[] = {
        {12, 0, 300, 0, 12, 200, 0.0003, 0, 5},    // tilted sideways
        {-c, -s, 1600, -s, c, 200, 0, -0.0004, 4}, // mirrored
    };
    // A camera's map of the board: pixel = ((a X + b Y + c) / w, (d X + e Y + f) / w) with
    // w = g X + h Y + 1.
    const auto project = [](const auto& k, double x, double y) {
        const double w = k.g * x + k.h * y + 1;
        return PlanePoint{(k.a * x + k.b * y + k.c) / w, (k.d * x + k.e * y + k.f) / w};
    };
    const float corners[][2] = {{10, 10}, {110, 90}, {110, 10}, {10, 90}, {60, 50}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.points);
        Calibration calibration;
        for (int i = 0; i < k.points; ++i) {
            const PlanePoint p = project(k, corners[i][0], corners[i][1]);
            PartSelection selection{0, BoardPosition{corners[i][0], corners[i][1]}};
            const auto press = i == 0 ? RecordCalPoint1 : i == 1 ? RecordCalPoint2 : AddCalPoint;
            press(calibration, selection, PixelPoint{int(std::lround(p.x)), int(std::lround(p.y))});
        }
        for (float x = 10; x <= 110; x += 12.5f)
            for (float y = 10; y <= 90; y += 10) {
                const PixelPoint at = LocatePart(calibration, x, y).value_or(PixelPoint{-1000, 0});
                const PlanePoint truth = project(k, x, y);
                EXPECT_LE(std::hypot(at.x - truth.x, at.y - truth.y), 2.0) << x << ", " << y;
            }
    }
}

// Board positions far closer together than the set is wide pin the map down no better than
// one position would: the fit through them would miss the other pixels by far. Such a point is
// refused as a point with which no map fits, and the calibration in force stays. kP1 and kP2
// are 70 board units apart.
TEST(Calibration, RefusesANearlyDegeneratePointSet) {
    const struct {
        const char* name;
        CalPoint added;
        bool taken;
    } cases[] = {
        {"a micrometre from point 1, pressed elsewhere", {10.001f, 20.001f, 300, 200}, false},
        {"a micrometre from point 2, pressed on it", {60.001f, 70.0f, 601, 900}, false},
        {"a twentieth of a unit from point 1", {10.05f, 20.0f, 104, 400}, false},
        {"a tenth of a unit from point 1", {10.1f, 20.0f, 101, 400}, true},
        {"far from both", {60, 20, 600, 400}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Calibration calibration{kP1, kP2, kOk, kOk, kP2};
        PartSelection selection{0, BoardPosition{c.added.boardX, c.added.boardY}};
        const CalOutcome outcome =
            AddCalPoint(calibration, selection, PixelPoint{c.added.pixelX, c.added.pixelY});
        EXPECT_EQ(outcome.failure ? outcome.failure->text : "",
                  c.taken ? ""
                          : "Calibration point not added: no map fits it with the other points.\n"
                            "Choose parts spread over the board, not on a line with the others.");
        EXPECT_EQ(calibration.addedPoints.size(), c.taken ? 1u : 0u);
        // Whatever is in force locates point 2's part where it was pressed, within the pixel
        // that truncating takes.
        const PixelPoint at = LocatePart(calibration, 60, 70).value_or(PixelPoint{});
        EXPECT_LE(std::hypot(at.x - 600.0, at.y - 900.0), 1.5);
    }
}

// Points that no camera could see as pressed, a board's corners on a crossed quadrilateral of
// pixels, fit no map: the last one is refused and the fit through the others stays.
TEST(Calibration, RefusesPointsOnACrossedQuadrilateral) {
    Calibration calibration{kP1, kP2, kOk, kOk, kP2};
    const auto add = [&calibration](CalPoint p) {
        PartSelection selection{0, BoardPosition{p.boardX, p.boardY}};
        const CalOutcome outcome =
            AddCalPoint(calibration, selection, PixelPoint{p.pixelX, p.pixelY});
        return outcome.failure ? outcome.failure->text : std::string();
    };
    EXPECT_EQ(add({60, 20, 600, 400}), "");
    EXPECT_EQ(add({10, 70, 200, 250}),
              "Calibration point not added: no map fits it with the other points.\n"
              "Choose parts spread over the board, not on a line with the others.");
    EXPECT_EQ(CalibrationText(calibration), "Calibrated, ok (3 points)");
}

} // namespace
} // namespace kavelto
