#include "SheetTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kavelto {
namespace {

using Lines = std::vector<std::string>;

// Item 3, two 10k 0603 resistors a board, on ten boards: 20 in all.
PickListItem Resistors() {
    PickListItem item{};
    item.itemNumber = 3;
    item.value = "10k";
    item.package = "0603";
    item.countPerBoard = 2;
    item.totalCount = 20;
    item.designators = {"R1", "R2"};
    return item;
}

// Each block heads with the item, then the part numbers a BOM gives, only those it gives, then
// the count, with its spares once they are added.
TEST(SheetTexts, BlockLines) {
    const struct {
        const char* name;
        void (*change)(PickListItem&);
        Lines lines;
    } rows[] = {
        {"without a BOM", [](PickListItem&) {}, {"Item 3   10k   0603", "2 x 10 boards = 20"}},
        {"with spares",
         [](PickListItem& i) { i.toGather = 22; },
         {"Item 3   10k   0603", "2 x 10 boards + 2 spares = 22 to gather"}},
        {"every part number",
         [](PickListItem& i) {
             i.mpn = "RC0603FR-0710KL";
             i.manufacturer = "Yageo";
             i.supplier = "C25804";
         },
         {"Item 3   10k   0603", "MPN RC0603FR-0710KL   Yageo   Supplier C25804",
          "2 x 10 boards = 20"}},
        {"a supplier number alone",
         [](PickListItem& i) { i.supplier = "C25804"; },
         {"Item 3   10k   0603", "Supplier C25804", "2 x 10 boards = 20"}},
        {"a manufacturer alone",
         [](PickListItem& i) { i.manufacturer = "Yageo"; },
         {"Item 3   10k   0603", "Yageo", "2 x 10 boards = 20"}},
        {"Latin-1 bytes shown as the window shows them",
         [](PickListItem& i) { i.value = "4.7\xB5"; },
         {"Item 3   4.7\xC2\xB5   0603", "2 x 10 boards = 20"}},
    };
    for (const auto& row : rows) {
        PickListItem item = Resistors();
        row.change(item);
        EXPECT_EQ(SheetBlockLines(item, 10), row.lines) << row.name;
    }
}

// A label keeps its count on the fourth line, with or without an MPN above it.
TEST(SheetTexts, LabelLines) {
    PickListItem item = Resistors();
    EXPECT_EQ(SheetLabelLines(item), (Lines{"10k", "0603", "", "Count: 20"}));
    item.mpn = "RC0603FR-0710KL";
    item.toGather = 22;
    EXPECT_EQ(SheetLabelLines(item), (Lines{"10k", "0603", "MPN RC0603FR-0710KL", "Count: 22"}));
}

// The cover sums the parts of every item, for one board and for all.
TEST(SheetTexts, CoverLines) {
    PickListItem capacitors = Resistors();
    capacitors.itemNumber = 4;
    capacitors.countPerBoard = 5;
    EXPECT_EQ(
        SheetCoverLines("/boards/b.csv", "2026-12-08", Face::Bottom, 10, {Resistors(), capacitors}),
        (Lines{"Placement file: /boards/b.csv", "Date: 2026-12-08", "Face: bottom", "PCB count: 10",
               "Items: 2", "Parts per board: 7, for all boards: 70"}));
    EXPECT_EQ(SheetCoverLines("b.csv", "", Face::Top, 4294967295u, {capacitors})[2], "Face: top");
    EXPECT_EQ(SheetCoverLines("b.csv", "", Face::Top, 4294967295u, {capacitors})[5],
              "Parts per board: 5, for all boards: 21474836475");
}

} // namespace
} // namespace kavelto
