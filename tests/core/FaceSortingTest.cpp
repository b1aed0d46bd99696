#include "FaceSorting.h"
#include "FieldParsing.h"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <random>
#include <string_view>
#include <tuple>
#include <utility>
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

TEST(FaceListTest, ItemsAreRunsOfOneKindInListOrder) {
    // Descending numbers list the parts in reverse.
    const std::vector<PartRecord> parts{
        MakePart("R", 6, 't', "0603", "10k"), MakePart("R", 5, 't', "0805", "10k"),
        MakePart("R", 4, 't', "0603", "10k"), MakePart("R", 3, 't', "0603", "10k"),
        MakePart("R", 2, 't', "0603", "10K"), MakePart("R", 1, 't', "0603", "10K")};
    EXPECT_EQ(ListFace(parts, Face::Top, SortMode::PrefixPartId).items,
              (std::vector<int>{1, 1, 2, 2, 3, 4}));
}

class SortModeTest : public testing::TestWithParam<SortMode> {};

TEST_P(SortModeTest, SplitsTheFacesAndOrdersDesignatorsWithEqualKeysLatestFirst) {
    // Top: C12 R1 R2 R2 R2 R10 R99 R39999 R40000 c1; bottom: R3 R4.
    const std::vector<PartRecord> parts{
        MakePart("R", 10, 'T'), MakePart("R", 2),     MakePart("c", 1, '\0'), MakePart("R", 40000),
        MakePart("R", 4, 'B'),  MakePart("C", 12),    MakePart("R", 1, '1'),  MakePart("R", 99),
        MakePart("R", 3, 'b'),  MakePart("R", 39999), MakePart("R", 2),       MakePart("R", 2)};
    EXPECT_EQ(ListFace(parts, Face::Top, GetParam()).rows,
              (std::vector<int>{5, 6, 11, 10, 1, 0, 7, 9, 3, 2}));
    EXPECT_EQ(ListFace(parts, Face::Bottom, GetParam()).rows, (std::vector<int>{8, 4}));
}

// Independent reference: string_view orders by unsigned bytes; the insertion sort moves each
// part in front of every part whose key is not smaller.
using Key = std::tuple<std::string_view, std::string_view, std::string_view, unsigned>;

Key KeyOf(const PartRecord& p, SortMode mode) {
    if (mode == SortMode::PackagePrefixValuePartId)
        return {p.package, p.prefix, p.value, p.partId};
    if (mode == SortMode::PrefixPackageValuePartId)
        return {p.prefix, p.package, p.value, p.partId};
    return {p.prefix, {}, {}, p.partId};
}

std::vector<int> ReferenceFace(const std::vector<PartRecord>& parts, Face face, SortMode mode) {
    std::vector<int> rows;
    for (int i = 0; i < static_cast<int>(parts.size()); ++i)
        if ((parts[i].layer == 'b' || parts[i].layer == 'B') == (face == Face::Bottom))
            rows.push_back(i);
    const auto notAfter = [&](int a, int b) {
        return KeyOf(parts[a], mode) <= KeyOf(parts[b], mode);
    };
    for (std::size_t p = 1; p < rows.size(); ++p)
        for (std::size_t i = p; i > 0 && notAfter(rows[i], rows[i - 1]); --i)
            std::swap(rows[i], rows[i - 1]);
    return rows;
}

std::vector<PartRecord> RandomPartsWithManyTies() {
    const char* const texts[] = {"", "C", "c", "10k", "10K", "\xC4", "\xB5SOP"};
    const std::uint16_t ids[] = {1, 2, 10, 40000};
    const char layers[] = {'t', 'b', 'B', '1', '\0'};
    std::mt19937 random(1);
    const auto pick = [&](const auto& pool) { return pool[random() % std::size(pool)]; };
    std::vector<PartRecord> parts(1000);
    for (PartRecord& part : parts)
        part = MakePart(pick(texts), pick(ids), pick(layers), pick(texts), pick(texts));
    return parts;
}

TEST_P(SortModeTest, MatchesALiteralInsertionSort) {
    const std::vector<PartRecord> parts = RandomPartsWithManyTies();
    for (const Face face : {Face::Top, Face::Bottom})
        EXPECT_EQ(ListFace(parts, face, GetParam()).rows, ReferenceFace(parts, face, GetParam()));
}

// The modes by their number in the "Sort by" list.
INSTANTIATE_TEST_SUITE_P(AllModes, SortModeTest,
                         testing::Values(SortMode(0), SortMode(1), SortMode(2)));

} // namespace
} // namespace kavelto
