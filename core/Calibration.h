#pragma once

#include "PartSelection.h"
#include "PixelRect.h"

#include <cstdint>
#include <optional>

namespace kavelto {

// One calibration pair: a part's board position and the picture pixel the user pressed on it.
struct CalPoint {
    float boardX;
    float boardY;
    std::int32_t pixelX;
    std::int32_t pixelY;
};

enum class CalState { None = 0, WaitingPoint2 = 1, CalibratedOk = 2, CalibratedFlipped = 3 };

// The pairs are never cleared; the state alone decides whether they are in force.
struct Calibration {
    CalPoint point1{};
    CalPoint point2{};
    CalState state = CalState::None;
};

// What the window does after Cal 1 or Cal 2.
struct CalOutcome {
    const char* message; // the error to show, nullptr when none
    bool refreshFields;  // the state or the selection may have changed
};

const char* CalStatusText(CalState state);

// Only these two states move the marker onto a selected part.
bool IsCalibrated(CalState state);

// Puts the calibration out of force and forgets the selected part's position; the pairs, the
// selected row and the marker stay.
void ResetCalibration(Calibration& calibration, PartSelection& selection);

// Cal 1: takes the selected part and the marker point as point 1 and waits for point 2. The
// marker is the point pressed or the part located on the current picture, or nothing.
CalOutcome RecordCalPoint1(Calibration& calibration, PartSelection& selection,
                           std::optional<PixelPoint> marker);

// Cal 2: judges the selected part and the marker point against point 1. Only an accepted pair
// replaces point 2, so a refused attempt leaves a calibration in force untouched.
CalOutcome RecordCalPoint2(Calibration& calibration, PartSelection& selection,
                           std::optional<PixelPoint> marker);

// The picture pixel of a board position, or nothing while no calibration is in force.
std::optional<PixelPoint> LocatePart(const Calibration& calibration, float boardX, float boardY);

} // namespace kavelto
