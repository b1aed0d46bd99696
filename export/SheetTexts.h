#pragma once

#include "PickList.h"
#include "parts/Face.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kavelto {

// The texts of the kitting sheets, in UTF-8, each part text shown as the window shows it; the
// sheets lay them out.

// The cover's lines under the board's name: the placement file, the date, the face, the PCB
// count, the number of items and the parts per board and for all boards.
std::vector<std::string> SheetCoverLines(const std::string& placementPath, const std::string& date,
                                         Face face, std::uint32_t pcbCount,
                                         const std::vector<PickListItem>& items);

// The lines heading an item's block: "Item 3   10k   0603"; the part numbers of a joined BOM,
// "MPN RC0402FR-0710KL   Yageo   Supplier C25744", when it gives any; and the count,
// "2 x 10 boards = 20", or with spares "2 x 10 boards + 2 spares = 22 to gather".
std::vector<std::string> SheetBlockLines(const PickListItem& item, std::uint32_t pcbCount);

// A label's four lines under its "Item 3": the value, the package, the MPN (empty when unknown,
// so that the count stays on the last line) and the count to gather.
std::vector<std::string> SheetLabelLines(const PickListItem& item);

} // namespace kavelto
