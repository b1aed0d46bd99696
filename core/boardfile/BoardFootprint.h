#pragma once

#include "packages/PackageShape.h"

#include <optional>
#include <string>
#include <vector>

namespace kavelto {

enum class PadShape { Rect, RoundRect, Circle, Oval, Trapezoid, Custom };

// A copper pad of a footprint, in the footprint's millimetres at rotation 0, as its library
// draws it (for a bottom part, before the mirror).
struct BoardPad {
    std::string name; // number or name; empty for a pad that belongs to no pin
    FootprintPoint at;
    double width;
    double height;
    double angle; // the pad's own turn within the footprint, degrees anticlockwise
    PadShape shape;
};

// A footprint as the board file places it: board millimetres with Y growing downwards, its
// rotation in degrees anticlockwise, its face, its pads, and its body in its own millimetres:
// the extent of its fabrication drawing, else of its courtyard, else of its pads.
struct BoardFootprint {
    std::string designator;
    std::string footprintName;
    double x = 0.0;
    double y = 0.0;
    double rotation = 0.0;
    bool bottom = false;
    std::vector<BoardPad> pads;
    std::optional<BodyRect> body;
};

} // namespace kavelto
