#pragma once

#include "bom/BomState.h"
#include "parts/FaceList.h"
#include "parts/PartTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kavelto {

// One line of the pick list: a run of consecutive face-list rows of the same kind. The item
// keeps its own copy of the texts, so it outlives the table it was grouped from.
struct PickListItem {
    int itemNumber;
    std::string package;
    std::string value;
    int countPerBoard;
    std::int64_t totalCount; // countPerBoard x PCB count; wide enough for every 32-bit count
    // The designators of the item's parts to fit, and the part numbers of the first one's BOM
    // line, empty without a BOM.
    std::vector<std::string> designators;
    std::vector<int> parts; // the table positions of the designators' parts, in their order
    std::string manufacturer;
    std::string mpn;
    std::string supplier;
    // The total with its spares, once the spares are added.
    std::optional<std::int64_t> toGather;
};

// The item's designators as both renderings show them: "R1, R2, R5".
std::string DesignatorsText(const PickListItem& item);

// The columns the renderings add to the list's own: the count to gather with its spares, and
// those of a joined BOM (manufacturer, MPN, supplier numbers and designators). Without either
// the list stays exactly as it always was.
struct PickListColumns {
    bool toGather = false;
    bool partNumbers = false;
};

// Groups the face list into items in list order; rows of one kind that are not adjacent
// become separate items, exactly as the part list numbers them. With a BOM the parts it leaves
// off the board are passed over: they count in no item, and an item of none of them is left out
// with its number.
std::vector<PickListItem> GroupPickList(const PartTable& table, const FaceList& faceList,
                                        std::uint32_t pcbCount, const BomState* bom = nullptr);

} // namespace kavelto
