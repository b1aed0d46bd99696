#pragma once

#include "packages/PartKind.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kavelto {

// A point of a footprint at rotation 0, in millimetres from its origin, with X to the right and
// Y downwards as footprint libraries draw them.
struct FootprintPoint {
    double x;
    double y;
};

// A rectangle of the footprint at rotation 0, in the same millimetres.
struct BodyRect {
    double left;
    double top;
    double right;
    double bottom;
};

// How pin 1 is shown: a filled dot, a bar across the cathode end, a "+" at the positive pin, or
// nothing where the part has no side to get wrong or its pin 1 is not known for certain.
enum class PinOneMark { None, Dot, CathodeBar, Plus };

// What a package name tells about a part's footprint: its body and, only where the library's
// zero orientation is certain, where pin 1 lies and how it is marked.
struct PackageShape {
    PartKind kind = PartKind::Unknown;
    std::optional<BodyRect> body;
    std::optional<FootprintPoint> pinOne;
    PinOneMark mark = PinOneMark::None;
    // The copper pads, each as the polygon of its outline, where a board file gives them.
    std::vector<std::vector<FootprintPoint>> pads;
};

// Shapes known exactly, from a board file, by the designator of their part.
using ExactShapes = std::map<std::string, PackageShape>;

} // namespace kavelto
