#include "parts/FaceSorting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kavelto {
namespace {

using Keys = std::tuple<const char*, std::uint16_t, char, const char*, const char*>;

// Puts a part with these prefix, number, layer ('\0': none), package and value at the table's end.
void AddPart(PartTable& table, const Keys& keys) {
    const auto& [prefix, partId, layer, package, value] = keys;
    PartRecord part;
    part.partId = partId;
    if (layer != '\0')
        part.layer = layer;
    part.prefix = prefix;
    part.package = package;
    part.value = value;
    table.append(std::move(part));
}

// The top face's list under mode, as table positions.
std::vector<int> SortTop(const PartTable& table, SortMode mode) {
    FaceList list;
    FilterAndSortFace(table, Face::Top, mode, list);
    return {list.indexes.begin(), list.indexes.begin() + list.faceCount};
}

// Each mode compares its keys in turn, numbers as unsigned 16-bit values (R9 before R40000) and
// texts as unsigned bytes: 0xB5 comes after '1', 'c' after 'R'. Equal keys come latest first.
// Layers T, t, 1 and none are the top face, b the bottom. An item is a run of rows of one
// package and value, case and all ("10K" and "10k" are two kinds); a kind that comes back after
// another takes a new number.
TEST(FaceSorting, EachModeComparesItsKeysInTurnAndNumbersTheItems) {
    const Keys parts[] = {{"R", 9, 't', "0603", "10k"}, {"C", 1, 't', "0805", "1u"},
                          {"R", 1, '1', "0805", "10k"}, {"R", 1, 't', "0603", "\xB5"},
                          {"C", 1, '\0', "0603", "1u"}, {"R", 1, 'T', "0603", "10k"},
                          {"R", 1, 't', "0603", "10K"}, {"R", 40000, 't', "0603", "10k"},
                          {"R", 3, 'b', "0603", "10k"}, {"c", 1, 't', "0603", "10k"}};
    const auto table = std::make_unique<PartTable>();
    for (const Keys& keys : parts)
        AddPart(*table, keys);
    EXPECT_EQ(SortTop(*table, SortMode::PackagePrefixValuePartId),
              (std::vector<int>{4, 6, 5, 0, 7, 3, 9, 1, 2}));
    EXPECT_EQ(SortTop(*table, SortMode::PrefixPackageValuePartId),
              (std::vector<int>{4, 1, 6, 5, 0, 7, 3, 2, 9}));
    EXPECT_EQ(SortTop(*table, SortMode::PrefixPartId),
              (std::vector<int>{4, 1, 6, 5, 3, 2, 0, 7, 9}));
    FaceList list;
    FilterAndSortFace(*table, Face::Top, SortMode::PrefixPartId, list);
    ItemNumbers items{};
    NumberItems(*table, list, items);
    EXPECT_EQ(std::vector<int>(items.begin(), items.begin() + list.faceCount),
              (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 7, 7}));
}

// A deliberately plain model of the order: the key texts of the mode as whole strings, which
// compare as unsigned bytes, then the number, then the later table position first.
std::vector<int> ModelOrder(const PartTable& table, SortMode mode) {
    using Key = std::tuple<std::string, std::string, std::string, unsigned, int>;
    std::vector<std::pair<Key, int>> keyed;
    for (int i = 0; i < table.partCount(); ++i) {
        const PartRecord& p = table.part(i);
        const std::string prefix = p.prefix, package = p.package, value = p.value;
        const Key key =
            mode == SortMode::PackagePrefixValuePartId   ? Key{package, prefix, value, p.partId, -i}
            : mode == SortMode::PrefixPackageValuePartId ? Key{prefix, package, value, p.partId, -i}
                                                         : Key{prefix, "", "", p.partId, -i};
        keyed.emplace_back(key, i);
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<int> order;
    for (const auto& entry : keyed)
        order.push_back(entry.second);
    return order;
}

// On texts that share their first eight bytes, end right after them, or are empty, the order
// is the plain model's.
TEST(FaceSorting, OrdersAsThePlainModelDoes) {
    const char* const packages[] = {"C_0603_1608Metric", "C_0603_1005Metric", "C_0603_1", "0603"};
    const char* const values[] = {"100nF_X7R_16V", "100nF_X5R_16V", "100nF_X5", ""};
    const auto table = std::make_unique<PartTable>();
    std::minstd_rand random(12345);
    for (int i = 0; i < 300; ++i) // a braced list draws its numbers left to right
        AddPart(*table, {random() % 2 ? "C" : "CP", std::uint16_t(random() % 20), 't',
                         packages[random() % 4], values[random() % 4]});
    for (const SortMode mode : {SortMode::PackagePrefixValuePartId,
                                SortMode::PrefixPackageValuePartId, SortMode::PrefixPartId}) {
        const std::vector<int> order = ModelOrder(*table, mode);
        EXPECT_EQ(SortTop(*table, mode), order) << static_cast<int>(mode);
        // Each part goes before the next; the next before it only when their keys are alike.
        const auto keys = [mode](const PartRecord& p) {
            const bool all = mode != SortMode::PrefixPartId;
            return std::make_tuple(std::string(p.prefix), std::string(all ? p.package : ""),
                                   std::string(all ? p.value : ""), p.partId);
        };
        for (std::size_t k = 1; k < order.size(); ++k) {
            const PartRecord& a = table->part(order[k - 1]);
            const PartRecord& b = table->part(order[k]);
            EXPECT_TRUE(IsSortedBefore(a, b, mode)) << k;
            const bool alike = keys(a) == keys(b);
            EXPECT_EQ(IsSortedBefore(b, a, mode), alike) << k;
        }
    }
}

} // namespace
} // namespace kavelto
