#include "FaceSorting.h"
#include "FieldParsing.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace kavelto {
namespace {

PartRecord MakePart(const char* prefix, std::uint16_t partId, char layer = 't',
                    const char* package = "0603", const char* value = "10k") {
    PartRecord part{};
    part.partId = partId;
    part.layer = layer;
    CopyText(part.prefix, sizeof part.prefix, prefix);
    CopyText(part.package, sizeof part.package, package);
    CopyText(part.value, sizeof part.value, value);
    return part;
}

// The face's table positions in list order, and the item number of each row.
struct Listed {
    std::vector<int> rows, items;
};

Listed ListFace(const std::vector<PartRecord>& parts, Face face, SortMode mode) {
    const auto table = std::make_unique<PartTable>();
    for (const PartRecord& part : parts)
        table->parts[table->partCount++] = part;
    FaceList list;
    FilterAndSortFace(*table, face, mode, list);
    ItemNumbers items{};
    NumberItems(*table, list, items);
    return {{list.indexes.begin(), list.indexes.begin() + list.faceCount},
            {items.begin(), items.begin() + list.faceCount}};
}

// Top: C12 R1 R2 R2 R2 R10 R99 R39999 R40000 c1; bottom: R3 R4. Equal keys come latest first.
TEST(FaceSorting, EveryModeSplitsTheFacesAndOrdersPrefixesAndNumbers) {
    const std::vector<PartRecord> parts{
        MakePart("R", 10, 'T'), MakePart("R", 2),     MakePart("c", 1, '\0'), MakePart("R", 40000),
        MakePart("R", 4, 'B'),  MakePart("C", 12),    MakePart("R", 1, '1'),  MakePart("R", 99),
        MakePart("R", 3, 'b'),  MakePart("R", 39999), MakePart("R", 2),       MakePart("R", 2)};
    for (const SortMode mode : {SortMode(0), SortMode(1), SortMode(2)}) {
        SCOPED_TRACE(static_cast<int>(mode));
        EXPECT_EQ(ListFace(parts, Face::Top, mode).rows,
                  (std::vector<int>{5, 6, 11, 10, 1, 0, 7, 9, 3, 2}));
        EXPECT_EQ(ListFace(parts, Face::Bottom, mode).rows, (std::vector<int>{8, 4}));
    }
}

// Each mode compares its keys in turn, texts as unsigned bytes: 0xB5 comes after '1'. An item
// is a run of rows of one package and value, case and all.
TEST(FaceSorting, EachModeComparesItsKeysInTurnAndNumbersTheItems) {
    const std::vector<PartRecord> parts{MakePart("R", 2),
                                        MakePart("C", 1, 't', "0805", "1u"),
                                        MakePart("R", 1, 't', "0805"),
                                        MakePart("R", 1, 't', "0603", "\xB5"),
                                        MakePart("C", 1, 't', "0603", "1u"),
                                        MakePart("R", 1),
                                        MakePart("R", 1, 't', "0603", "10K")};
    const struct {
        SortMode mode;
        std::vector<int> rows, items;
    } cases[] = {
        {SortMode::PackagePrefixValuePartId, {4, 6, 5, 0, 3, 1, 2}, {1, 2, 3, 3, 4, 5, 6}},
        {SortMode::PrefixPackageValuePartId, {4, 1, 6, 5, 0, 3, 2}, {1, 2, 3, 4, 4, 5, 6}},
        {SortMode::PrefixPartId, {4, 1, 6, 5, 3, 2, 0}, {1, 2, 3, 4, 5, 6, 7}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        const Listed listed = ListFace(parts, Face::Top, c.mode);
        EXPECT_EQ(listed.rows, c.rows);
        EXPECT_EQ(listed.items, c.items);
    }
}

} // namespace
} // namespace kavelto
