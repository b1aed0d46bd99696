#pragma once

#include "bom/BomMessages.h"
#include "bom/BomTable.h"
#include "parts/PartTable.h"

#include <vector>

namespace kavelto {

inline constexpr int kNoBomLine = -1;

// A bill of materials joined to a part table by designator, byte for byte and case-sensitive:
// the line of each part, and what does not agree.
struct BomJoin {
    std::vector<int> lineOfPart; // by table position: the BOM line, or kNoBomLine
    BomMismatches mismatches;
};

// Joins each designator of the BOM to the parts of that designator. A designator that two
// lines name stays with the first. A line's quantity must be the number of its designators,
// but for a not-fitted line of quantity 0, as Altium writes it.
BomJoin JoinBom(const BomTable& bom, const PartTable& table);

} // namespace kavelto
