#pragma once

#include "geometry/Calibration.h"
#include "parts/Face.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace kavelto {

// What undoing a step puts back: the placed marks of both faces by their position in the part
// table, the face with its calibration, and the row selected.
struct UndoStep {
    std::vector<bool> placed;
    Face face = Face::Top;
    Calibration calibration;
    std::optional<int> row;

    // Whether the marks or the calibration differ; the row alone is no step of its own.
    bool changesFrom(const UndoStep& other) const;
};

// The steps of the session that can be undone and redone, in memory only. A new step forgets
// the steps undone before it; the oldest steps go beyond a bound.
class UndoHistory {
public:
    static constexpr std::size_t kMostSteps = 1000;

    // A command went from before to after: a step only when it changed marks or calibration.
    void record(UndoStep before, const UndoStep& after);
    // The state to go back to, now put aside for redo; nothing when there is no step.
    std::optional<UndoStep> undo(UndoStep now);
    // The state to go forward to again, now put aside for undo.
    std::optional<UndoStep> redo(UndoStep now);
    // Another board or picture: the steps no longer apply.
    void clear();

    bool canUndo() const { return !undone_.empty(); }
    bool canRedo() const { return !redone_.empty(); }

private:
    std::vector<UndoStep> undone_; // the states before each step, the latest last
    std::vector<UndoStep> redone_; // the states after each undone step, the latest undone last
};

} // namespace kavelto
