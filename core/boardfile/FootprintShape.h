#pragma once

#include "boardfile/BoardFootprint.h"
#include "packages/PackageShape.h"

#include <optional>

namespace kavelto {

// The pin 1 pad of a footprint: the pad named "1", else "A1", else the lowest numbered (the
// first of equal ones), else the first named; nothing without named pads.
const BoardPad* PinOnePad(const BoardFootprint& footprint);

// A footprint's shape as the board file gives it, exact: its body, and its pin 1 marked at the
// pad itself. Pads named A and K mark the cathode with a bar, "+" and "-" the positive pad
// with a "+"; other two-pad parts take the kind's mark at pin 1, as the package name would
// say; a part with one pad has no mark.
PackageShape ShapeFromFootprint(const BoardFootprint& footprint, PartKind kind);

} // namespace kavelto
