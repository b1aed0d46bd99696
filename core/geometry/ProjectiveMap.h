#pragma once

#include "geometry/CalPoint.h"

#include <array>
#include <optional>
#include <vector>

namespace kavelto {

// A point of the board or of the picture, before any rounding.
struct PlanePoint {
    double x;
    double y;
};

// A map from board positions to picture pixels that sends straight lines to straight lines, as
// a camera looking at a flat board does: (x, y, w) = h * (X, Y, 1), and the pixel is
// (x / w, y / w). Row-major; an affine map has h[6] = h[7] = 0. Plain numbers, kept as they are.
struct ProjectiveMap {
    std::array<double, 9> h{};
};

// The pixel of a board position, or nothing where the map has no finite pixel for it (beyond
// the horizon of a tilted picture, or a position that is not a number).
std::optional<PlanePoint> MapPoint(const ProjectiveMap& map, PlanePoint board);

// The direction in which the pixel moves when board X grows, at a board position the map
// reaches.
PlanePoint BoardXDirection(const ProjectiveMap& map, PlanePoint board);

// The map through calibration pairs: the affine map through three, the projective map fitted by
// least squares through four or more. Nothing for fewer than three, or when the pairs hold no
// sound map: board positions or pixels on one line, two board positions almost at one place for
// the width of the set, pixels that crush or fold the board, or a pair beyond the horizon of the
// others.
std::optional<ProjectiveMap> FitProjectiveMap(const std::vector<CalPoint>& points);

} // namespace kavelto
