#pragma once

#include "packages/PackageShape.h"

#include <string_view>

namespace kavelto {

// What the package name of a part tells about its footprint, by the first family of the rule
// table the whole name matches (case ignored). The kind is the family's, else the designator's.
// A name no family knows gives no body and no pin 1.
PackageShape ShapeFromPackage(std::string_view package, std::string_view designator);

} // namespace kavelto
