#include "ColumnMapText.h"
#include "TempFile.h"
#include "bom/BomColumnNames.h"
#include "bom/BomJoin.h"
#include "bom/BomReader.h"
#include "bom/DesignatorList.h"
#include "placement/PlacementReader.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace kavelto {
namespace {

std::string Joined(const std::vector<std::string>& texts, const char* between = " ") {
    std::string joined;
    for (const std::string& text : texts)
        joined += (joined.empty() ? "" : between) + text;
    return joined;
}

PartTable Board() {
    Result<PlacementParts> read =
        ReadPlacementFile(TEST_DATA_DIR "/boms/board.csv", ColumnMapFromText("0\n-\nauto\n"));
    EXPECT_TRUE(read.ok());
    return read ? std::move(read).value().table : PartTable();
}

int IndexOf(const PartTable& table, const std::string& designator) {
    for (int i = 0; i < table.partCount(); ++i)
        if (table.part(i).designator == designator)
            return i;
    return -1;
}

const BomLine* LineOf(const BomTable& bom, const BomJoin& join, int part) {
    const int line = part < 0 ? kNoBomLine : join.lineOfPart[static_cast<std::size_t>(part)];
    return line == kNoBomLine ? nullptr : &bom.lines[static_cast<std::size_t>(line)];
}

// "value|footprint|manufacturer|mpn|supplier|description" of a part's line, "-" without one.
std::string Describe(const BomLine* line) {
    if (!line)
        return "-";
    return line->value + '|' + line->footprint + '|' + line->manufacturer + '|' + line->mpn + '|' +
           line->supplier + '|' + line->description;
}

// The board's parts whose BOM line marks them not fitted, in table order.
std::string NotFitted(const PartTable& table, const BomTable& bom, const BomJoin& join) {
    std::vector<std::string> designators;
    for (int i = 0; i < table.partCount(); ++i)
        if (const BomLine* line = LineOf(bom, join, i); line && line->notFitted)
            designators.push_back(table.part(i).designator);
    return Joined(designators);
}

// A BOM of each tool's shape joined to board.csv: D1's line, R4's value (R4 stands in a group or a
// range), the parts not fitted, and the designators of only one file. Written from the files.
struct Sample {
    const char* file;
    std::string d1;
    std::string r4Value;
    std::string notFitted;
    std::string onlyInPlacement;
};

const Sample kSamples[] = {
    {"kicad.csv", "LED red|LED_SMD:LED_0603_1608Metric||19-217/R6C-AL1M2VY/3T|C84256|", "10k",
     "C4 R6", ""},
    {"kicad-plugin.csv", "LED red|LED_SMD:LED_0603_1608Metric|Everlight|19-217/R6C-AL1M2VY/3T||",
     "10k", "R6", ""},
    {"kibom.csv",
     "LED red|LED_0603_1608Metric|Everlight|19-217/R6C-AL1M2VY/3T||Light emitting diode, red",
     "10k", "", "R6"},
    {"altium.csv",
     "LED red|LEDC1608X80N|Everlight|19-217/R6C-AL1M2VY/3T|1080-1416-1-ND|LED, red, 0603", "10k",
     "R6", ""},
    {"jlcpcb.csv", "LED red|0603|||C84256|", "10k", "R6", ""},
    {"easyeda.csv", "LED red|LED0603_RED|Everlight Elec|19-217/R6C-AL1M2VY/3T|C84256|",
     "10k\xCE\xA9", "", "R6"},
    {"eagle.csv", "LED red|CHIPLED_0603|Everlight|19-217/R6C-AL1M2VY/3T||LED", "10k", "R6", ""},
    {"eagle-parts.csv", "LED red|CHIPLED_0603||19-217/R6C-AL1M2VY/3T||LED", "10k", "R6", ""},
    {"librepcb.csv", "LED red|LED-0603|Everlight|19-217/R6C-AL1M2VY/3T||", "10k", "", "R6"},
    {"horizon.csv", "LED red|LED-0603|Everlight|19-217/R6C-AL1M2VY/3T||LED, red", "10k", "R6", ""},
};

TEST(Bom, EachToolsShapeJoinsTheBoard) {
    const PartTable board = Board();
    ASSERT_EQ(board.partCount(), 12);
    for (const Sample& sample : kSamples) {
        SCOPED_TRACE(sample.file);
        const Result<BomTable> bom = ReadBomFile(std::string(TEST_DATA_DIR "/boms/") + sample.file);
        ASSERT_TRUE(bom) << bom.failure().text;
        const BomTable& lines = bom.value();
        const BomJoin join = JoinBom(lines, board);
        const BomLine* r4 = LineOf(lines, join, IndexOf(board, "R4"));
        EXPECT_EQ(std::make_tuple(Describe(LineOf(lines, join, IndexOf(board, "D1"))),
                                  r4 ? r4->value : "-", NotFitted(board, lines, join),
                                  Joined(join.mismatches.onlyInPlacement),
                                  Joined(join.mismatches.onlyInBom),
                                  Joined(join.mismatches.quantityMismatches)),
                  std::make_tuple(sample.d1, sample.r4Value, sample.notFitted,
                                  sample.onlyInPlacement, "", ""));
    }
}

TEST(Bom, DesignatorCellsAsToolsGroupThem) {
    const std::pair<const char*, const char*> rows[] = {
        {"R1, R2, R5", "R1 R2 R5"},
        {"R1 R2", "R1 R2"},
        {"R1,R2;R3\tR4", "R1 R2 R3 R4"},
        {"R1-R4", "R1 R2 R3 R4"},
        {"R1\xE2\x80\x93R3", "R1 R2 R3"},
        {"C103-C105,C109", "C103 C104 C105 C109"},
        {"LED1-3", "LED1 LED2 LED3"},
        {"U1-A", "U1-A"},       // a designator with a hyphen
        {"R4-R1", "R4-R1"},     // backwards: no range
        {"R1-C4", "R1-C4"},     // two prefixes: no range
        {"R01-R03", "R01-R03"}, // leading zeros would not come back
        {"R999998-R999999", "R999998 R999999"},
        {"R1000000-R1000001", "R1000000-R1000001"}, // numbers of six digits at most
        {"-R3", "-R3"},
        {"", ""},
        {" , ", ""},
    };
    for (const auto& [cell, expected] : rows)
        EXPECT_EQ(Joined(SplitDesignators(cell)), expected) << cell;
    // A range holds 5000 designators at most, as many as a placement file.
    EXPECT_EQ(SplitDesignators("R1-R5000").size(), 5000u);
    EXPECT_EQ(Joined(SplitDesignators("R1-R5001")), "R1-R5001");
}

TEST(Bom, NotFittedMarks) {
    const std::tuple<BomField, const char*, bool> marks[] = {
        {BomField::NotFittedMark, "DNP", true},
        {BomField::NotFittedMark, "Excluded from BOM", true},
        {BomField::NotFittedMark, "x", true},
        {BomField::NotFittedMark, "Yes", true},
        {BomField::NotFittedMark, "", false},
        {BomField::NotFittedMark, " ", false},
        {BomField::NotFittedMark, "No", false},
        {BomField::NotFittedMark, "0", false},
        {BomField::NotFittedMark, "false", false},
        {BomField::FittedMark, "Not Fitted", true},
        {BomField::FittedMark, "no", true},
        {BomField::FittedMark, "N", true},
        {BomField::FittedMark, "0", true},
        {BomField::FittedMark, "DNP", true},
        {BomField::FittedMark, "Fitted", false},
        {BomField::FittedMark, "yes", false},
        {BomField::FittedMark, "1", false},
        {BomField::FittedMark, "", false},
        {BomField::Value, "DNP", false}, // only the mark columns mark
    };
    for (const auto& [field, cell, notFitted] : marks)
        EXPECT_EQ(MarksNotFitted(field, cell), notFitted) << static_cast<int>(field) << cell;
    const std::pair<const char*, bool> values[] = {
        {"DNP", true},          {"dnf", true},        {"NF", true},
        {"NC", true},           {"do not fit", true}, {"Do Not Populate", true},
        {"Do not place", true}, {"10k", false},       {"", false},
        {"NC7SZ04", false},     {"DNP 10k", false},
    };
    for (const auto& [value, notFitted] : values)
        EXPECT_EQ(ValueMeansNotFitted(value), notFitted) << value;
}

// The names of each field, as the tools spell them; one row a name.
TEST(Bom, ColumnNames) {
    const std::pair<const char*, BomField> rows[] = {
        {"Reference(s)", BomField::Designators},
        {"References", BomField::Designators},
        {"Refs", BomField::Designators},
        {"RefDes", BomField::Designators},
        {"designator", BomField::Designators},
        {"Parts", BomField::Designators},
        {"Qty", BomField::Quantity},
        {"Quantity Per PCB", BomField::Quantity},
        {"Comment", BomField::Value},
        {"Manufacturer 1", BomField::Manufacturer},
        {"MFR#", BomField::Mpn},
        {"Manufacturer Part Number", BomField::Mpn},
        {"Part Number", BomField::Mpn},
        {"LCSC Part #", BomField::Supplier},
        {"JLCPCB Part #", BomField::Supplier},
        {"DigiKey_PN", BomField::Supplier},
        {"Mouser", BomField::Supplier},
        {"Do Not Place", BomField::NotFittedMark},
        {"Exclude from BOM", BomField::NotFittedMark},
        {"Populate", BomField::FittedMark},
        {"Supplier", BomField::Ignored},
    };
    for (const auto& [name, field] : rows) {
        const BomColumnName* found = FindBomColumnName(name);
        EXPECT_EQ(found ? found->field : BomField::Ignored, field) << name;
    }
}

BomJoin JoinText(const std::string& bomText, const std::string& placementText) {
    const Result<BomTable> bom = ReadBomFile(TempFile(bomText).path());
    EXPECT_TRUE(bom);
    Result<PlacementParts> parts =
        ReadPlacementFile(TempFile(placementText).path(), ColumnMapFromText("0\n-\nauto\n"));
    EXPECT_TRUE(parts);
    return JoinBom(bom ? bom.value() : BomTable(), parts ? parts->table : PartTable());
}

TEST(Bom, JoinRules) {
    const std::string placement = "Ref,X,Y\nR1,1,1\nR2,2,2\nR2,3,3\nC1,4,4\n";
    const struct {
        const char* name;
        std::string bom;
        std::string lines; // the line of each part, by table position
        std::string onlyBom, onlyPlacement, quantities;
    } rows[] = {
        {"all agree", "Ref,Qty\n\"R1,R2\",2\nC1,1\n", "0 0 0 1", "", "", ""},
        {"case matters", "Ref\nr1\nR2\nC1\n", "-1 1 1 2", "r1", "R1", ""},
        {"quantity off", "Ref,Qty\n\"R1,R2\",3\nC1,1\n", "0 0 0 1", "", "",
         "line 2 (quantity 3, 2 designators)"},
        {"not fitted at 0", "Ref,Qty,DNP\n\"R1,R2\",0,DNP\nC1,x,\n", "0 0 0 1", "", "", ""},
        {"fitted at 0", "Ref,Qty\n\"R1,R2\",0\nC1,1\n", "0 0 0 1", "", "",
         "line 2 (quantity 0, 2 designators)"},
        {"first line wins", "Ref\nR1\nR1\nC1\nR2\n", "0 3 3 2", "", "", ""},
        {"blank and total lines", "Ref,Qty\nR1,1\n\n,4\nR2,1\nC1,1\n", "0 1 1 2", "", "", ""},
        {"one file only", "Ref\nR1\nR9\n", "0 -1 -1 -1", "R9", "R2 R2 C1", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const BomJoin join = JoinText(row.bom, placement);
        std::vector<std::string> lines;
        for (const int line : join.lineOfPart)
            lines.push_back(std::to_string(line));
        EXPECT_EQ(std::make_tuple(Joined(lines), Joined(join.mismatches.onlyInBom),
                                  Joined(join.mismatches.onlyInPlacement),
                                  Joined(join.mismatches.quantityMismatches)),
                  std::make_tuple(row.lines, row.onlyBom, row.onlyPlacement, row.quantities));
    }
}

TEST(Bom, MismatchMessage) {
    BomMismatches both{{"R7", "R8"}, {"TP1"}, {}};
    EXPECT_EQ(BomMismatchMessage(both).text, "In the BOM but not in the placement file: R7, R8; in "
                                             "the placement file but not in the BOM: TP1.");
    BomMismatches quantity{{}, {}, {"line 4 (quantity 3, 2 designators)"}};
    EXPECT_EQ(BomMismatchMessage(quantity).text,
              "Quantity not the number of designators: line 4 (quantity 3, 2 designators).");
    BomMismatches one{{}, {"TP1"}, {"line 4 (quantity 3, 2 designators)"}};
    EXPECT_EQ(BomMismatchMessage(one).text,
              "In the BOM but not in the placement file: none; in the placement file but not in "
              "the BOM: TP1.\n\nQuantity not the number of designators: line 4 (quantity 3, 2 "
              "designators).");
    BomMismatches many;
    for (int i = 1; i <= 42; ++i)
        many.onlyInBom.push_back("R" + std::to_string(i));
    const std::string text = BomMismatchMessage(many).text;
    EXPECT_NE(text.find("R40 and 2 more;"), std::string::npos) << text;
    EXPECT_EQ(BomMismatchMessage(both).caption, "BOM");
}

// Each refusal with its message, and the name row's last line of search.
TEST(Bom, Refusals) {
    const std::string noNames = "No column of designators (Reference, Designator, RefDes, "
                                "Parts...) in the first 40 lines of BOM file";
    const struct {
        const char* name;
        std::string text;
        std::string message; // empty when read
    } rows[] = {
        {"no designator column", "Value,Qty\n10k,1\n", noNames},
        {"columns apart by blanks alone", "Ref Value\nR1 10k\n", noNames},
        {"an unended quote", "Ref,Value\nR1,\"10k\nR2,1k\n",
         "Unterminated string in line 2 of BOM file"},
        {"the name row on line 40", std::string(39, '\n') + "Ref,Value\nR1,10k\n", ""},
        {"the name row on line 41", std::string(40, '\n') + "Ref,Value\nR1,10k\n", noNames},
    };
    for (const auto& row : rows) {
        const Result<BomTable> read = ReadBomFile(TempFile(row.text).path());
        EXPECT_EQ(read ? "" : read.failure().text, row.message) << row.name;
    }
    EXPECT_EQ(ReadBomFile("/nonexistent/bom.csv").failure().text, "Error opening BOM file");
}

// A part's supplier numbers of several columns are listed together, the empty ones left out.
TEST(Bom, JoinsTheSupplierNumbersOfEachColumn) {
    const Result<BomTable> bom = ReadBomFile(TempFile("Ref,Value,LCSC Part #,Mouser\n"
                                                      "R1,10k,C25804,\nR2,1k,C21190,71-CRCW\n"
                                                      "R3,1k,,71-X\n")
                                                 .path());
    ASSERT_TRUE(bom);
    std::vector<std::string> suppliers;
    for (const BomLine& line : bom->lines)
        suppliers.push_back(line.supplier);
    EXPECT_EQ(suppliers, (std::vector<std::string>{"C25804", "C21190, 71-CRCW", "71-X"}));
}

// A placement file's own not-fitted column marks; its values do not.
TEST(Bom, PlacementFileMarks) {
    const TempFile placement("Designator,Value,Mid X,Mid Y,DNP\nR1,NC,1,1,\nR2,10k,2,2,DNP\n"
                             "R3,10k,3,3,no\n");
    const Result<BomTable> marks = ReadBomFile(placement.path(), NotFittedMarks::ColumnsOnly);
    ASSERT_TRUE(marks);
    std::vector<std::string> notFitted;
    for (const BomLine& line : marks->lines)
        if (line.notFitted)
            notFitted.push_back(Joined(line.designators));
    EXPECT_EQ(Joined(notFitted), "R2");
    // Without a mark column there is nothing to read past the name row.
    const TempFile plain("Designator,Value,Mid X,Mid Y\nR1,DNP,1,1\n");
    EXPECT_TRUE(ReadBomFile(plain.path(), NotFittedMarks::ColumnsOnly)->lines.empty());
    EXPECT_EQ(ReadBomFile(plain.path())->lines.size(), 1u);
}

} // namespace
} // namespace kavelto
