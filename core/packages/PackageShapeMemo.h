#pragma once

#include "packages/PackageShape.h"

#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace kavelto {

// The shapes of the package names met so far. A name is read by running the whole rule table
// over it, and a board repeats a few dozen names over thousands of parts, so each name is read
// once for each kind of designator it is given with.
class PackageShapeMemo {
public:
    const PackageShape& shapeOf(std::string_view package, std::string_view designator);

private:
    std::map<std::pair<std::string, PartKind>, PackageShape> shapes_;
};

} // namespace kavelto
