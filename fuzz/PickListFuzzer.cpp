// Records of any texts grouped into a pick list and rendered as text and page: items cover the
// face list once, their numbers run from 1, counts multiply, and the page escapes every text.

#include "PickList.h"
#include "PickListPage.h"
#include "PickListText.h"
#include "ScratchFolder.h"
#include "base/FieldParsing.h"
#include "base/TextEncoding.h"
#include "parts/FaceSorting.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace kavelto;

namespace {

constexpr int kMaxFuzzedParts = 600;

// Any bytes up to maxLength, up to their first NUL, as a record holds its texts.
std::string AnyText(FuzzedDataProvider& in, std::size_t maxLength) {
    return in.ConsumeRandomLengthString(maxLength).c_str();
}

PartTable AnyTable(FuzzedDataProvider& in) {
    PartTable table;
    while (in.remaining_bytes() > 0 && table.partCount() < kMaxFuzzedParts) {
        PartRecord part;
        part.designator = AnyText(in, kMaxPartTextLength);
        part.prefix = AnyText(in, kMaxPrefixLength);
        part.value = AnyText(in, kMaxPartTextLength);
        part.package = AnyText(in, kMaxPartTextLength);
        part.partId = in.ConsumeIntegral<std::uint16_t>();
        part.layer = in.ConsumeBool() ? 'B' : 't';
        table.append(std::move(part));
    }
    return table;
}

std::size_t Occurrences(const std::string& text, const std::string& word) {
    std::size_t count = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++count;
    return count;
}

void CheckItems(const std::vector<PickListItem>& items, int faceCount, std::uint32_t pcbCount) {
    int rows = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const PickListItem& item = items[i];
        Require(item.itemNumber == static_cast<int>(i) + 1, "items numbered from 1 in order");
        Require(item.countPerBoard > 0, "an item holds a part");
        Require(item.totalCount == std::int64_t{item.countPerBoard} * pcbCount,
                "the total is the count times the boards");
        Require(i == 0 ||
                    !(item.package == items[i - 1].package && item.value == items[i - 1].value),
                "neighbouring items differ in kind");
        rows += item.countPerBoard;
    }
    Require(rows == faceCount, "the items cover the face list");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto list = std::make_unique<FaceList>();
    static const std::string emptyText = PickListText({}, Face::Top);
    static const std::string emptyPage = PickListPage({}, Face::Top, "www.example.org");
    FuzzedDataProvider in(data, size);
    const std::uint32_t pcbCount = in.ConsumeIntegral<std::uint32_t>();
    const Face face = in.ConsumeBool() ? Face::Bottom : Face::Top;
    const auto mode = static_cast<SortMode>(in.ConsumeIntegralInRange(0, kSortModeCount - 1));
    const PartTable table = AnyTable(in);
    FilterAndSortFace(table, face, mode, *list);

    const std::vector<PickListItem> items = GroupPickList(table, *list, pcbCount);
    CheckItems(items, list->faceCount, pcbCount);
    const std::string text = PickListText(items, face);
    Require(Occurrences(text, "\n") >= Occurrences(emptyText, "\n") + items.size(),
            "a text line for every item");
    const std::string page = PickListPage(items, face, "www.example.org");
    Require(IsValidUtf8(page), "the page is UTF-8");
    Require(Occurrences(page, "<tr>") == Occurrences(emptyPage, "<tr>") + items.size() &&
                Occurrences(page, "<td>") == Occurrences(emptyPage, "<td>") + 5 * items.size(),
            "part texts escaped: one row of five cells an item");
    return 0;
}
