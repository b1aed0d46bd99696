#include "geometry/CalibrationMap.h"

namespace kavelto {

namespace {

// Pixels per board unit between the pair along one axis; a pair that shares the board
// coordinate gives none.
double PairScale(std::int32_t pixel1, std::int32_t pixel2, float board1, float board2) {
    const double span = static_cast<double>(board2) - board1;
    return span == 0.0 ? 0.0 : (static_cast<double>(pixel2) - pixel1) / span;
}

} // namespace

std::optional<ProjectiveMap> BoardToPictureMap(const Calibration& calibration) {
    if (!IsCalibrated(calibration.state))
        return std::nullopt;
    if (FitInForce(calibration))
        return calibration.fit;
    const CalPoint& p1 = calibration.point1;
    const CalPoint& p2 = calibration.point2;
    if (calibration.state == CalState::CalibratedFlipped) {
        const double xPerY = PairScale(p1.pixelX, p2.pixelX, p1.boardY, p2.boardY);
        const double yPerX = PairScale(p1.pixelY, p2.pixelY, p1.boardX, p2.boardX);
        return ProjectiveMap{{0.0, xPerY, p1.pixelX - xPerY * p1.boardY, yPerX, 0.0,
                              p1.pixelY - yPerX * p1.boardX, 0.0, 0.0, 1.0}};
    }
    const double xPerX = PairScale(p1.pixelX, p2.pixelX, p1.boardX, p2.boardX);
    const double yPerY = PairScale(p1.pixelY, p2.pixelY, p1.boardY, p2.boardY);
    return ProjectiveMap{{xPerX, 0.0, p1.pixelX - xPerX * p1.boardX, 0.0, yPerY,
                          p1.pixelY - yPerY * p1.boardY, 0.0, 0.0, 1.0}};
}

} // namespace kavelto
