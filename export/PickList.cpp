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

} // namespace

std::vector<PickListItem> GroupPickList(const PartTable& table, const FaceList& faceList,
                                        std::uint32_t pcbCount) {
    const int rowCount = RowCount(faceList);
    std::vector<PickListItem> items;
    for (int start = 0; start < rowCount;) {
        const int end = ItemEnd(table, faceList, start, rowCount);
        const PartRecord& first = RowRecord(table, faceList, start);
        // Made in place, so that the texts are copied straight from the table into the item.
        PickListItem& item = items.emplace_back();
        item.itemNumber = static_cast<int>(items.size());
        item.package = first.package;
        item.value = first.value;
        item.countPerBoard = end - start;
        item.totalCount = static_cast<std::int64_t>(item.countPerBoard) * pcbCount;
        start = end;
    }
    return items;
}

} // namespace kavelto
