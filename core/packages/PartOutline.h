#pragma once

#include "geometry/ProjectiveMap.h"
#include "packages/PackageShape.h"
#include "parts/PartTable.h"

#include <array>
#include <optional>
#include <vector>

namespace kavelto {

// A part as the design tool placed it: its origin on the board, in the placement file's units
// with Y growing upwards, its rotation in degrees anticlockwise, and its face. Bottom parts are
// mirrored top to bottom, then turned; where the file gives their X as seen from below, X is
// negated on top of that.
struct Placement {
    double x;
    double y;
    double rotation;
    bool bottom;
    bool bottomSeenFromBelow;
};

// A part's footprint on the picture, in picture pixels before any rounding.
struct PictureOutline {
    // The body's corners, from the one that is top-left at rotation 0 and on round as they are
    // then clockwise; nothing where the body is not known.
    std::optional<std::array<PlanePoint, 4>> corners;
    std::optional<PlanePoint> pinOne;
    PinOneMark mark = PinOneMark::None;
    // A cathode bar's two ends, across the body at pin 1.
    std::array<PlanePoint, 2> bar{};
    // The pads' outlines, where the shape has them.
    std::vector<std::vector<PlanePoint>> pads;
    // Where the part's own position falls.
    std::optional<PlanePoint> origin;
};

// Where a point of the footprint lies on the board.
PlanePoint FootprintToBoard(const FootprintPoint& point, const Placement& placement);

// The part's outline and mark taken through the board-to-picture map, corner by corner.
PictureOutline OutlineOnPicture(const PackageShape& shape, const Placement& placement,
                                const ProjectiveMap& boardToPicture);

// Whether the file gives bottom parts' X as seen from below, as the design tool's exporter
// does: the bottom parts lie on the other side of X = 0 than the top parts, or, with no top
// parts, at negative X.
bool BottomSeenFromBelow(const PartTable& table);

// The placement of a part of the table.
Placement PlacementOf(const PartRecord& part, bool bottomSeenFromBelow);

} // namespace kavelto
