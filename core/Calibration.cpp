#include "Calibration.h"

#include "Truncate.h"

#include <cmath>

namespace kavelto {

namespace {

constexpr char kSelectPointFirst[] = "Select a point on the bitmap first";
constexpr char kSelectPartFirst[] = "Select a part first";
constexpr char kSelectCal1First[] = "Select cal1 first";
constexpr char kSameX[] = "Components with same X !";
constexpr char kSameY[] = "Components with same Y !";
constexpr char kAlignedX[] = "Aligned positions on X !";
constexpr char kAlignedY[] = "Aligned positions on Y !";
constexpr char kImpossible[] = "Calibration impossible, check your selections";

// How far apart the board-per-pixel ratios of the two axes may be, relative to the first.
constexpr double kScaleTolerance = 0.05;

// A pixel of exactly (0, 0) counts as no point as well.
const char* MissingInput(const PartSelection& selection, const std::optional<PixelPoint>& marker) {
    if (!marker || (marker->x == 0 && marker->y == 0))
        return kSelectPointFirst;
    if (!selection.hasPart())
        return kSelectPartFirst;
    return nullptr;
}

// Two pairs that share a coordinate give no scale on that axis.
const char* DegenerateFault(const CalPoint& p1, const CalPoint& p2) {
    if (p1.boardX == p2.boardX)
        return kSameX;
    if (p1.boardY == p2.boardY)
        return kSameY;
    if (p1.pixelX == p2.pixelX)
        return kAlignedX;
    if (p1.pixelY == p2.pixelY)
        return kAlignedY;
    return nullptr;
}

// A non-finite or zero reference (an infinite board position) never agrees with anything.
bool ScalesAgree(double reference, double other) {
    if (!(reference > 0.0) || !std::isfinite(reference) || !std::isfinite(other))
        return false;
    return std::fabs(reference - other) / reference < kScaleTolerance;
}

// Pixel differences go through 64 bits: the marker may sit anywhere in the int range.
float PixelSpan(std::int32_t from, std::int32_t to) {
    return static_cast<float>(static_cast<std::int64_t>(from) - to);
}

// CalibratedOk when the board axes run along the picture axes, CalibratedFlipped when they
// are swapped, None when neither gives a consistent scale.
CalState JudgeAxes(const CalPoint& p1, const CalPoint& p2) {
    const double boardDx = p1.boardX - p2.boardX;
    const double boardDy = p1.boardY - p2.boardY;
    const double pixelDx = PixelSpan(p1.pixelX, p2.pixelX);
    const double pixelDy = PixelSpan(p1.pixelY, p2.pixelY);
    if (ScalesAgree(std::fabs(boardDx / pixelDx), std::fabs(boardDy / pixelDy)))
        return CalState::CalibratedOk;
    if (ScalesAgree(std::fabs(boardDx / pixelDy), std::fabs(boardDy / pixelDx)))
        return CalState::CalibratedFlipped;
    return CalState::None;
}

// Linear interpolation along one axis, truncated to a whole pixel offset from the first pair.
// Equal board positions give no offset rather than a division by zero.
int Interpolate(std::int32_t pixel1, std::int32_t pixel2, float board1, float board2, float board) {
    const double boardSpan = static_cast<double>(board2) - board1;
    if (boardSpan == 0.0)
        return pixel1;
    const double offset =
        (static_cast<double>(pixel2) - pixel1) * (static_cast<double>(board) - board1) / boardSpan;
    return TruncToInt(pixel1 + static_cast<double>(TruncToInt(offset)));
}

} // namespace

const char* CalStatusText(CalState state) {
    switch (state) {
    case CalState::WaitingPoint2:
        return "Waiting for point 2";
    case CalState::CalibratedOk:
        return "Calibrated, ok";
    case CalState::CalibratedFlipped:
        return "Calibrated, flipped";
    case CalState::None:
        break;
    }
    return "Not calibrated";
}

bool IsCalibrated(CalState state) {
    return state == CalState::CalibratedOk || state == CalState::CalibratedFlipped;
}

void ResetCalibration(Calibration& calibration, PartSelection& selection) {
    calibration.state = CalState::None;
    selection.clearPart();
}

CalOutcome RecordCalPoint1(Calibration& calibration, PartSelection& selection,
                           std::optional<PixelPoint> marker) {
    if (const char* missing = MissingInput(selection, marker))
        return {missing, false};
    calibration.point1 = {selection.selectedX, selection.selectedY, marker->x, marker->y};
    calibration.state = CalState::WaitingPoint2;
    // The second pair must come from a part chosen afresh.
    selection.clearPart();
    return {nullptr, true};
}

CalOutcome RecordCalPoint2(Calibration& calibration, PartSelection& selection,
                           std::optional<PixelPoint> marker) {
    if (calibration.state == CalState::None)
        return {kSelectCal1First, false};
    if (const char* missing = MissingInput(selection, marker))
        return {missing, false};
    const CalPoint candidate{selection.selectedX, selection.selectedY, marker->x, marker->y};
    if (const char* fault = DegenerateFault(calibration.point1, candidate))
        return {fault, true};
    const CalState judged = JudgeAxes(calibration.point1, candidate);
    if (judged == CalState::None)
        return {kImpossible, true};
    calibration.point2 = candidate;
    calibration.state = judged;
    if (judged == CalState::CalibratedFlipped)
        selection.clearPart();
    return {nullptr, true};
}

std::optional<PixelPoint> LocatePart(const Calibration& calibration, float boardX, float boardY) {
    if (!IsCalibrated(calibration.state))
        return std::nullopt;
    const CalPoint& p1 = calibration.point1;
    const CalPoint& p2 = calibration.point2;
    if (calibration.state == CalState::CalibratedFlipped)
        return PixelPoint{Interpolate(p1.pixelX, p2.pixelX, p1.boardY, p2.boardY, boardY),
                          Interpolate(p1.pixelY, p2.pixelY, p1.boardX, p2.boardX, boardX)};
    return PixelPoint{Interpolate(p1.pixelX, p2.pixelX, p1.boardX, p2.boardX, boardX),
                      Interpolate(p1.pixelY, p2.pixelY, p1.boardY, p2.boardY, boardY)};
}

} // namespace kavelto
