#pragma once

#include "geometry/Calibration.h"
#include "geometry/ProjectiveMap.h"

#include <optional>

namespace kavelto {

// The map from board positions to picture pixels that the calibration in force locates parts
// by, before any rounding: the fitted map from three points on, else the pair's scale on each
// axis (the axes swapped when flipped). Nothing while no calibration is in force.
std::optional<ProjectiveMap> BoardToPictureMap(const Calibration& calibration);

} // namespace kavelto
