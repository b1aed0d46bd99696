#pragma once

#include "packages/PackageShape.h"
#include "packages/PinOneCorrection.h"

#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace kavelto {

// The shapes of the package names met so far, with the user's pin 1 corrections. A name is
// read by running the whole rule table over it, and a board repeats a few dozen names over
// thousands of parts, so each name is read once for each kind of designator it is given with.
class PackageShapeMemo {
public:
    const PackageShape& shapeOf(std::string_view package, std::string_view designator);
    // The shape as the name alone gives it, before any correction.
    const PackageShape& uncorrectedShapeOf(std::string_view package, std::string_view designator);
    // Takes the corrections for every shape from now on.
    void correct(const PinOneCorrections& corrections);

private:
    using Key = std::pair<std::string, PartKind>;
    struct Shapes {
        PackageShape byName;
        PackageShape corrected;
    };
    const Shapes& shapesOf(std::string_view package, std::string_view designator);

    PinOneCorrections corrections_;
    std::map<Key, Shapes> shapes_;
};

} // namespace kavelto
