#pragma once

#include "parts/FaceList.h"
#include "parts/PartTable.h"

#include <cstdint>
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
};

// Groups the face list into items in list order; rows of one kind that are not adjacent
// become separate items, exactly as the part list numbers them.
std::vector<PickListItem> GroupPickList(const PartTable& table, const FaceList& faceList,
                                        std::uint32_t pcbCount);

} // namespace kavelto
