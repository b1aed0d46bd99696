#pragma once

#include "base/UserMessage.h"
#include "geometry/CalPoint.h"
#include "geometry/PixelRect.h"
#include "geometry/ProjectiveMap.h"
#include "parts/PartSelection.h"

#include <optional>
#include <string>
#include <vector>

namespace kavelto {

enum class CalState { None = 0, WaitingPoint2 = 1, CalibratedOk = 2, CalibratedFlipped = 3 };

// The pairs are never cleared; the state alone decides whether they are in force.
//
// A picture that no per-axis scale fits (a photo taken at a slight angle) takes more points: the
// point set is point 1, the last pair Cal 2 was pressed on since Cal 1 (also one it refused), and
// the added points. From three points on a map fitted through the set locates the parts and
// decides the state; below three the pair's rules hold alone. A set that no map fits is never
// taken, so the fit always belongs to the set. Everything here is plain data: a kept session
// that stores every field gets the calibration back as it was.
struct Calibration {
    CalPoint point1{};
    CalPoint point2{};
    CalState state = CalState::None;
    CalState pairState = CalState::None; // what Cal 1 and Cal 2 alone make of the state
    std::optional<CalPoint> pressedPoint2{};
    std::vector<CalPoint> addedPoints{};
    ProjectiveMap fit{}; // fitted through the point set, in force from three points on
};

// How well the map in force agrees with the points it was fitted through.
struct FitQuality {
    int pointCount;
    double largestResidual; // in picture pixels
    int worstPoint;         // counted from 1 in the point set's order
};

// What the window does after a calibration command.
struct CalOutcome {
    // A refusal of the program's own, or nullptr when there is none.
    CalOutcome(const char* refusal, bool refreshFields,
               std::optional<FitQuality> fitted = std::nullopt);

    std::optional<UserMessage> failure; // the error box to show
    bool refreshFields;                 // the state or the selection may have changed
    std::optional<FitQuality> fitted;   // after a fit through three points or more
};

const char* CalStatusText(CalState state);

// What the user is told after a fit: the number of points and the largest residual.
std::string FitReportText(const FitQuality& quality);

// Whether the fitted map locates the parts rather than the pair.
bool FitInForce(const Calibration& calibration);

// The calibration field: the state's text, followed by the number of points while the fitted
// map locates.
std::string CalibrationText(const Calibration& calibration);

// Only these two states move the marker onto a selected part.
bool IsCalibrated(CalState state);

// Puts the calibration out of force and forgets the selected part's position and the added
// points; the pairs, the selected row and the marker stay.
void ResetCalibration(Calibration& calibration, PartSelection& selection);

// Cal 1: takes the selected part and the marker point as point 1 and waits for point 2, with no
// other point in the set. The marker is the point pressed or the part located on the current
// picture, or nothing.
CalOutcome RecordCalPoint1(Calibration& calibration, PartSelection& selection,
                           std::optional<PixelPoint> marker);

// Cal 2: judges the selected part and the marker point against point 1. Only an accepted pair
// replaces point 2, so a refused attempt leaves a calibration in force untouched. Either way the
// pair becomes the point set's second, unless no map would then fit the set; with added points
// the fit decides, and the pair's refusals are not shown.
CalOutcome RecordCalPoint2(Calibration& calibration, PartSelection& selection,
                           std::optional<PixelPoint> marker);

// Add calibration point: once Cal 1 has taken point 1, adds the selected part and the marker
// point to the point set. A point with which no map fits the set is refused and not added.
CalOutcome AddCalPoint(Calibration& calibration, PartSelection& selection,
                       std::optional<PixelPoint> marker);

// Remove last calibration point: drops the last added point and fits again; below three points
// the pair locates again.
CalOutcome RemoveLastCalPoint(Calibration& calibration);

// The picture pixel of a board position, or nothing while no calibration is in force.
std::optional<PixelPoint> LocatePart(const Calibration& calibration, float boardX, float boardY);

} // namespace kavelto
