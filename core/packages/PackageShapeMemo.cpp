#include "packages/PackageShapeMemo.h"

#include "packages/PackageParser.h"

namespace kavelto {

const PackageShapeMemo::Shapes& PackageShapeMemo::shapesOf(std::string_view package,
                                                           std::string_view designator) {
    Key key{std::string(package), KindFromDesignator(designator)};
    const auto found = shapes_.find(key);
    if (found != shapes_.end())
        return found->second;
    PackageShape byName = ShapeFromPackage(package, designator);
    PackageShape corrected = Corrected(byName, corrections_.of(key.first));
    return shapes_.emplace(std::move(key), Shapes{std::move(byName), std::move(corrected)})
        .first->second;
}

const PackageShape& PackageShapeMemo::shapeOf(std::string_view package,
                                              std::string_view designator) {
    return shapesOf(package, designator).corrected;
}

const PackageShape& PackageShapeMemo::uncorrectedShapeOf(std::string_view package,
                                                         std::string_view designator) {
    return shapesOf(package, designator).byName;
}

void PackageShapeMemo::correct(const PinOneCorrections& corrections) {
    corrections_ = corrections;
    for (auto& [key, shapes] : shapes_)
        shapes.corrected = Corrected(shapes.byName, corrections_.of(key.first));
}

} // namespace kavelto
