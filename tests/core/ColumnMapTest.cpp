#include "ColumnMap.h"
#include "ColumnMapText.h"
#include "SpecialFiles.h"
#include "TempFile.h"

#include <gtest/gtest.h>

#include <optional>

namespace kavelto {
namespace {

struct IniCase {
    const char* name;
    std::string content;
    const char* message; // nullptr: accepted
};

class ColumnMapMessages : public ::testing::TestWithParam<IniCase> {};

TEST_P(ColumnMapMessages, GiveTheirMessageOrLoad) {
    const IniCase& c = GetParam();
    TempFile ini(c.content);
    ColumnMap map;
    std::string message;
    const int status = LoadColumnMap(ini.path(), map, message);
    if (c.message) {
        EXPECT_EQ(status, 1);
        EXPECT_EQ(message, c.message);
    } else {
        EXPECT_EQ(status, 0) << message;
    }
}

const IniCase kIniCases[] = {
    {"TwoLines", "0\n,\n", "Empty lines in 3 first lines of Kavelto.ini file"},
    {"EmptyFile", "", "Empty lines in 3 first lines of Kavelto.ini file"},
    {"EmptyMiddleLine", "0\n\n1,2,3,4\n", "Empty lines in 3 first lines of Kavelto.ini file"},
    {"HeaderTooLarge", "100\n,\n1,2,3,4\n", "Bad value for first line of Kavelto.ini file"},
    {"HeaderNegative", "-1\n,\n1,2,3,4\n", "Bad value for first line of Kavelto.ini file"},
    {"HeaderText", "abc\n,\n1,2,3,4\n", nullptr},
    {"BlanksAfterCommas", "0\n,\n1, 2, 3, 4\n", nullptr},
    {"BlankBeforeComma", "0\n,\n1 ,2,3,4\n", "Missing mandatory column id in Kavelto.ini file"},
    {"Semicolons", "0\n,\n1;2;3;4\n", "Missing mandatory column id in Kavelto.ini file"},
    {"ThreeCodes", "0\n,\n1,2,3\n", "Missing mandatory column id in Kavelto.ini file"},
    {"CodeTooLarge", "0\n,\n1,2,3,4,8\n", "Bad value in line 3 of Kavelto.ini file"},
    {"CodeNegative", "0\n,\n1,2,3,-4\n", "Bad value in line 3 of Kavelto.ini file"},
    {"Duplicate", "0\n,\n1,2,3,4,4\n", "Duplicated value in line 3 of Kavelto.ini file"},
    {"BadBeforeDuplicate", "0\n,\n1,1,9\n", "Bad value in line 3 of Kavelto.ini file"},
    {"DuplicateBeforeMissing", "0\n,\n1,1,2,3\n", "Duplicated value in line 3 of Kavelto.ini file"},
    {"EighthCodeNeverRead", "0\n,\n1,2,3,4,5,6,7,9\n", nullptr},
    {"CrLfLines", "1\r\n,\r\n1,5,6,3,4,7,2\r\n", nullptr},
    {"MegabyteLine", "0\n,\n" + std::string(1 << 20, '7') + "\n",
     "Bad value in line 3 of Kavelto.ini file"},
    {"LineCutAt4096Bytes", "0\n,\n1,2,3," + std::string(4090, ' ') + "4\n",
     "Missing mandatory column id in Kavelto.ini file"},
    {"LineJustShortOfTheCut", "0\n,\n1,2,3," + std::string(4089, ' ') + "4\n", nullptr},
    {"NoFinalLineEnd", "1\n,\n1,2,3,4", nullptr},
    {"TextAfterLineThree", "0\n,\n1,2,3,4\nwhatever\n\n", nullptr},
    {"BlankOnlyLineIsNotEmpty", " \n,\n1,2,3,4\n", nullptr},
    {"Auto", "0\n,\nauto\n", nullptr},
    {"AutoInCapitalsWithBlanks", "0\n,\n  AUTO \n", nullptr},
    {"AutoStillNeedsThreeLines", "0\n\nauto\n", "Empty lines in 3 first lines of Kavelto.ini file"},
    {"AutoWithABadHeaderCount", "100\n,\nauto\n", "Bad value for first line of Kavelto.ini file"},
    {"AWordLongerThanAuto", "0\n,\nautomatic\n", "Missing mandatory column id in Kavelto.ini file"},
    {"NulBytes",
     std::string("0\n,\n1,2,\0"
                 "3,4\n",
                 13),
     "Missing mandatory column id in Kavelto.ini file"},
};

INSTANTIATE_TEST_SUITE_P(Ini, ColumnMapMessages, ::testing::ValuesIn(kIniCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ColumnMap, ReadsHeaderSeparatorAndColumns) {
    const ColumnMap map = ColumnMapFromText("2 lines\n;x\n1,5,6,3,4,7,2\n");
    EXPECT_EQ(map.headerLines, 2);
    EXPECT_EQ(map.separator, ';');
    EXPECT_EQ(map.columnOfField[Designator], 0);
    EXPECT_EQ(map.columnOfField[Value], 1);
    EXPECT_EQ(map.columnOfField[Package], 2);
    EXPECT_EQ(map.columnOfField[X], 3);
    EXPECT_EQ(map.columnOfField[Y], 4);
    EXPECT_EQ(map.columnOfField[Rotation], 5);
    EXPECT_EQ(map.columnOfField[Layer], 6);
    EXPECT_EQ(map.fieldCount, 7);
}

TEST(ColumnMap, AutoReadsColumnsByNameAfterTheHeaderLines) {
    const ColumnMap classic = ColumnMapFromText("2\n,\n1,2,3,4\n");
    EXPECT_FALSE(classic.byName);
    // A byte order mark before line 1 does not hide its count.
    const ColumnMap map = ColumnMapFromText("\xEF\xBB\xBF"
                                            "12\n-\nAuto\n");
    EXPECT_TRUE(map.byName);
    EXPECT_EQ(map.headerLines, 12);
}

TEST(ColumnMap, TabSeparatorAndUnassignedCodes) {
    const ColumnMap map = ColumnMapFromText("0\n\tignored\n1,2,3,4\n");
    EXPECT_EQ(map.separator, '\t');
    EXPECT_EQ(map.fieldCount, 4);
    EXPECT_EQ(map.columnOfField[Value], kNoColumn);
    EXPECT_EQ(map.columnOfField[Package], kNoColumn);
    EXPECT_EQ(map.columnOfField[Rotation], kNoColumn);
}

TEST(ColumnMap, FieldCountReachesTheLastAssignedColumn) {
    EXPECT_EQ(ColumnMapFromText("0\n,\n1,0,2,3,4\n").fieldCount, 5);
    EXPECT_EQ(ColumnMapFromText("0\n,\n1,2,3,4,6\n").fieldCount, 5);
    EXPECT_EQ(ColumnMapFromText("0\n,\n0,0,1,2,3,4\n").fieldCount, 6);
}

TEST(ColumnMap, OnlyARegularFileIsFound) {
    // A pipe with no writer and an endless device are refused at once, not waited on or read.
    const TempFifo fifo;
    for (const std::string& path : {std::string("/nonexistent/Kavelto.ini"), std::string("/tmp"),
                                    fifo.path(), std::string("/dev/zero")}) {
        const std::optional<std::string> outcome = RunInChild([&] {
            ColumnMap map;
            std::string message;
            return std::to_string(LoadColumnMap(path, map, message)) + " " + message;
        });
        EXPECT_EQ(outcome, std::string("1 Can't find Kavelto.ini file")) << path;
    }
}

// A file that opens but fails to read (this process's memory reads as an I/O error at 0).
TEST(ColumnMap, UnreadableFilesAreRefusedWithAMessage) {
    ColumnMap map;
    std::string message;
    EXPECT_EQ(LoadColumnMap(DEMO_DIR "/coldfire-top.jpg", map, message), 1);
    EXPECT_FALSE(message.empty());
    EXPECT_EQ(LoadColumnMap("/proc/self/mem", map, message), 1);
    EXPECT_EQ(message, "Can't read 3 first lines of Kavelto.ini file");
}

} // namespace
} // namespace kavelto
