#include "FaceSorting.h"
#include "FieldParsing.h"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace kavelto {
namespace {

PartRecord MakePart(const char* prefix, unsigned partId, const char* package = "0603",
                    const char* value = "10k", char layer = 't') {
    PartRecord part{};
    CopyText(part.prefix, sizeof part.prefix, prefix);
    part.partId = static_cast<std::uint16_t>(partId);
    CopyText(part.package, sizeof part.package, package);
    CopyText(part.value, sizeof part.value, value);
    part.layer = layer;
    return part;
}

std::unique_ptr<PartTable> MakeTable(const std::vector<PartRecord>& parts) {
    auto table = std::make_unique<PartTable>();
    for (const PartRecord& part : parts)
        table->parts[table->partCount++] = part;
    return table;
}

std::vector<int> Rows(const FaceList& list) {
    return std::vector<int>(list.indexes.begin(), list.indexes.begin() + list.faceCount);
}

std::vector<int> SortedFace(const PartTable& table, Face face, SortMode mode) {
    FaceList list;
    FilterAndSortFace(table, face, mode, list);
    return Rows(list);
}

std::string Describe(SortMode mode) {
    const char* const names[] = {"PackagePrefixValuePartId", "PrefixPackageValuePartId",
                                 "PrefixPartId"};
    return names[static_cast<int>(mode)];
}

const SortMode kAllModes[] = {SortMode::PackagePrefixValuePartId,
                              SortMode::PrefixPackageValuePartId, SortMode::PrefixPartId};

// --- IsSortedBefore ------------------------------------------------------------------------

struct OrderCase {
    const char* what;
    SortMode mode;
    PartRecord first;
    PartRecord second;
};

TEST(IsSortedBeforeTest, PutsTheLowerKeyStrictlyFirst) {
    const OrderCase cases[] = {
        {"prefix decides before number", SortMode::PrefixPartId, MakePart("C", 12),
         MakePart("R", 1)},
        {"number compares as a number", SortMode::PrefixPartId, MakePart("R", 2),
         MakePart("R", 10)},
        {"upper case before lower case", SortMode::PrefixPartId, MakePart("R", 99),
         MakePart("c", 1)},
        {"numbers above 32767 stay unsigned", SortMode::PrefixPartId, MakePart("R", 39999),
         MakePart("R", 40000)},
        {"largest number last", SortMode::PrefixPartId, MakePart("R", 0), MakePart("R", 65535)},
        {"empty prefix first", SortMode::PrefixPartId, MakePart("", 500), MakePart("A", 1)},
        {"shorter prefix before its extension", SortMode::PrefixPartId, MakePart("R", 9),
         MakePart("RN", 1)},
        {"bytes above 0x7F after ASCII", SortMode::PrefixPartId, MakePart("z", 1),
         MakePart("\xC4", 1)},
        {"package before prefix", SortMode::PackagePrefixValuePartId,
         MakePart("R", 1, "0402", "10k"), MakePart("C", 1, "0603", "10k")},
        {"prefix before value", SortMode::PackagePrefixValuePartId, MakePart("C", 9, "0603", "9"),
         MakePart("R", 1, "0603", "1")},
        {"value before number", SortMode::PackagePrefixValuePartId, MakePart("R", 9, "0603", "1k"),
         MakePart("R", 1, "0603", "2k")},
        {"number last", SortMode::PackagePrefixValuePartId, MakePart("R", 1), MakePart("R", 2)},
        {"value bytes compare unsigned", SortMode::PackagePrefixValuePartId,
         MakePart("C", 1, "0603", "zH"), MakePart("C", 1, "0603", "\xB5H")},
        {"no numeric order inside texts", SortMode::PackagePrefixValuePartId,
         MakePart("R", 1, "0603", "100k"), MakePart("R", 1, "0603", "20k")},
        {"prefix before package", SortMode::PrefixPackageValuePartId, MakePart("C", 1, "SOT-23"),
         MakePart("R", 1, "0402")},
        {"package before value", SortMode::PrefixPackageValuePartId, MakePart("R", 1, "0402", "9"),
         MakePart("R", 1, "0603", "1")},
        {"value before number in prefix order", SortMode::PrefixPackageValuePartId,
         MakePart("R", 2, "0603", "1k"), MakePart("R", 1, "0603", "2k")},
        {"package and value ignored by the designator order", SortMode::PrefixPartId,
         MakePart("R", 1, "SOT-23", "zz"), MakePart("R", 2, "0402", "aa")},
    };
    for (const OrderCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(IsSortedBefore(c.first, c.second, c.mode));
        EXPECT_FALSE(IsSortedBefore(c.second, c.first, c.mode));
    }
}

TEST(IsSortedBeforeTest, EqualKeysGiveTrueBothWays) {
    const OrderCase cases[] = {
        {"same part", SortMode::PackagePrefixValuePartId, MakePart("R", 1), MakePart("R", 1)},
        {"layer and position are no keys", SortMode::PrefixPackageValuePartId,
         MakePart("R", 1, "0603", "10k", 'b'), MakePart("R", 1, "0603", "10k", 't')},
        {"designator order ignores the texts", SortMode::PrefixPartId,
         MakePart("R", 1, "0402", "1k"), MakePart("R", 1, "0805", "2k")},
    };
    for (const OrderCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(IsSortedBefore(c.first, c.second, c.mode));
        EXPECT_TRUE(IsSortedBefore(c.second, c.first, c.mode));
    }
}

// --- Filtering -----------------------------------------------------------------------------

TEST(FilterAndSortFaceTest, OnlyLowerAndUpperBMarkTheBottom) {
    const struct {
        char layer;
        Face face;
    } layers[] = {{'b', Face::Bottom}, {'t', Face::Top}, {'B', Face::Bottom}, {'T', Face::Top},
                  {'1', Face::Top},    {' ', Face::Top}, {'\0', Face::Top},   {'2', Face::Top}};
    std::vector<PartRecord> parts;
    std::vector<int> top;
    std::vector<int> bottom;
    // Descending numbers under the designator order keep the sorted face in table order
    // reversed, so each face's expected rows are its positions from last to first.
    for (const auto& entry : layers) {
        const int position = static_cast<int>(parts.size());
        parts.push_back(
            MakePart("R", 100 - static_cast<unsigned>(position), "0603", "10k", entry.layer));
        auto& rows = entry.face == Face::Top ? top : bottom;
        rows.insert(rows.begin(), position);
    }
    const auto table = MakeTable(parts);
    EXPECT_EQ(SortedFace(*table, Face::Top, SortMode::PrefixPartId), top);
    EXPECT_EQ(SortedFace(*table, Face::Bottom, SortMode::PrefixPartId), bottom);
}

TEST(FilterAndSortFaceTest, EmptyTableAndEmptyFaceGiveNoRows) {
    const auto empty = MakeTable({});
    const auto topOnly = MakeTable({MakePart("R", 1), MakePart("C", 1, "0603", "1u", 'T')});
    FaceList list;
    list.faceCount = 7; // left over from an earlier face
    FilterAndSortFace(*empty, Face::Top, SortMode::PackagePrefixValuePartId, list);
    EXPECT_EQ(list.faceCount, 0);
    list.faceCount = 7;
    FilterAndSortFace(*topOnly, Face::Bottom, SortMode::PackagePrefixValuePartId, list);
    EXPECT_EQ(list.faceCount, 0);
}

TEST(FilterAndSortFaceTest, IgnoresRecordsBeyondThePartCount) {
    auto table = MakeTable({MakePart("R", 2), MakePart("R", 1)});
    table->parts[2] = MakePart("A", 1); // left by an earlier, longer load
    EXPECT_EQ(SortedFace(*table, Face::Top, SortMode::PrefixPartId), (std::vector<int>{1, 0}));
}

// --- Sorting in every mode -----------------------------------------------------------------

class SortModeTest : public testing::TestWithParam<SortMode> {};

TEST_P(SortModeTest, DuplicatesShowInReverseFileOrder) {
    const PartRecord duplicate = MakePart("R", 5, "0603", "10k");
    const auto table = MakeTable({duplicate, MakePart("R", 7, "0805", "1k"), duplicate,
                                  MakePart("C", 3, "0402", "1u"), duplicate});
    const std::vector<int> rows = SortedFace(*table, Face::Top, GetParam());
    std::vector<int> duplicates;
    for (const int row : rows) {
        if (row % 2 == 0)
            duplicates.push_back(row);
    }
    EXPECT_EQ(duplicates, (std::vector<int>{4, 2, 0}));
}

TEST_P(SortModeTest, DesignatorOrderAmongEqualTexts) {
    // R10 R2 c1 R40000 C12 R1 R99 R39999, all of one kind.
    const auto table =
        MakeTable({MakePart("R", 10), MakePart("R", 2), MakePart("c", 1), MakePart("R", 40000),
                   MakePart("C", 12), MakePart("R", 1), MakePart("R", 99), MakePart("R", 39999)});
    EXPECT_EQ(SortedFace(*table, Face::Top, GetParam()),
              (std::vector<int>{4, 5, 1, 0, 6, 7, 3, 2}));
}

// Straightforward restatement of the list order: the keys as a tuple of byte strings (which
// std::string_view orders by unsigned bytes) and the insertion sort that moves each part in
// front of every part whose key is not smaller.
using ReferenceKey = std::tuple<std::string_view, std::string_view, std::string_view, unsigned>;

ReferenceKey KeyOf(const PartRecord& part, SortMode mode) {
    const std::string_view prefix = part.prefix;
    const std::string_view package = part.package;
    const std::string_view value = part.value;
    switch (mode) {
    case SortMode::PackagePrefixValuePartId:
        return {package, prefix, value, part.partId};
    case SortMode::PrefixPackageValuePartId:
        return {prefix, package, value, part.partId};
    case SortMode::PrefixPartId:
        break;
    }
    return {prefix, {}, {}, part.partId};
}

std::vector<int> ReferenceFace(const PartTable& table, Face face, SortMode mode) {
    std::vector<int> rows;
    for (int i = 0; i < table.partCount; ++i) {
        const char layer = table.parts[i].layer;
        if ((layer == 'b' || layer == 'B') == (face == Face::Bottom))
            rows.push_back(i);
    }
    for (std::size_t p = 1; p < rows.size(); ++p) {
        const int lifted = rows[p];
        std::size_t free = p;
        while (free > 0 &&
               KeyOf(table.parts[lifted], mode) <= KeyOf(table.parts[rows[free - 1]], mode)) {
            rows[free] = rows[free - 1];
            --free;
        }
        rows[free] = lifted;
    }
    return rows;
}

std::unique_ptr<PartTable> RandomTableWithManyTies(unsigned seed, int count) {
    const char* const prefixes[] = {"", "C", "R", "c", "\xC4"};
    const unsigned ids[] = {1, 2, 10, 40000};
    const char* const packages[] = {"0603", "SOT-23", "\xB5SOP"};
    const char* const values[] = {"10k", "10K", ""};
    const char layers[] = {'t', 'b', 'B', 'T', '1', ' ', '\0'};
    std::mt19937 random(seed);
    const auto pick = [&](const auto& pool) {
        const auto size = static_cast<int>(std::size(pool));
        return pool[std::uniform_int_distribution<int>(0, size - 1)(random)];
    };
    std::vector<PartRecord> parts;
    for (int i = 0; i < count; ++i)
        parts.push_back(
            MakePart(pick(prefixes), pick(ids), pick(packages), pick(values), pick(layers)));
    return MakeTable(parts);
}

TEST_P(SortModeTest, MatchesTheInsertionSortOnRandomTables) {
    for (const unsigned seed : {1u, 2u, 3u}) {
        const auto table = RandomTableWithManyTies(seed, 300);
        for (const Face face : {Face::Top, Face::Bottom}) {
            SCOPED_TRACE(testing::Message()
                         << "seed " << seed << " face " << static_cast<int>(face));
            EXPECT_EQ(SortedFace(*table, face, GetParam()),
                      ReferenceFace(*table, face, GetParam()));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllModes, SortModeTest, testing::ValuesIn(kAllModes),
                         [](const auto& info) { return Describe(info.param); });

// --- Item numbers --------------------------------------------------------------------------

struct ItemCase {
    const char* what;
    SortMode mode;
    std::vector<PartRecord> parts;
    std::vector<int> items; // in list order
};

TEST(NumberItemsTest, NumbersFollowAdjacencyOfKinds) {
    const ItemCase cases[] = {
        {"one part", SortMode::PrefixPartId, {MakePart("R", 1)}, {1}},
        {"a kind split by another gets a new number",
         SortMode::PrefixPartId,
         {MakePart("R", 1, "0603", "10k"), MakePart("R", 2, "0603", "10k"),
          MakePart("R", 3, "0805", "10k"), MakePart("R", 4, "0603", "10k")},
         {1, 1, 2, 3}},
        {"value alone separates kinds",
         SortMode::PrefixPartId,
         {MakePart("R", 1, "0603", "10k"), MakePart("R", 2, "0603", "10K")},
         {1, 2}},
        {"another prefix between parts of one kind in package order",
         SortMode::PackagePrefixValuePartId,
         {MakePart("R", 1, "0603", "10k"), MakePart("C", 1, "0603", "10k"),
          MakePart("C", 2, "0603", "1u")},
         {1, 2, 3}},
        {"parts of one kind together",
         SortMode::PackagePrefixValuePartId,
         {MakePart("R", 3, "0805", "1k"), MakePart("R", 1, "0603", "10k"),
          MakePart("R", 2, "0603", "10k")},
         {1, 1, 2}},
    };
    for (const ItemCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto table = MakeTable(c.parts);
        FaceList list;
        FilterAndSortFace(*table, Face::Top, c.mode, list);
        ItemNumbers items{};
        NumberItems(*table, list, items);
        EXPECT_EQ(std::vector<int>(items.begin(), items.begin() + list.faceCount), c.items);
    }
}

} // namespace
} // namespace kavelto
