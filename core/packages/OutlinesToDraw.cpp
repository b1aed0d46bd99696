#include "packages/OutlinesToDraw.h"

#include "geometry/CalibrationMap.h"

namespace kavelto {

namespace {

const PartRecord& PartAtRow(const PartTable& table, const FaceList& face, int row) {
    return table.part(face.indexes[static_cast<std::size_t>(row)]);
}

const PackageShape& ShapeOf(const PartRecord& part, const PackageShape& byName,
                            const ExactShapes& exact) {
    const auto found = exact.find(part.designator);
    return found == exact.end() ? byName : found->second;
}

} // namespace

std::vector<DrawnOutline> OutlinesToDraw(const PartTable& table, const FaceList& face,
                                         std::optional<int> selectedRow,
                                         const Calibration& calibration, bool withKind,
                                         const ExactShapes& exact, PackageShapeMemo& shapes) {
    std::vector<DrawnOutline> outlines;
    const std::optional<ProjectiveMap> map = BoardToPictureMap(calibration);
    if (!map || !selectedRow || *selectedRow < 0 || *selectedRow >= face.faceCount)
        return outlines;
    const PartRecord& selected = PartAtRow(table, face, *selectedRow);
    const PackageShape& shape = shapes.shapeOf(selected.package, selected.designator);
    const bool seenFromBelow = BottomSeenFromBelow(table);
    outlines.push_back({OutlineOnPicture(ShapeOf(selected, shape, exact),
                                         PlacementOf(selected, seenFromBelow), *map),
                        true, selected.placed});
    if (!withKind)
        return outlines;
    for (int row = 0; row < face.faceCount; ++row) {
        const PartRecord& part = PartAtRow(table, face, row);
        if (row != *selectedRow && IsSameKind(part, selected))
            outlines.push_back({OutlineOnPicture(ShapeOf(part, shape, exact),
                                                 PlacementOf(part, seenFromBelow), *map),
                                false, part.placed});
    }
    return outlines;
}

std::vector<DrawnOutline> PlacedOutlines(const PartTable& table, const FaceList& face,
                                         const Calibration& calibration, const ExactShapes& exact,
                                         PackageShapeMemo& shapes) {
    std::vector<DrawnOutline> outlines;
    const std::optional<ProjectiveMap> map = BoardToPictureMap(calibration);
    if (!map)
        return outlines;
    const bool seenFromBelow = BottomSeenFromBelow(table);
    for (int row = 0; row < face.faceCount; ++row) {
        const PartRecord& part = PartAtRow(table, face, row);
        if (!part.placed)
            continue;
        const PackageShape& byName = shapes.shapeOf(part.package, part.designator);
        outlines.push_back(
            {OutlineOnPicture(ShapeOf(part, byName, exact), PlacementOf(part, seenFromBelow), *map),
             false, true, true});
    }
    return outlines;
}

} // namespace kavelto
