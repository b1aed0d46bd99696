#include "PickList.h"
#include "PickListPage.h"
#include "PickListText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace kavelto {
namespace {

struct Row {
    const char* package;
    const char* value;
};

struct ExpectedItem {
    const char* package;
    const char* value;
    int countPerBoard;
    std::int64_t totalCount;
};

const std::vector<Row> kExampleRows = {{"SOT23", "BC847"},
                                       {"SOT23", "BC847"},
                                       {"SOT23", "BC857"},
                                       {"SOIC8", "LM358"},
                                       {"SOT23", "BC847"}};

const char* const kTextHeader = "ITEM\tPACKAGE\tVALUE\tCOUNT/board\tCOUNT/total\n"
                                "-------\t-------\t-----\t-----\t-----\n";

const char* const kPageHead =
    "<html><head><meta charset=\"utf-8\"><title>Pick list</title></head><body>\n";
const char* const kPageHeaderRow = "<table border=1><tr><td>Item#</td><td>package</td>"
                                   "<td>Value</td><td>Qty/board</td><td>Qty/total</td></tr>";
const char* const kSite = "www.example.com";

// The tables are large; they live on the heap, and rows go in list order unless told.
class PickListFixture {
public:
    PickListFixture()
        : table_(std::make_unique<PartTable>()), faces_(std::make_unique<FaceList>()) {}

    void SetRows(const std::vector<Row>& rows) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            PartRecord& record = table_->parts[i];
            std::strncpy(record.package, rows[i].package, sizeof record.package - 1);
            std::strncpy(record.value, rows[i].value, sizeof record.value - 1);
            faces_->indexes[i] = static_cast<int>(i);
        }
        table_->partCount = faces_->faceCount = static_cast<int>(rows.size());
    }

    std::vector<PickListItem> Group(std::uint32_t pcbCount) const {
        return GroupPickList(*table_, *faces_, pcbCount);
    }

    PartTable& table() { return *table_; }
    FaceList& faces() { return *faces_; }

private:
    std::unique_ptr<PartTable> table_;
    std::unique_ptr<FaceList> faces_;
};

struct GroupingCase {
    const char* name;
    std::vector<Row> rows;
    std::uint32_t pcbCount;
    std::vector<ExpectedItem> items;
};

class GroupingTest : public testing::TestWithParam<GroupingCase> {};

TEST_P(GroupingTest, GroupsAdjacentRowsOfOneKind) {
    const GroupingCase& c = GetParam();
    PickListFixture fixture;
    fixture.SetRows(c.rows);
    const std::vector<PickListItem> items = fixture.Group(c.pcbCount);
    ASSERT_EQ(items.size(), c.items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(items[i].itemNumber, static_cast<int>(i) + 1);
        EXPECT_STREQ(items[i].package, c.items[i].package);
        EXPECT_STREQ(items[i].value, c.items[i].value);
        EXPECT_EQ(items[i].countPerBoard, c.items[i].countPerBoard);
        EXPECT_EQ(items[i].totalCount, c.items[i].totalCount);
    }
}

INSTANTIATE_TEST_SUITE_P(
    PickList, GroupingTest,
    testing::Values(
        GroupingCase{"FiveRowExample",
                     kExampleRows,
                     3,
                     {{"SOT23", "BC847", 2, 6},
                      {"SOT23", "BC857", 1, 3},
                      {"SOIC8", "LM358", 1, 3},
                      {"SOT23", "BC847", 1, 3}}},
        GroupingCase{"Empty", {}, 1, {}},
        GroupingCase{"OneRow", {{"0603", "10k"}}, 7, {{"0603", "10k", 1, 7}}},
        GroupingCase{"LastRowDiffers",
                     {{"0603", "10k"}, {"0603", "10k"}, {"0603", "10k"}, {"0603", "4k7"}},
                     2,
                     {{"0603", "10k", 3, 6}, {"0603", "4k7", 1, 2}}},
        GroupingCase{"AllSame",
                     {{"0805", "100n"}, {"0805", "100n"}, {"0805", "100n"}, {"0805", "100n"}},
                     5,
                     {{"0805", "100n", 4, 20}}},
        GroupingCase{"SameValueOtherPackage",
                     {{"0603", "100n"}, {"0805", "100n"}},
                     1,
                     {{"0603", "100n", 1, 1}, {"0805", "100n", 1, 1}}},
        GroupingCase{"SamePackageOtherValue",
                     {{"0603", "100n"}, {"0603", "10n"}},
                     1,
                     {{"0603", "100n", 1, 1}, {"0603", "10n", 1, 1}}},
        GroupingCase{"ValuesDifferInCase",
                     {{"0603", "10k"}, {"0603", "10K"}},
                     1,
                     {{"0603", "10k", 1, 1}, {"0603", "10K", 1, 1}}},
        GroupingCase{"ValuesDifferInTrailingBlank",
                     {{"0603", "10k"}, {"0603", "10k "}},
                     1,
                     {{"0603", "10k", 1, 1}, {"0603", "10k ", 1, 1}}},
        GroupingCase{"PcbCountZero",
                     {{"0603", "10k"}, {"0603", "10k"}, {"SOT23", "BC847"}},
                     0,
                     {{"0603", "10k", 2, 0}, {"SOT23", "BC847", 1, 0}}},
        GroupingCase{"TotalBeyond32Bits",
                     {{"0603", "10k"}, {"0603", "10k"}, {"0603", "10k"}},
                     4000000000u,
                     {{"0603", "10k", 3, 12000000000}}},
        GroupingCase{"LargestPcbCount",
                     {{"0603", "10k"}, {"0603", "10k"}},
                     4294967295u,
                     {{"0603", "10k", 2, 8589934590}}}),
    [](const testing::TestParamInfo<GroupingCase>& info) { return info.param.name; });

TEST(PickListGrouping, FollowsFaceListOrderAndPointsIntoTheTable) {
    PickListFixture fixture;
    fixture.SetRows({{"SOT23", "BC847"},
                     {"SOIC8", "LM358"},
                     {"SOT23", "BC847"},
                     {"0603", "1k"},
                     {"SOT23", "BC847"}});
    // The other face's parts (1 and 3) lie between them in the table, not in the list.
    fixture.faces().indexes[0] = 4;
    fixture.faces().indexes[1] = 2;
    fixture.faces().indexes[2] = 0;
    fixture.faces().faceCount = 3;
    const std::vector<PickListItem> items = fixture.Group(2);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].countPerBoard, 3);
    EXPECT_EQ(items[0].totalCount, 6);
    EXPECT_EQ(items[0].package, fixture.table().parts[4].package);
    EXPECT_EQ(items[0].value, fixture.table().parts[4].value);
}

struct FaceCase {
    Face face;
    const char* textTitle;
    const char* pageParagraph;
};

class RenderingTest : public testing::TestWithParam<FaceCase> {};

TEST_P(RenderingTest, FiveRowExampleText) {
    PickListFixture fixture;
    fixture.SetRows(kExampleRows);
    const std::string expected = std::string("Picking List for ") + GetParam().textTitle +
                                 "ITEM\tPACKAGE\tVALUE\tCOUNT/board\tCOUNT/total\n"
                                 "-------\t-------\t-----\t-----\t-----\n"
                                 "1\tSOT23\tBC847\t2\t6\n"
                                 "2\tSOT23\tBC857\t1\t3\n"
                                 "3\tSOIC8\tLM358\t1\t3\n"
                                 "4\tSOT23\tBC847\t1\t3\n"
                                 "END\n\n\n\n";
    EXPECT_EQ(PickListText(fixture.Group(3), GetParam().face), expected);
}

TEST_P(RenderingTest, FiveRowExamplePage) {
    PickListFixture fixture;
    fixture.SetRows(kExampleRows);
    const std::string expected =
        std::string(kPageHead) + GetParam().pageParagraph +
        " - Generated by the Kavelto v1.2 - QUANDEL - www.example.com</p>\n" + kPageHeaderRow +
        "<tr><td>1</td><td>SOT23</td><td>BC847</td><td>2</td><td>6</td></tr>"
        "<tr><td>2</td><td>SOT23</td><td>BC857</td><td>1</td><td>3</td></tr>"
        "<tr><td>3</td><td>SOIC8</td><td>LM358</td><td>1</td><td>3</td></tr>"
        "<tr><td>4</td><td>SOT23</td><td>BC847</td><td>1</td><td>3</td></tr>"
        "</table> </body> </html>\n";
    EXPECT_EQ(PickListPage(fixture.Group(3), GetParam().face, kSite), expected);
}

TEST_P(RenderingTest, EmptyListHasHeadersOnly) {
    const std::vector<PickListItem> none;
    EXPECT_EQ(PickListText(none, GetParam().face), std::string("Picking List for ") +
                                                       GetParam().textTitle + kTextHeader +
                                                       "END\n\n\n\n");
    EXPECT_EQ(PickListPage(none, GetParam().face, kSite),
              std::string(kPageHead) + GetParam().pageParagraph +
                  " - Generated by the Kavelto v1.2 - QUANDEL - www.example.com</p>\n" +
                  kPageHeaderRow + "</table> </body> </html>\n");
}

INSTANTIATE_TEST_SUITE_P(
    PickList, RenderingTest,
    testing::Values(FaceCase{Face::Top, "TOP SIDE \n\n", "<p>Pick List TOP SIDE"},
                    FaceCase{Face::Bottom, "BOTTOM SIDE \n\n", "<p>Pick List BOTTOM SIDE"}),
    [](const testing::TestParamInfo<FaceCase>& info) {
        return info.param.face == Face::Top ? "Top" : "Bottom";
    });

// What one item's texts become in the clipboard line and in the page row.
struct ItemTextCase {
    const char* name;
    Row row;
    std::uint32_t pcbCount;
    const char* textLine;
    const char* pageRow;
};

class ItemTextTest : public testing::TestWithParam<ItemTextCase> {};

TEST_P(ItemTextTest, TextKeepsBytesWhilePageShowsThem) {
    const ItemTextCase& c = GetParam();
    PickListFixture fixture;
    fixture.SetRows({c.row});
    const std::vector<PickListItem> items = fixture.Group(c.pcbCount);
    EXPECT_EQ(PickListText(items, Face::Top), std::string("Picking List for TOP SIDE \n\n") +
                                                  kTextHeader + c.textLine + "END\n\n\n\n");
    const std::string page = PickListPage(items, Face::Top, kSite);
    EXPECT_NE(page.find(std::string(kPageHeaderRow) + c.pageRow + "</table>"), std::string::npos)
        << page;
}

INSTANTIATE_TEST_SUITE_P(
    PickList, ItemTextTest,
    testing::Values(ItemTextCase{"HtmlSpecialCharacters",
                                 {"<SO&8>", "\"1%\""},
                                 1,
                                 "1\t<SO&8>\t\"1%\"\t1\t1\n",
                                 "<tr><td>1</td><td>&lt;SO&amp;8&gt;</td><td>&quot;1%&quot;</td>"
                                 "<td>1</td><td>1</td></tr>"},
                    ItemTextCase{"Latin1Micro",
                                 {"0805", "4.7\xB5"
                                          "F"},
                                 2,
                                 "1\t0805\t4.7\xB5"
                                 "F\t1\t2\n",
                                 "<tr><td>1</td><td>0805</td><td>4.7\xC2\xB5"
                                 "F</td><td>1</td><td>2</td></tr>"},
                    ItemTextCase{"Utf8MicroUnchanged",
                                 {"0805", "4.7\xC2\xB5"
                                          "F"},
                                 1,
                                 "1\t0805\t4.7\xC2\xB5"
                                 "F\t1\t1\n",
                                 "<tr><td>1</td><td>0805</td><td>4.7\xC2\xB5"
                                 "F</td><td>1</td><td>1</td></tr>"},
                    ItemTextCase{
                        "TotalBeyond32Bits",
                        {"SOT23", "BC847"},
                        4000000000u,
                        "1\tSOT23\tBC847\t1\t4000000000\n",
                        "<tr><td>1</td><td>SOT23</td><td>BC847</td><td>1</td><td>4000000000</td>"
                        "</tr>"}),
    [](const testing::TestParamInfo<ItemTextCase>& info) { return info.param.name; });

} // namespace
} // namespace kavelto
