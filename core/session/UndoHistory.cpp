#include "session/UndoHistory.h"

#include <tuple>

namespace kavelto {

namespace {

bool SamePoint(const CalPoint& a, const CalPoint& b) {
    return std::tie(a.boardX, a.boardY, a.pixelX, a.pixelY) ==
           std::tie(b.boardX, b.boardY, b.pixelX, b.pixelY);
}

bool SamePoints(const std::vector<CalPoint>& a, const std::vector<CalPoint>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!SamePoint(a[i], b[i]))
            return false;
    return true;
}

bool SameCalibration(const Calibration& a, const Calibration& b) {
    const bool samePressed = a.pressedPoint2.has_value() == b.pressedPoint2.has_value() &&
                             (!a.pressedPoint2 || SamePoint(*a.pressedPoint2, *b.pressedPoint2));
    return a.state == b.state && a.pairState == b.pairState && SamePoint(a.point1, b.point1) &&
           SamePoint(a.point2, b.point2) && samePressed &&
           SamePoints(a.addedPoints, b.addedPoints) && a.fit.h == b.fit.h;
}

// Moves the latest state off one stack, putting now on the other.
std::optional<UndoStep> Swap(std::vector<UndoStep>& from, std::vector<UndoStep>& to, UndoStep now) {
    if (from.empty())
        return std::nullopt;
    UndoStep back = std::move(from.back());
    from.pop_back();
    to.push_back(std::move(now));
    return back;
}

} // namespace

bool UndoStep::changesFrom(const UndoStep& other) const {
    return placed != other.placed || face != other.face ||
           !SameCalibration(calibration, other.calibration);
}

void UndoHistory::record(UndoStep before, const UndoStep& after) {
    if (!after.changesFrom(before))
        return;
    if (undone_.size() == kMostSteps)
        undone_.erase(undone_.begin());
    undone_.push_back(std::move(before));
    redone_.clear();
}

std::optional<UndoStep> UndoHistory::undo(UndoStep now) {
    return Swap(undone_, redone_, std::move(now));
}

std::optional<UndoStep> UndoHistory::redo(UndoStep now) {
    return Swap(redone_, undone_, std::move(now));
}

void UndoHistory::clear() {
    undone_.clear();
    redone_.clear();
}

} // namespace kavelto
