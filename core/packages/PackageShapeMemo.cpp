#include "packages/PackageShapeMemo.h"

#include "packages/PackageParser.h"

namespace kavelto {

const PackageShape& PackageShapeMemo::shapeOf(std::string_view package,
                                              std::string_view designator) {
    std::pair<std::string, PartKind> key{std::string(package), KindFromDesignator(designator)};
    const auto found = shapes_.find(key);
    if (found != shapes_.end())
        return found->second;
    return shapes_.emplace(std::move(key), ShapeFromPackage(package, designator)).first->second;
}

} // namespace kavelto
