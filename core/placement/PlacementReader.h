#pragma once

#include "base/ReadError.h"
#include "parts/PartTable.h"
#include "placement/ColumnMap.h"

#include <string>

namespace kavelto {

struct PlacementReadResult {
    int count;       // records read, 0 after an error
    ReadError error; // the message for the user, or none
};

// Reads the placement file at path into table.parts from record 0 upward, under the column
// layout of map, up to kMaxParts records. Leaves table.partCount to the caller. Blank lines and
// lines that start with '#' after the header lines carry no part; on the first malformed line
// the whole load fails.
PlacementReadResult ReadPlacementFile(const std::string& path, const ColumnMap& map,
                                      PartTable& table);

} // namespace kavelto
