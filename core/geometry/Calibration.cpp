#include "geometry/Calibration.h"

#include "geometry/Truncate.h"

#include <cmath>
#include <iomanip>
#include <locale>
#include <sstream>
#include <utility>

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
constexpr char kPointNotAdded[] =
    "Calibration point not added: no map fits it with the other points.\n"
    "Choose parts spread over the board, not on a line with the others.";
constexpr char kPoint2NotTaken[] =
    "Point 2 not taken into the calibration points: no map fits it with the others.";
constexpr char kLastPointKept[] =
    "The last calibration point stays: without it no map fits the others.";
constexpr char kNoAddedPoint[] = "No added calibration point to remove";

// How far apart the board-per-pixel ratios of the two axes may be, relative to the first.
constexpr double kScaleTolerance = 0.05;

// A part at exactly (0, 0) on the board counts as no part chosen. That position long stood for
// "no part" in the selection, so a calibration point at the board's origin has always been
// refused; the rule stays now that the selection says so itself.
bool HasPartToCalibrateWith(const PartSelection& selection) {
    return selection.part && !(selection.part->x == 0.0f && selection.part->y == 0.0f);
}

// A pixel of exactly (0, 0) counts as no point as well.
const char* MissingInput(const PartSelection& selection, const std::optional<PixelPoint>& marker) {
    if (!marker || (marker->x == 0 && marker->y == 0))
        return kSelectPointFirst;
    if (!HasPartToCalibrateWith(selection))
        return kSelectPartFirst;
    return nullptr;
}

// The chosen part and the marker as one pair, once MissingInput has found both.
CalPoint PairOf(const PartSelection& selection, const PixelPoint& marker) {
    return {selection.part->x, selection.part->y, marker.x, marker.y};
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

// Point 1, the last pair Cal 2 was pressed on, then the added points.
std::vector<CalPoint> PointSet(const Calibration& calibration) {
    std::vector<CalPoint> points{calibration.point1};
    if (calibration.pressedPoint2)
        points.push_back(*calibration.pressedPoint2);
    points.insert(points.end(), calibration.addedPoints.begin(), calibration.addedPoints.end());
    return points;
}

std::size_t PointCount(const Calibration& calibration) {
    return 1 + (calibration.pressedPoint2 ? 1 : 0) + calibration.addedPoints.size();
}

// Ok when board X runs closer to the picture's x axis at the centroid of the points, flipped
// when closer to its y axis.
CalState FittedState(const ProjectiveMap& fit, const std::vector<CalPoint>& points) {
    PlanePoint centroid{0, 0};
    for (const CalPoint& p : points) {
        centroid.x += p.boardX;
        centroid.y += p.boardY;
    }
    const double count = static_cast<double>(points.size());
    const PlanePoint along = BoardXDirection(fit, {centroid.x / count, centroid.y / count});
    return std::fabs(along.x) >= std::fabs(along.y) ? CalState::CalibratedOk
                                                    : CalState::CalibratedFlipped;
}

FitQuality QualityOf(const ProjectiveMap& fit, const std::vector<CalPoint>& points) {
    FitQuality quality{static_cast<int>(points.size()), 0.0, 1};
    for (std::size_t i = 0; i < points.size(); ++i) {
        const CalPoint& p = points[i];
        const std::optional<PlanePoint> at = MapPoint(fit, {p.boardX, p.boardY});
        const double residual = at ? std::hypot(at->x - p.pixelX, at->y - p.pixelY) : 0.0;
        if (residual > quality.largestResidual)
            quality = {quality.pointCount, residual, static_cast<int>(i) + 1};
    }
    return quality;
}

// Puts a changed point set in force: from three points on through the map fitted to it, below
// three through the pair, whose state comes back when a fit was in force. A set that no map
// fits is refused, and the calibration stays as it was.
CalOutcome PutInForce(Calibration& calibration, Calibration changed, const char* refusal) {
    const std::vector<CalPoint> points = PointSet(changed);
    if (points.size() < 3) {
        if (FitInForce(calibration))
            changed.state = changed.pairState;
        calibration = std::move(changed);
        return {nullptr, true};
    }
    const std::optional<ProjectiveMap> fit = FitProjectiveMap(points);
    if (!fit)
        return {refusal, true};
    changed.fit = *fit;
    changed.state = FittedState(*fit, points);
    calibration = std::move(changed);
    return {nullptr, true, QualityOf(*fit, points)};
}

// The pair's own rules of Cal 2, after the input checks.
CalOutcome JudgePair(Calibration& calibration, PartSelection& selection,
                     const CalPoint& candidate) {
    if (const char* fault = DegenerateFault(calibration.point1, candidate))
        return {fault, true};
    const CalState judged = JudgeAxes(calibration.point1, candidate);
    if (judged == CalState::None)
        return {kImpossible, true};
    calibration.point2 = candidate;
    calibration.pairState = judged;
    if (!FitInForce(calibration))
        calibration.state = judged;
    if (judged == CalState::CalibratedFlipped)
        selection.clearPart();
    return {nullptr, true};
}

// A fitted coordinate that round-off leaves a hair below a whole pixel is that pixel, as the
// pair's exact arithmetic gives it; the rest truncates as every computed pixel does.
int FittedPixel(double coordinate) {
    constexpr double kRoundOff = 1e-6;
    return TruncToInt(coordinate + std::copysign(kRoundOff, coordinate));
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

// Up to four points the map passes through each exactly, so the residual only says that the
// map holds; the text tells what more points would give.
std::string FitReportText(const FitQuality& quality) {
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << "Calibrated on " << quality.pointCount << " points.\nLargest residual: " << std::fixed
         << std::setprecision(1) << quality.largestResidual << " picture pixels";
    if (quality.pointCount == 3)
        return text.str() + ".\nThrough three points the map is exact: a fourth point takes a "
                            "tilted camera into account, a fifth shows how well the points agree.";
    if (quality.pointCount == 4)
        return text.str() + ".\nThrough four points the map is exact: a fifth point shows how "
                            "well the points agree.";
    text << ", at point " << quality.worstPoint << " of " << quality.pointCount
         << ".\n(Point 1 is Cal 1's, point 2 Cal 2's when it was pressed, then the added points "
            "in order.)";
    return text.str();
}

bool FitInForce(const Calibration& calibration) {
    return IsCalibrated(calibration.state) && PointCount(calibration) >= 3;
}

std::string CalibrationText(const Calibration& calibration) {
    std::string text = CalStatusText(calibration.state);
    if (FitInForce(calibration))
        text += " (" + std::to_string(PointCount(calibration)) + " points)";
    return text;
}

bool IsCalibrated(CalState state) {
    return state == CalState::CalibratedOk || state == CalState::CalibratedFlipped;
}

void ResetCalibration(Calibration& calibration, PartSelection& selection) {
    calibration.state = CalState::None;
    calibration.pairState = CalState::None;
    calibration.pressedPoint2.reset();
    calibration.addedPoints.clear();
    selection.clearPart();
}

CalOutcome::CalOutcome(const char* refusal, bool refreshFields, std::optional<FitQuality> fitted)
    : refreshFields(refreshFields), fitted(fitted) {
    if (refusal)
        failure = ErrorMessage(refusal);
}

CalOutcome RecordCalPoint1(Calibration& calibration, PartSelection& selection,
                           std::optional<PixelPoint> marker) {
    if (const char* missing = MissingInput(selection, marker))
        return {missing, false};
    calibration.point1 = PairOf(selection, *marker);
    calibration.state = CalState::WaitingPoint2;
    calibration.pairState = CalState::WaitingPoint2;
    calibration.pressedPoint2.reset();
    calibration.addedPoints.clear();
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
    const CalPoint candidate = PairOf(selection, *marker);
    if (calibration.addedPoints.empty()) {
        calibration.pressedPoint2 = candidate;
        return JudgePair(calibration, selection, candidate);
    }
    // With added points the fit decides, and what the pair's test said does not matter.
    JudgePair(calibration, selection, candidate);
    Calibration changed = calibration;
    changed.pressedPoint2 = candidate;
    return PutInForce(calibration, std::move(changed), kPoint2NotTaken);
}

CalOutcome AddCalPoint(Calibration& calibration, PartSelection& selection,
                       std::optional<PixelPoint> marker) {
    if (calibration.state == CalState::None)
        return {kSelectCal1First, false};
    if (const char* missing = MissingInput(selection, marker))
        return {missing, false};
    Calibration changed = calibration;
    changed.addedPoints.push_back(PairOf(selection, *marker));
    CalOutcome outcome = PutInForce(calibration, std::move(changed), kPointNotAdded);
    // The next point must come from a part chosen afresh, as after Cal 1.
    if (!outcome.failure)
        selection.clearPart();
    return outcome;
}

CalOutcome RemoveLastCalPoint(Calibration& calibration) {
    if (calibration.addedPoints.empty())
        return {kNoAddedPoint, false};
    Calibration changed = calibration;
    changed.addedPoints.pop_back();
    return PutInForce(calibration, std::move(changed), kLastPointKept);
}

std::optional<PixelPoint> LocatePart(const Calibration& calibration, float boardX, float boardY) {
    if (!IsCalibrated(calibration.state))
        return std::nullopt;
    if (FitInForce(calibration)) {
        const std::optional<PlanePoint> pixel = MapPoint(calibration.fit, {boardX, boardY});
        if (!pixel)
            return std::nullopt;
        return PixelPoint{FittedPixel(pixel->x), FittedPixel(pixel->y)};
    }
    const CalPoint& p1 = calibration.point1;
    const CalPoint& p2 = calibration.point2;
    if (calibration.state == CalState::CalibratedFlipped)
        return PixelPoint{Interpolate(p1.pixelX, p2.pixelX, p1.boardY, p2.boardY, boardY),
                          Interpolate(p1.pixelY, p2.pixelY, p1.boardX, p2.boardX, boardX)};
    return PixelPoint{Interpolate(p1.pixelX, p2.pixelX, p1.boardX, p2.boardX, boardX),
                      Interpolate(p1.pixelY, p2.pixelY, p1.boardY, p2.boardY, boardY)};
}

} // namespace kavelto
