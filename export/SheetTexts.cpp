#include "SheetTexts.h"

#include "base/TextEncoding.h"

#include <numeric>

namespace kavelto {

namespace {

std::string CountText(const PickListItem& item, std::uint32_t pcbCount) {
    const std::string text =
        std::to_string(item.countPerBoard) + " x " + std::to_string(pcbCount) + " boards";
    if (item.toGather)
        return text + " + " + std::to_string(*item.toGather - item.totalCount) +
               " spares = " + std::to_string(*item.toGather) + " to gather";
    return text + " = " + std::to_string(item.totalCount);
}

std::string PartNumbers(const PickListItem& item) {
    std::string numbers;
    const auto add = [&numbers](const std::string& text) {
        numbers += (numbers.empty() ? "" : "   ") + text;
    };
    if (!item.mpn.empty())
        add("MPN " + DisplayUtf8(item.mpn));
    if (!item.manufacturer.empty())
        add(DisplayUtf8(item.manufacturer));
    if (!item.supplier.empty())
        add("Supplier " + DisplayUtf8(item.supplier));
    return numbers;
}

} // namespace

std::vector<std::string> SheetCoverLines(const std::string& placementPath, const std::string& date,
                                         Face face, std::uint32_t pcbCount,
                                         const std::vector<PickListItem>& items) {
    const std::int64_t perBoard = std::accumulate(
        items.begin(), items.end(), std::int64_t{0},
        [](std::int64_t sum, const PickListItem& item) { return sum + item.countPerBoard; });
    return {"Placement file: " + placementPath,
            "Date: " + date,
            std::string("Face: ") + FaceName(face),
            "PCB count: " + std::to_string(pcbCount),
            "Items: " + std::to_string(items.size()),
            "Parts per board: " + std::to_string(perBoard) +
                ", for all boards: " + std::to_string(perBoard * pcbCount)};
}

std::vector<std::string> SheetBlockLines(const PickListItem& item, std::uint32_t pcbCount) {
    std::vector<std::string> lines = {"Item " + std::to_string(item.itemNumber) + "   " +
                                      DisplayUtf8(item.value) + "   " + DisplayUtf8(item.package)};
    if (std::string numbers = PartNumbers(item); !numbers.empty())
        lines.push_back(std::move(numbers));
    lines.push_back(CountText(item, pcbCount));
    return lines;
}

std::vector<std::string> SheetLabelLines(const PickListItem& item) {
    return {DisplayUtf8(item.value), DisplayUtf8(item.package),
            item.mpn.empty() ? std::string() : "MPN " + DisplayUtf8(item.mpn),
            "Count: " + std::to_string(item.toGather.value_or(item.totalCount))};
}

} // namespace kavelto
