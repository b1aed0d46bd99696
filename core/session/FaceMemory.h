#pragma once

#include "geometry/Calibration.h"
#include "geometry/ViewState.h"
#include "keeping/KeptSession.h"
#include "parts/Face.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kavelto {

// A face's own picture, as the view turns and mirrors it, and the calibration taken on it.
struct FaceView {
    std::string bitmapPath;
    std::int32_t viewRotation = 0;
    bool mirrored = false;
    Calibration calibration;
    std::optional<CalibratedPicture> calibratedOn; // the picture file as the calibration found it
};

// What each face of a double-sided board had when the user left it for the other: a face whose
// picture was loaded and calibrated gets both back when chosen again, so that a switch never
// means calibrating again. A face left without a calibration in force is forgotten.
class FaceMemory {
public:
    // The face is left with this view and calibration.
    void leave(Face face, const ViewState& view, const Calibration& calibration,
               const std::optional<CalibratedPicture>& calibratedOn);
    const std::optional<FaceView>& of(Face face) const;
    // Puts back what a kept session remembered of a face.
    void remember(Face face, FaceView view);
    // Another board: nothing of the faces before applies.
    void clear();

private:
    std::array<std::optional<FaceView>, 2> faces_;
};

} // namespace kavelto
