#include "geometry/ProjectiveMap.h"

#include <gtest/gtest.h>

namespace kavelto {
namespace {

// The pixel of a board position under h, computed here from the map's definition.
PlanePoint Project(const ProjectiveMap& map, double x, double y) {
    const auto& h = map.h;
    const double w = h[6] * x + h[7] * y + h[8];
    return {(h[0] * x + h[1] * y + h[2]) / w, (h[3] * x + h[4] * y + h[5]) / w};
}

// The direction in which the pixel moves as board X grows is the derivative of the projection,
// here taken by a central difference; every coefficient differs, so a wrong one shows.
TEST(ProjectiveMap, BoardXDirectionIsTheDerivativeAlongX) {
    const struct {
        const char* name;
        ProjectiveMap map;
        PlanePoint at;
    } rows[] = {
        {"affine", {{11, 2, 300, -3, 13, 200, 0, 0, 1}}, {40, 25}},
        {"tilted", {{12, 0.5, 300, -0.7, 11, 200, 3e-4, -5e-4, 1}}, {60, 50}},
        {"turned and tilted", {{0.4, -12, 1600, 12.5, 0.3, 200, -4e-4, 2e-4, 1.1}}, {30, 80}},
    };
    constexpr double kStep = 1e-4;
    for (const auto& row : rows) {
        const PlanePoint ahead = Project(row.map, row.at.x + kStep, row.at.y);
        const PlanePoint behind = Project(row.map, row.at.x - kStep, row.at.y);
        const PlanePoint along = BoardXDirection(row.map, row.at);
        EXPECT_NEAR(along.x, (ahead.x - behind.x) / (2 * kStep), 1e-5) << row.name;
        EXPECT_NEAR(along.y, (ahead.y - behind.y) / (2 * kStep), 1e-5) << row.name;
    }
}

} // namespace
} // namespace kavelto
