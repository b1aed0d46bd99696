#include "session/FaceMemory.h"

namespace kavelto {

namespace {

std::size_t Slot(Face face) {
    return face == Face::Bottom ? 1 : 0;
}

} // namespace

void FaceMemory::leave(Face face, const ViewState& view, const Calibration& calibration,
                       const std::optional<CalibratedPicture>& calibratedOn) {
    std::optional<FaceView>& slot = faces_[Slot(face)];
    if (view.bitmapPath && IsCalibrated(calibration.state))
        slot =
            FaceView{*view.bitmapPath, view.viewRotation, view.mirrored, calibration, calibratedOn};
    else
        slot.reset();
}

const std::optional<FaceView>& FaceMemory::of(Face face) const {
    return faces_[Slot(face)];
}

void FaceMemory::remember(Face face, FaceView view) {
    faces_[Slot(face)] = std::move(view);
}

void FaceMemory::clear() {
    faces_ = {};
}

} // namespace kavelto
