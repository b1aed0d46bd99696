// Any bytes as a placement file, under one of several column layouts chosen by the first byte:
// the load succeeds or fails whole, every record it keeps holds terminated texts, and the face
// lists built from the records hold every part once, in order.

#include "ScratchFolder.h"
#include "base/TextEncoding.h"
#include "parts/FaceSorting.h"
#include "placement/ColumnMap.h"
#include "placement/PlacementReader.h"

#include <cstring>
#include <memory>
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

bool Terminated(const char* text, std::size_t size) {
    return std::memchr(text, '\0', size) != nullptr;
}

void CheckRecord(const PartRecord& part) {
    Require(Terminated(part.designator, sizeof part.designator) &&
                Terminated(part.prefix, sizeof part.prefix) &&
                Terminated(part.value, sizeof part.value) &&
                Terminated(part.package, sizeof part.package),
            "record texts terminated within their fields");
    Require(part.placed == 0, "a fresh record is not placed");
    for (const char* text : {part.designator, part.value, part.package})
        Require(IsValidUtf8(DisplayUtf8(text)), "texts display as UTF-8");
}

void CheckFaceLists(const PartTable& table) {
    const auto at = [](const auto& array, int i) -> const auto& {
        return array[static_cast<std::size_t>(i)];
    };
    for (const SortMode mode : {SortMode::PackagePrefixValuePartId,
                                SortMode::PrefixPackageValuePartId, SortMode::PrefixPartId}) {
        std::vector<int> seen(static_cast<std::size_t>(table.partCount));
        for (const Face face : {Face::Top, Face::Bottom}) {
            const auto list = std::make_unique<FaceList>();
            FilterAndSortFace(table, face, mode, *list);
            for (int row = 0; row < list->faceCount; ++row) {
                const int index = at(list->indexes, row);
                Require(index >= 0 && index < table.partCount, "face list rows within the table");
                ++seen[static_cast<std::size_t>(index)];
                Require(row == 0 || IsSortedBefore(at(table.parts, at(list->indexes, row - 1)),
                                                   at(table.parts, index), mode),
                        "face list in sort order");
            }
        }
        for (const int count : seen)
            Require(count == 1, "every part on exactly one face");
    }
}

std::vector<ColumnMap> LoadLayouts(ScratchFolder& folder) {
    std::vector<ColumnMap> maps(kLayoutCount);
    for (std::size_t i = 0; i < kLayoutCount; ++i) {
        std::string message;
        Require(LoadColumnMap(folder.write("Kavelto.ini", kLayouts[i].ini), maps[i], message) == 0,
                "every layout of the table loads");
    }
    return maps;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ScratchFolder folder;
    static const std::vector<ColumnMap> maps = LoadLayouts(folder);
    static const auto table = std::make_unique<PartTable>();
    if (size == 0)
        return 0;
    const std::size_t layout = data[0] % kLayoutCount;
    const std::string& path = folder.write(kLayouts[layout].fileName, data + 1, size - 1);
    const PlacementReadResult result = ReadPlacementFile(path, maps[layout], *table);
    Require(result.count >= 0 && result.count <= kMaxParts, "count within the table");
    if (result.error) {
        Require(result.count == 0, "a failed load keeps no part");
        return 0;
    }
    table->partCount = result.count;
    for (int i = 0; i < result.count; ++i)
        CheckRecord(table->parts[static_cast<std::size_t>(i)]);
    CheckFaceLists(*table);
    return 0;
}
