#include "PlacementReader.h"
#include "TempFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace kavelto {
namespace {

ColumnMap MapFor(const std::string& ini) {
    TempFile file(ini);
    ColumnMap map;
    std::string message;
    EXPECT_EQ(LoadColumnMap(file.path(), map, message), 0) << message;
    return map;
}

const std::string kAllColumns = "0\n,\n1,2,3,4,5,6,7\n";

class PlacementReaderTest : public ::testing::Test {
protected:
    PlacementReadResult read(const std::string& content, const std::string& ini = kAllColumns) {
        TempFile file(content);
        return ReadPlacementFile(file.path(), MapFor(ini), *table);
    }
    const PartRecord& part(int i) const { return table->parts[static_cast<std::size_t>(i)]; }

    std::unique_ptr<PartTable> table = std::make_unique<PartTable>();
};

TEST_F(PlacementReaderTest, ConvertsEveryField) {
    const PlacementReadResult result = read("U3,T,10.5,20.25,LM358,SO8,90\n");
    ASSERT_EQ(result.error, nullptr);
    ASSERT_EQ(result.count, 1);
    EXPECT_STREQ(part(0).prefix, "U");
    EXPECT_EQ(part(0).partId, 3);
    EXPECT_EQ(part(0).layer, 'T');
    EXPECT_FLOAT_EQ(part(0).x, 10.5f);
    EXPECT_FLOAT_EQ(part(0).y, 20.25f);
    EXPECT_STREQ(part(0).value, "LM358");
    EXPECT_STREQ(part(0).package, "SO8");
    EXPECT_EQ(part(0).rotation, 90);
    EXPECT_EQ(part(0).placed, 0);
}

struct DesignatorCase {
    const char* designator;
    const char* prefix;
    std::uint16_t partId;
};

TEST_F(PlacementReaderTest, SplitsDesignators) {
    const DesignatorCase cases[] = {
        {"LED3", "LED", 3},      {"C 7", "C", 7}, {"TP2A", "TP", 2},
        {"ABCDEF1", "ABCDE", 0}, {" R5", "", 0},  {"R70000", "R", 4464},
        {"R012", "R", 12},       {"c1", "c", 1},  {"\"U7\"", "U", 7},
    };
    for (const DesignatorCase& c : cases) {
        const std::string line = std::string(c.designator) + ",T,1,2,V,P,0\n";
        ASSERT_EQ(read(line).count, 1) << c.designator;
        EXPECT_STREQ(part(0).prefix, c.prefix) << c.designator;
        EXPECT_EQ(part(0).partId, c.partId) << c.designator;
    }
}

TEST_F(PlacementReaderTest, NothingOfAnEarlierLoadSurvivesInARecord) {
    ASSERT_EQ(read("R9,T,5,6,V,P,45\n").count, 1);
    ASSERT_EQ(read("R,T,x,y,V,P,none\n").count, 1);
    EXPECT_EQ(part(0).partId, 0);
    EXPECT_EQ(part(0).x, 0.0f);
    EXPECT_EQ(part(0).y, 0.0f);
    EXPECT_EQ(part(0).rotation, 0);
}

TEST_F(PlacementReaderTest, QuotedFieldsKeepSeparatorsAndLoseQuotes) {
    ASSERT_EQ(read("R1,T,1,2,\"10k, 1%\",\"0805\",-90\n").count, 1);
    EXPECT_STREQ(part(0).value, "10k, 1%");
    EXPECT_STREQ(part(0).package, "0805");
    EXPECT_EQ(part(0).rotation, -90);
    ASSERT_EQ(read("R1,T,1,2,\"\",P,\"5\"").count, 1);
    EXPECT_STREQ(part(0).value, "");
    EXPECT_EQ(part(0).rotation, 5);
}

TEST_F(PlacementReaderTest, LongTextsAreCut) {
    const std::string value(60, 'v');
    const std::string package(25, 'p');
    ASSERT_EQ(read("R1,T,1,2," + value + "," + package + ",0\n").count, 1);
    EXPECT_EQ(std::string(part(0).value), value.substr(0, 50));
    EXPECT_EQ(std::string(part(0).package), package.substr(0, 20));
}

TEST_F(PlacementReaderTest, LineIsCutTo255Characters) {
    // The rotation field starts at character 250 and is cut after its fifth digit.
    const std::string head = "R1,T,1,2,V," + std::string(250 - 11 - 1, 'p') + ",";
    ASSERT_EQ(head.size(), 250u);
    ASSERT_EQ(read(head + "1234567890\n").count, 1);
    EXPECT_EQ(part(0).rotation, static_cast<std::int16_t>(12345));
}

TEST_F(PlacementReaderTest, EmptyFieldsKeepTheirColumns) {
    ASSERT_EQ(read("R1,T,1,2,,SO8,90\n").count, 1);
    EXPECT_STREQ(part(0).value, "");
    EXPECT_STREQ(part(0).package, "SO8");
    EXPECT_EQ(read(",T,1,2,V,P,0\n").count, 1);
}

TEST_F(PlacementReaderTest, BlankSeparatorTakesRunsOfBlanks) {
    const std::string ini = "1\n \n1,5,6,3,4,7,2\n";
    const PlacementReadResult result =
        read("# Ref Val Package PosX PosY Rot Side\n"
             "  C112    100nF  C_0805    -129.9210   -91.4400  180.0000  bottom  \n",
             ini);
    ASSERT_EQ(result.error, nullptr);
    ASSERT_EQ(result.count, 1);
    EXPECT_STREQ(part(0).value, "100nF");
    EXPECT_STREQ(part(0).package, "C_0805");
    EXPECT_FLOAT_EQ(part(0).y, -91.44f);
    EXPECT_EQ(part(0).layer, 'b');
}

TEST_F(PlacementReaderTest, SemicolonSeparatorStopsNumbersAtCommas) {
    ASSERT_EQ(read("R1;T;12,5;3;V;P;0\n", "0\n;\n1,2,3,4,5,6,7\n").count, 1);
    EXPECT_FLOAT_EQ(part(0).x, 12.0f);
}

TEST_F(PlacementReaderTest, LayerLetters) {
    ASSERT_EQ(read("R1,Bottom,1,2,V,P,0\nR2,top,1,2,V,P,0\nR3,1,1,2,V,P,0\nR4,,1,2,V,P,0\n").count,
              4);
    EXPECT_EQ(part(0).layer, 'B');
    EXPECT_EQ(part(1).layer, 't');
    EXPECT_EQ(part(2).layer, '1');
    EXPECT_EQ(part(3).layer, '\0');
}

struct BadFileCase {
    const char* name;
    std::string content;
    const char* message;
};

class PlacementReaderErrors : public PlacementReaderTest,
                              public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(PlacementReaderErrors, FailTheWholeLoad) {
    const PlacementReadResult result = read(GetParam().content);
    EXPECT_EQ(result.count, 0);
    ASSERT_NE(result.error, nullptr);
    EXPECT_STREQ(result.error, GetParam().message);
}

std::string ManyLines(int n, const std::string& badLine = "") {
    std::ostringstream out;
    for (int i = 0; i < n; ++i)
        out << "R" << i << ",T," << i << ".5,2,10k,0805,0\n";
    return out.str() + badLine;
}

const BadFileCase kBadFiles[] = {
    {"EmptyLine", "R1,T,1,2,V,P,0\n\nR2,T,1,2,V,P,0\n", "Not enough fields per line"},
    {"EmptyLastLine", "R1,T,1,2,V,P,0\n\n", "Not enough fields per line"},
    {"SixFields", "R1,T,1,2,V,P\n", "Not enough fields per line"},
    {"Unterminated", "R1,T,1,2,\"10k,P,0\n", "unterminated string in file"},
    {"FieldTooLong", std::string(300, 'R') + "\n", "Field too long"},
    {"ErrorOnHundredthLine", ManyLines(99, "R100,T\n"), "Not enough fields per line"},
    {"NulEndsTheLine", std::string("R1,T,1\0,2,V,P,0\n", 16), "Not enough fields per line"},
};

INSTANTIATE_TEST_SUITE_P(Files, PlacementReaderErrors, ::testing::ValuesIn(kBadFiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlacementReaderTest, NineFieldsReadSeven) {
    ASSERT_EQ(read("R1,T,1,2,V,P,0,extra,more\r\nR2,T,3,4,V,P,0").count, 2);
    EXPECT_EQ(part(1).partId, 2);
    EXPECT_FLOAT_EQ(part(1).y, 4.0f);
}

TEST_F(PlacementReaderTest, CapacityBoundsTheLoadSilently) {
    PlacementReadResult result = read(ManyLines(kMaxParts));
    EXPECT_EQ(result.count, kMaxParts);
    result = read(ManyLines(6000));
    EXPECT_EQ(result.error, nullptr);
    EXPECT_EQ(result.count, kMaxParts);
    EXPECT_EQ(part(kMaxParts - 1).partId, kMaxParts - 1);
}

TEST_F(PlacementReaderTest, FilesWithoutComponentLines) {
    const std::string ini = "3\n,\n1,2,3,4\n";
    EXPECT_EQ(read("", kAllColumns).count, 0);
    EXPECT_EQ(read("h1\nh2\n", ini).count, 0);
    EXPECT_EQ(read("h1\nh2\nh3\n", ini).error, nullptr);
    EXPECT_EQ(read("h1\nh2\nh3\nR1,T,1,2\n", ini).count, 1);
}

TEST_F(PlacementReaderTest, UnreadableInputsGiveTheirMessage) {
    const ColumnMap map = MapFor(kAllColumns);
    EXPECT_STREQ(ReadPlacementFile("/nonexistent/file.pkp", map, *table).error,
                 "Error opening part file");
    EXPECT_STREQ(ReadPlacementFile("/tmp", map, *table).error, "Error opening part file");
    const PlacementReadResult jpeg = ReadPlacementFile(DEMO_DIR "/coldfire-top.jpg", map, *table);
    EXPECT_EQ(jpeg.count, 0);
    EXPECT_NE(jpeg.error, nullptr);
}

TEST_F(PlacementReaderTest, AMegabyteLineIsCutNotRead) {
    const std::string huge = "R1,T,1,2,V,P,7" + std::string(1 << 20, '9') + "\nR2,T,1,2,V,P,0\n";
    const PlacementReadResult result = read(huge);
    EXPECT_EQ(result.error, nullptr);
    EXPECT_EQ(result.count, 2);
}

TEST(PlacementReaderRealFile, ReadsTheBoardExport) {
    ColumnMap map;
    std::string message;
    ASSERT_EQ(LoadColumnMap(DEMO_DIR "/Kavelto.ini", map, message), 0) << message;
    auto table = std::make_unique<PartTable>();
    const PlacementReadResult result = ReadPlacementFile(DEMO_DIR "/coldfire.csv", map, *table);
    ASSERT_EQ(result.error, nullptr);
    ASSERT_EQ(result.count, 160);

    // "C112","100nF","C_0805_2012Metric",-129.921000,-91.440000,180.000000,bottom
    const PartRecord& first = table->parts[0];
    EXPECT_STREQ(first.prefix, "C");
    EXPECT_EQ(first.partId, 112);
    EXPECT_STREQ(first.value, "100nF");
    EXPECT_STREQ(first.package, "C_0805_2012Metric");
    EXPECT_FLOAT_EQ(first.x, -129.921f);
    EXPECT_FLOAT_EQ(first.y, -91.44f);
    EXPECT_EQ(first.rotation, 180);
    EXPECT_EQ(first.layer, 'b');

    int bottom = 0;
    const PartRecord* crystal = nullptr;
    for (int i = 0; i < result.count; ++i) {
        const PartRecord& p = table->parts[static_cast<std::size_t>(i)];
        bottom += p.layer == 'b';
        if (std::string(p.prefix) == "Y" && p.partId == 101)
            crystal = &p;
    }
    EXPECT_EQ(bottom, 14);
    ASSERT_NE(crystal, nullptr);
    EXPECT_STREQ(crystal->package, "Crystal_HC18-U_Horiz");
    EXPECT_STREQ(crystal->value, "8MHz");
    EXPECT_EQ(crystal->layer, 't');
}

} // namespace
} // namespace kavelto
