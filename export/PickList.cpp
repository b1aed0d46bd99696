#include "PickList.h"

#include <algorithm>

namespace kavelto {

namespace {

// A face list is trusted for its order, not for its bounds: a count beyond the array or an
// index beyond the table must not read past them.
int RowCount(const FaceList& faceList) {
    return std::clamp(faceList.faceCount, 0, static_cast<int>(faceList.indexes.size()));
}

const PartRecord& RowRecord(const PartTable& table, const FaceList& faceList, int row) {
    return table.parts().at(static_cast<std::size_t>(faceList.indexes[row]));
}

// The first row after `start` that is not of start's kind, or rowCount.
int ItemEnd(const PartTable& table, const FaceList& faceList, int start, int rowCount) {
    const PartRecord& first = RowRecord(table, faceList, start);
    int end = start + 1;
    while (end < rowCount && IsSameKind(RowRecord(table, faceList, end), first))
        ++end;
    return end;
}

// Counts a part to fit into its item; the first names the item.
void TakeRow(PickListItem& item, const PartTable& table, int part, const BomState* bom) {
    const PartRecord& record = table.parts().at(static_cast<std::size_t>(part));
    if (bom && bom->isNotFitted(part))
        return;
    if (item.countPerBoard++ == 0) {
        item.package = record.package;
        item.value = record.value;
        if (const BomLine* line = bom ? bom->lineOf(part) : nullptr) {
            item.manufacturer = line->manufacturer;
            item.mpn = line->mpn;
            item.supplier = line->supplier;
        }
    }
    item.designators.push_back(record.designator);
    item.parts.push_back(part);
}

} // namespace

std::vector<PickListItem> GroupPickList(const PartTable& table, const FaceList& faceList,
                                        std::uint32_t pcbCount, const BomState* bom) {
    const int rowCount = RowCount(faceList);
    std::vector<PickListItem> items;
    int itemNumber = 0;
    for (int start = 0; start < rowCount;) {
        const int end = ItemEnd(table, faceList, start, rowCount);
        ++itemNumber;
        // Made in place, so that the texts are copied straight from the table into the item.
        PickListItem& item = items.emplace_back();
        item.itemNumber = itemNumber;
        item.countPerBoard = 0;
        for (int row = start; row < end; ++row)
            TakeRow(item, table, faceList.indexes[row], bom);
        if (item.countPerBoard == 0)
            items.pop_back();
        else
            item.totalCount = static_cast<std::int64_t>(item.countPerBoard) * pcbCount;
        start = end;
    }
    return items;
}

std::string DesignatorsText(const PickListItem& item) {
    std::string joined;
    for (const std::string& designator : item.designators)
        joined += (joined.empty() ? "" : ", ") + designator;
    return joined;
}

} // namespace kavelto
