#include "session/UndoHistory.h"

#include <gtest/gtest.h>

#include <functional>

namespace kavelto {
namespace {

UndoStep Marks(std::vector<bool> placed) {
    UndoStep step;
    step.placed = std::move(placed);
    return step;
}

constexpr CalPoint kPoint{1, 2, 3, 4};

// Each change to one field of a step with one added point, and whether it makes the step one of
// its own.
struct ChangeRow {
    const char* name;
    std::function<void(UndoStep&)> change;
    bool isStep;
};

const ChangeRow kChanges[] = {
    {"nothing", [](UndoStep&) {}, false},
    {"the row alone", [](UndoStep& s) { s.row = 3; }, false},
    {"a mark", [](UndoStep& s) { s.placed[1] = true; }, true},
    {"the face", [](UndoStep& s) { s.face = Face::Bottom; }, true},
    {"the state", [](UndoStep& s) { s.calibration.state = CalState::WaitingPoint2; }, true},
    {"the pair's state", [](UndoStep& s) { s.calibration.pairState = CalState::CalibratedOk; },
     true},
    {"point 1's pixel", [](UndoStep& s) { s.calibration.point1.pixelX = 7; }, true},
    {"point 2's board", [](UndoStep& s) { s.calibration.point2.boardY = 0.5f; }, true},
    {"a pair pressed", [](UndoStep& s) { s.calibration.pressedPoint2 = kPoint; }, true},
    {"a point added", [](UndoStep& s) { s.calibration.addedPoints.push_back(kPoint); }, true},
    {"an added point moved", [](UndoStep& s) { s.calibration.addedPoints[0].pixelY = 9; }, true},
    {"the fit", [](UndoStep& s) { s.calibration.fit.h[8] = 1.0; }, true},
};

TEST(UndoHistory, AStepIsAChangeOfMarksFaceOrCalibration) {
    for (const ChangeRow& row : kChanges) {
        SCOPED_TRACE(row.name);
        UndoStep before = Marks({false, false});
        before.calibration.addedPoints = {kPoint};
        UndoStep after = before;
        row.change(after);
        EXPECT_EQ(after.changesFrom(before), row.isStep);
        UndoHistory history;
        history.record(before, after);
        EXPECT_EQ(history.canUndo(), row.isStep);
    }
}

// Undo hands back the state before, redo the state after; the oldest steps go past the bound.
TEST(UndoHistory, GoesBackAndForthWithinItsBound) {
    UndoHistory history;
    for (std::size_t i = 0; i <= UndoHistory::kMostSteps; ++i) {
        std::vector<bool> before(UndoHistory::kMostSteps + 1, false), after = before;
        after[i] = true;
        history.record(Marks(before), Marks(after));
    }
    std::size_t undone = 0;
    while (history.undo(Marks({})))
        ++undone;
    EXPECT_EQ(undone, UndoHistory::kMostSteps);
    EXPECT_TRUE(history.canRedo());
    const std::optional<UndoStep> again = history.redo(Marks({true}));
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->placed.empty()); // what undo was given last
    EXPECT_EQ(history.undo(Marks({})).value_or(UndoStep{}).placed, std::vector<bool>{true});
    history.clear();
    EXPECT_FALSE(history.canUndo() || history.canRedo());
}

} // namespace
} // namespace kavelto
