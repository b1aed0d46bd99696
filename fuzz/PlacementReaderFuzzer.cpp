// Any bytes as a placement file, under one of several column layouts chosen by the first byte:
// the load succeeds or fails whole, every record it keeps holds texts within their lengths, and
// the face lists built from the records hold every part once, in order.

#include "ScratchFolder.h"
#include "base/TextEncoding.h"
#include "parts/FaceSorting.h"
#include "placement/ColumnMap.h"
#include "placement/PlacementReader.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

using namespace kavelto;

namespace {

struct Layout {
    const char* ini;
    const char* fileName; // the name tells Eagle's mountsmd files apart
};

const Layout kLayouts[] = {
    {"0\n,\n1,2,3,4,5,6,7\n", "parts.csv"},  // commas, no header
    {"1\n,\n1,5,6,3,4,7,2\n", "parts.csv"},  // KiCad CSV
    {"1\n;\n1,5,6,3,4,7,2\n", "parts.csv"},  // semicolons and decimal commas
    {"0\n\t\n1,2,3,4,5,6,7\n", "parts.txt"}, // tabs
    {"5\n \n1,5,6,3,4,7,2\n", "parts.pos"},  // blanks, KiCad .pos
    {"13\n,\n1,5,2,6,3,4,7\n", "parts.csv"}, // Altium CSV
    {"1\n,\n1,3,4,2,7\n", "parts.csv"},      // Fusion through the JLCPCB exporter
    {"2\n,\n0,4,3,2,0,1\n", "parts.csv"},    // ignored columns, Y before X, no optional fields
    {"0\n-\nauto\n", "parts.csv"},           // columns found by name
    {"3\n-\nauto\n", "parts.txt"},           {"0\n-\nauto\n", "board.mnt"},
    {"0\n-\nauto\n", "board.mnb"},
};
constexpr std::size_t kLayoutCount = sizeof(kLayouts) / sizeof(kLayouts[0]);

// The sort keys take a NUL for the end of a text, so none may stand inside one.
bool KeptWhole(std::string_view text, std::size_t maxLength) {
    return text.size() <= maxLength && text.find('\0') == std::string_view::npos;
}

void CheckRecord(const PartRecord& part) {
    Require(KeptWhole(part.designator, kMaxPartTextLength) &&
                KeptWhole(part.prefix, kMaxPrefixLength) &&
                KeptWhole(part.value, kMaxPartTextLength) &&
                KeptWhole(part.package, kMaxPartTextLength),
            "record texts within their lengths, without a NUL");
    Require(!part.placed, "a fresh record is not placed");
    for (const PartText* text : {&part.designator, &part.value, &part.package})
        Require(IsValidUtf8(DisplayUtf8(*text)), "texts display as UTF-8");
}

void CheckFaceLists(const PartTable& table) {
    const auto at = [](const auto& array, int i) -> const auto& {
        return array[static_cast<std::size_t>(i)];
    };
    for (const SortMode mode : {SortMode::PackagePrefixValuePartId,
                                SortMode::PrefixPackageValuePartId, SortMode::PrefixPartId}) {
        std::vector<int> seen(table.parts().size());
        for (const Face face : {Face::Top, Face::Bottom}) {
            const auto list = std::make_unique<FaceList>();
            FilterAndSortFace(table, face, mode, *list);
            for (int row = 0; row < list->faceCount; ++row) {
                const int index = at(list->indexes, row);
                Require(index >= 0 && index < table.partCount(), "face list rows within the table");
                ++seen[static_cast<std::size_t>(index)];
                Require(row == 0 || IsSortedBefore(table.part(at(list->indexes, row - 1)),
                                                   table.part(index), mode),
                        "face list in sort order");
            }
        }
        for (const int count : seen)
            Require(count == 1, "every part on exactly one face");
    }
}

std::vector<ColumnMap> LoadLayouts(ScratchFolder& folder) {
    std::vector<ColumnMap> maps;
    for (std::size_t i = 0; i < kLayoutCount; ++i) {
        Result<ColumnMap> read = ReadColumnMap(folder.write("Kavelto.ini", kLayouts[i].ini));
        Require(read.ok(), "every layout of the table loads");
        maps.push_back(std::move(read).value());
    }
    return maps;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScratchFolder folder;
    static const std::vector<ColumnMap> maps = LoadLayouts(folder);
    if (size == 0)
        return 0;
    const std::size_t layout = data[0] % kLayoutCount;
    const std::string& path = folder.write(kLayouts[layout].fileName, data + 1, size - 1);
    const Result<PlacementParts> result = ReadPlacementFile(path, maps[layout]);
    if (!result) {
        Require(!result.failure().text.empty(), "a failed load says why");
        return 0;
    }
    const PartTable& table = result->table;
    Require(table.partCount() <= kMaxParts, "count within the table");
    Require(!result->notice || table.isFull(), "parts left out only of a full table");
    for (const PartRecord& part : table.parts())
        CheckRecord(part);
    CheckFaceLists(table);
    return 0;
}
