// The user's pin 1 corrections: where each one puts pin 1 on the body, how steps follow one
// another, and the table's lines as the user's file keeps them.

#include "packages/PinOneCorrection.h"

#include <gtest/gtest.h>

#include <string>

namespace kavelto {
namespace {

// A 4 x 2 body with its middle at (1, 1), off the footprint's origin on both axes.
constexpr BodyRect kBody{-1, 0, 3, 2};

struct MoveRow {
    const char* name;
    FootprintPoint pinOne;
    PinOneCorrection correction;
    FootprintPoint expected; // worked out on paper, in shares of the half sizes 2 and 1
};

const MoveRow kMoves[] = {
    {"left end, half turn", {-0.5, 1}, {2, false, false}, {2.5, 1}},
    {"corner, quarter clockwise", {-1, 0}, {1, false, false}, {3, 0}},
    {"corner, three quarters", {-1, 0}, {3, false, false}, {-1, 2}},
    {"corner, mirrored", {-1, 0}, {0, true, false}, {3, 0}},
    {"corner, mirrored then a quarter", {-1, 0}, {1, true, false}, {3, 2}},
    {"left end, quarter", {-0.5, 1}, {1, false, false}, {1, 0.25}},
    {"outside the body, half turn", {-2, 0.5}, {2, false, false}, {4, 1.5}},
};

TEST(PinOneCorrection, MovesPinOneAboutTheBodysMiddle) {
    for (const MoveRow& row : kMoves) {
        PackageShape shape;
        shape.body = kBody;
        shape.pinOne = row.pinOne;
        shape.mark = PinOneMark::Dot;
        const PackageShape corrected = Corrected(shape, row.correction);
        ASSERT_TRUE(corrected.pinOne) << row.name;
        EXPECT_NEAR(corrected.pinOne->x, row.expected.x, 1e-12) << row.name;
        EXPECT_NEAR(corrected.pinOne->y, row.expected.y, 1e-12) << row.name;
        EXPECT_EQ(corrected.mark, PinOneMark::Dot) << row.name;
        EXPECT_EQ(corrected.body->right, kBody.right) << row.name; // the body stays
    }
}

TEST(PinOneCorrection, HidingTakesTheMarkAwayAndNothingLeavesTheShape) {
    PackageShape shape;
    shape.body = kBody;
    shape.pinOne = FootprintPoint{-1, 0};
    shape.mark = PinOneMark::CathodeBar;
    const PackageShape hidden = Corrected(shape, {1, true, true});
    EXPECT_FALSE(hidden.pinOne);
    EXPECT_EQ(hidden.mark, PinOneMark::None);
    const PackageShape same = Corrected(shape, {});
    EXPECT_EQ(same.pinOne->x, -1);
    EXPECT_EQ(same.pinOne->y, 0);
    PackageShape noBody;
    noBody.pinOne = FootprintPoint{0, 0};
    EXPECT_EQ(Corrected(noBody, {2, false, false}).pinOne->x, 0); // nothing to turn about
}

struct StepRow {
    PinOneCorrection from;
    PinOneStep step;
    PinOneCorrection to;
};

// A mirror after a turn is the opposite turn after the mirror: mirrored, a quarter clockwise
// before becomes three quarters.
const StepRow kSteps[] = {
    {{}, PinOneStep::TurnClockwise, {1, false, false}},
    {{3, false, false}, PinOneStep::TurnClockwise, {0, false, false}},
    {{0, false, false}, PinOneStep::TurnAnticlockwise, {3, false, false}},
    {{1, false, false}, PinOneStep::TurnHalf, {3, false, false}},
    {{1, false, false}, PinOneStep::Mirror, {3, true, false}},
    {{2, true, false}, PinOneStep::Mirror, {2, false, false}},
    {{1, true, false}, PinOneStep::HideOrShow, {1, true, true}},
    {{1, true, true}, PinOneStep::HideOrShow, {1, true, false}},
    {{3, true, true}, PinOneStep::Reset, {}},
};

TEST(PinOneCorrection, FollowsEachStep) {
    for (const StepRow& row : kSteps)
        EXPECT_EQ(Followed(row.from, row.step), row.to) << static_cast<int>(row.step);
}

// The composed correction moves pin 1 as the steps one after the other would.
TEST(PinOneCorrection, AMirrorAfterATurnMovesPinOneAsBothInTurn) {
    PackageShape shape;
    shape.body = kBody;
    shape.pinOne = FootprintPoint{-1, 0};
    const PinOneCorrection turned = Followed({}, PinOneStep::TurnClockwise); // to (3, 0)
    const PinOneCorrection then = Followed(turned, PinOneStep::Mirror);      // to (-1, 0)
    const PackageShape moved = Corrected(shape, then);
    EXPECT_NEAR(moved.pinOne->x, -1, 1e-12);
    EXPECT_NEAR(moved.pinOne->y, 0, 1e-12);
}

TEST(PinOneCorrections, KeepTheirLinesAndPassOverOthers) {
    PinOneCorrections table;
    table.set("SOT-23", {1, false, false});
    table.set("LED 0603 \"red\"", {2, true, true});
    table.set("QFN-32", {});
    EXPECT_EQ(table.toText(), "2 1 1\tLED 0603 \"red\"\n1 0 0\tSOT-23\n"); // by name
    const PinOneCorrections read = PinOneCorrections::FromText(
        table.toText() + "4 0 0\tFOUR TURNS\n1 0\tSHORT\n1 0 0 9\tLONG\nx 0 0\tLETTER\n"
                         "1 0 0\n1 0 0\t\n");
    EXPECT_EQ(read.toText(), table.toText());
    EXPECT_EQ(read.of("SOT-23"), (PinOneCorrection{1, false, false}));
    EXPECT_EQ(read.of("QFN-32"), PinOneCorrection{});
    table.set("SOT-23", {});
    EXPECT_EQ(table.toText(), "2 1 1\tLED 0603 \"red\"\n");
}

} // namespace
} // namespace kavelto
