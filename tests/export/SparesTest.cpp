#include "Spares.h"
#include "PickListText.h"

#include <gtest/gtest.h>

#include <string>

namespace kavelto {
namespace {

TEST(Spares, SmallPackagesBySize) {
    const std::pair<const char*, bool> rows[] = {
        {"0402", true},
        {"R_0402_1005Metric", true},
        {"C_0201_0603Metric", true},
        {"01005", true},
        {"RESC1005X40N", true},
        {"CAPC0603X33N", true},
        {"R_0603_1608Metric", false},
        {"0805", false},
        {"SOT23", false},
        {"RESC1608X55N", false},
        {"", false},
    };
    for (const auto& [package, small] : rows)
        EXPECT_EQ(IsSmallPackage(package), small) << package;
}

PickListItem Item(const char* package, std::int64_t total) {
    PickListItem item{};
    item.itemNumber = 1;
    item.package = package;
    item.value = "10k";
    item.countPerBoard = 1;
    item.totalCount = total;
    return item;
}

// The share rounded up, or the minimum where it is more; nothing for no boards.
TEST(Spares, ToGatherIsTheNeedAndItsSpares) {
    const struct {
        const char* package;
        std::int64_t total, toGather;
    } rows[] = {
        {"0402", 12, 14},                       // 10 % is 1.2, the minimum 2
        {"0402", 100, 110}, {"0402", 101, 112}, // 10.1 rounds up
        {"0805", 100, 105}, {"0805", 3, 4},     // the minimum 1
        {"0805", 45, 48},                       // 2.25 rounds up
        {"0402", 0, 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ToGather(Item(row.package, row.total), SparesRule()), row.toGather)
            << row.package << ' ' << row.total;
    EXPECT_EQ(ToGather(Item("0805", 100), SparesRule{{10, 2}, {20, 0}}), 120);
}

TEST(Spares, TheListGainsAColumnToGather) {
    std::vector<PickListItem> items = {Item("0402", 12), Item("0805", 3)};
    items[1].itemNumber = 2;
    AddSpares(items, SparesRule());
    EXPECT_EQ(PickListText(items, Face::Top, PickListColumns{true, false}),
              "Picking List for TOP SIDE \n\nITEM\tPACKAGE\tVALUE\tCOUNT/board\tCOUNT/total\t"
              "TO GATHER\n-------\t-------\t-----\t-----\t-----\t-----\n1\t0402\t10k\t1\t12\t14\n"
              "2\t0805\t10k\t1\t3\t4\nEND\n\n\n\n");
}

} // namespace
} // namespace kavelto
