#pragma once

#include "geometry/Calibration.h"
#include "packages/PackageShapeMemo.h"
#include "packages/PartOutline.h"
#include "parts/FaceList.h"
#include "parts/PartTable.h"

#include <optional>
#include <vector>

namespace kavelto {

struct DrawnOutline {
    PictureOutline outline;
    bool selected; // the selected part itself, else another part of its kind
    bool placed;
    // A placed part shown with all the others done on the face, dim, under the rest.
    bool background = false;
};

// The outlines and pin 1 marks the board view draws while a calibration is in force: the
// selected row's part first, then, when asked, the other parts of its kind on the face. A part
// with an exact shape takes it; the others share their kind's package, read through the memo.
std::vector<DrawnOutline> OutlinesToDraw(const PartTable& table, const FaceList& face,
                                         std::optional<int> selectedRow,
                                         const Calibration& calibration, bool withKind,
                                         const ExactShapes& exact, PackageShapeMemo& shapes);

// Every placed part of the face, as background outlines, while a calibration is in force.
std::vector<DrawnOutline> PlacedOutlines(const PartTable& table, const FaceList& face,
                                         const Calibration& calibration, const ExactShapes& exact,
                                         PackageShapeMemo& shapes);

} // namespace kavelto
