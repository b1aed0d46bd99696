#include "Spares.h"
#include "ChipSize.h"
#include "PickListText.h"
#include "SparesTable.h"

#include <gtest/gtest.h>

#include <string>

namespace kavelto {
namespace {

TEST(Spares, ChipSizesAsTheToolsWriteThem) {
    const std::pair<const char*, const char*> rows[] = {
        {"0402", "0402"},
        {"R_0402_1005Metric", "0402"},
        {"C_0201_0603Metric", "0201"}, // the imperial size first, not the metric 0603
        {"01005", "01005"},
        {"C0402", "0402"},
        {"RESC1005X40N", "0402"}, // IPC, metric 1005
        {"CAPC0603X33N", "0201"}, // IPC, metric 0603
        {"RESC1608X55N", "0603"},
        {"R_0603_1608Metric", "0603"},
        {"LED_1206_3216Metric", "1206"},
        {"2512", "2512"},
        {"0805", "0805"},
        {"SOT23", nullptr},
        {"LQFP-48_7x7mm_P0.5mm", nullptr},
        {"SOT-1123", nullptr}, // four digits that name no size
        {"", nullptr},
    };
    for (const auto& [package, size] : rows) {
        const std::optional<int> rank = ChipSizeRank(package);
        EXPECT_EQ(rank ? ChipSizeName(*rank) : "none", size ? size : "none") << package;
    }
    EXPECT_LT(*ChipSizeRank("01005"), *ChipSizeRank("0201"));
    EXPECT_LT(*ChipSizeRank("0805"), *ChipSizeRank("1206"));
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

SparesRule Rule(const std::string& line) {
    const std::optional<SparesRule> rule = ParseSparesRuleLine(line);
    EXPECT_TRUE(rule) << line;
    return rule.value_or(SparesRule());
}

// The share rounded up, or the minimum where it is more; nothing for no boards. The first row
// that reaches the package's size gives the share; a package no row reaches gets none.
TEST(Spares, ToGatherIsTheNeedAndItsSpares) {
    const struct {
        const char* rule;
        const char* package;
        std::int64_t total, toGather;
    } rows[] = {
        {"0402,10,2;,5,1", "0402", 12, 14},                        // 10 % is 1.2, the minimum 2
        {"0402,10,2;,5,1", "0402", 100, 110},                      //
        {"0402,10,2;,5,1", "0402", 101, 112},                      // 10.1 rounds up
        {"0402,10,2;,5,1", "0805", 100, 105},                      //
        {"0402,10,2;,5,1", "0805", 3, 4},                          // the minimum 1
        {"0402,10,2;,5,1", "0805", 45, 48},                        // 2.25 rounds up
        {"0402,10,2;,5,1", "SOT23", 20, 21},                       // no size: the last row
        {"0402,10,2;,5,1", "0402", 0, 0},                          // no boards
        {"0201,20,5;0603,10,2;,0,0", "01005", 10, 15},             // below the first size
        {"0201,20,5;0603,10,2;,0,0", "0402", 10, 12},              // the second row
        {"0201,20,5;0603,10,2;,0,0", "R_0603_1608Metric", 50, 55}, // its own size
        {"0201,20,5;0603,10,2;,0,0", "0805", 50, 50},              // the last row: none
        {"0603,10,2", "1206", 50, 50},                             // no row reaches it
        {"0603,10,2", "QFN-20", 50, 50},                           // nor a sizeless package
        {",50,0", "0402", 7, 11},                                  // one row for every package
    };
    for (const auto& row : rows)
        EXPECT_EQ(ToGather(Item(row.package, row.total), Rule(row.rule)), row.toGather)
            << row.rule << ' ' << row.package << ' ' << row.total;
    EXPECT_EQ(ToGather(Item("0402", 12), SparesRule()), 14); // the default rule
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

// Each table as the dialog leaves it: the rule it gives, as a settings line, or its fault in a
// box of the dialog's caption.
TEST(SparesTable, ReadsTheCellsOrTellsTheFault) {
    const std::string box = "Spares per item: ";
    const std::string percent = box + "Row 1: the percentage must be a whole number from 0 to 100.";
    const std::string minimum = box + "Row 1: the minimum must be a whole number from 0 to 1000.";
    const std::string growing = box + "Row 2: the size must be larger than the rows' above.";
    const std::string noRow = box + "The rule needs at least one row.";
    const struct {
        const char* name;
        TableCells cells;
        std::string rule; // or the box
    } rows[] = {
        {"default", {{"0402", "10", "2"}, {"", "5", "1"}}, "0402,10,2;,5,1"},
        {"blanks, a percent sign, a package name",
         {{" R_0201_0603Metric ", "15 %", " 3"}, {"", "", ""}, {"", "5%", "1"}},
         "0201,15,3;,5,1"},
        {"short rows and no row for the others", {{"0603", "7", "0"}, {}}, "0603,7,0"},
        {"no rows", {}, noRow},
        {"only blank rows", {{"", " "}, {}}, noRow},
        {"unknown size",
         {{"0402", "10", "2"}, {"SOT23", "5", "1"}},
         box +
             "Row 2: \"SOT23\" names no chip size. Write one such as 0402, or leave the size empty "
             "for every other package."},
        {"percent not a number", {{"0402", "ten", "2"}}, percent},
        {"percent above 100", {{"0402", "101", "2"}}, percent},
        {"percent negative", {{"0402", "-5", "2"}}, percent},
        {"percent missing", {{"0402", "", "2"}}, percent},
        {"minimum a fraction", {{"0402", "10", "1.5"}}, minimum},
        {"minimum above 1000", {{"0402", "10", "1001"}}, minimum},
        {"the most of each", {{"0402", "100", "1000"}}, "0402,100,1000"},
        {"sizes not growing", {{"0603", "10", "2"}, {"0402", "5", "1"}}, growing},
        {"the same size twice", {{"0603", "10", "2"}, {"R_0603_1608Metric", "5", "1"}}, growing},
        {"others not last",
         {{"", "5", "1"}, {}, {"0402", "10", "2"}},
         box + "Row 1: only the last row may leave the size empty: it is for every other package."},
    };
    for (const auto& row : rows) {
        const Result<SparesRule> read = ReadSparesTable(row.cells);
        EXPECT_EQ(read ? SparesRuleLine(read.value())
                       : read.failure().caption + ": " + read.failure().text,
                  row.rule)
            << row.name;
    }
}

// The settings line and the table give back the rule they were made from; a line that gives no
// rule is none.
TEST(SparesTable, KeepsTheRuleAsALineAndAsCells) {
    const SparesRule rule = Rule("0201,15,3;0603,10,2;,5,1");
    EXPECT_EQ(SparesCells(rule),
              (TableCells{{"0201", "15", "3"}, {"0603", "10", "2"}, {"", "5", "1"}}));
    EXPECT_EQ(
        SparesRuleSummary(rule),
        "15 %, at least 3 up to 0201; 10 %, at least 2 up to 0603; 5 %, at least 1 otherwise");
    EXPECT_EQ(SparesRuleSummary(SparesRule()),
              "10 %, at least 2 up to 0402; 5 %, at least 1 otherwise");
    EXPECT_EQ(SparesRuleSummary(Rule(",5,1")), "5 %, at least 1");
    for (const char* line : {"", "0402,10", "0402;10;2", "x,1,1", ";;"})
        EXPECT_FALSE(ParseSparesRuleLine(line)) << line;
}

} // namespace
} // namespace kavelto
