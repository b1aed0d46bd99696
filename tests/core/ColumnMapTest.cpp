#include "ColumnMap.h"
#include "ChildRuns.h"
#include "TempFile.h"

#include <gtest/gtest.h>

namespace kavelto {
namespace {

// A loaded map as "header lines|separator|columns of d l x y v p r|field count", or
// "header lines|auto".
std::string Describe(const ColumnMap& map) {
    std::string text = std::to_string(map.headerLines) + '|';
    if (map.byName)
        return text + "auto";
    text += map.separator;
    for (const FieldCode field : {Designator, Layer, X, Y, Value, Package, Rotation})
        text += (field == Designator ? "|" : " ") + std::to_string(map.columnOfField[field]);
    return text + '|' + std::to_string(map.fieldCount);
}

std::string Outcome(const std::string& path) {
    ColumnMap map;
    std::string message;
    const int status = LoadColumnMap(path, map, message);
    return status == 0 ? Describe(map) : std::to_string(status) + " " + message;
}

const std::string kEmpty = "1 Empty lines in 3 first lines of Kavelto.ini file";
const std::string kHeader = "1 Bad value for first line of Kavelto.ini file";
const std::string kMissing = "1 Missing mandatory column id in Kavelto.ini file";
const std::string kBad = "1 Bad value in line 3 of Kavelto.ini file";
const std::string kDuplicate = "1 Duplicated value in line 3 of Kavelto.ini file";
const std::string kFourColumns = "0|,|0 1 2 3 -1 -1 -1|4";

// The checks run in this order: three lines, the header count, auto, then line 3's codes for a
// bad value, a duplicate, a missing mandatory field.
TEST(ColumnMap, LoadsOrGivesItsMessage) {
    const struct {
        const char* name;
        std::string content;
        std::string outcome; // the map, or status and message
    } cases[] = {
        {"every field", "2 lines\n;x\n1,5,6,3,4,7,2\n", "2|;|0 6 3 4 1 2 5|7"},
        {"tab, unassigned codes", "99\n\tignored\n1,2,3,4\n", "99|\t|0 1 2 3 -1 -1 -1|4"},
        {"an ignored column", "0\n,\n1,0,2,3,4\n", "0|,|0 2 3 4 -1 -1 -1|5"},
        {"blanks after commas", "0\n,\n1, 2, 3, 4\n", kFourColumns},
        {"eighth code never read", "0\n,\n1,2,3,4,5,6,7,9\n", "0|,|0 1 2 3 4 5 6|7"},
        {"CR LF lines", "1\r\n,\r\n1,5,6,3,4,7,2\r\n", "1|,|0 6 3 4 1 2 5|7"},
        {"no final line end", "0\n,\n1,2,3,4", kFourColumns},
        {"blank-only line is not empty", " \n,\n1,2,3,4\n", kFourColumns},
        {"just short of the cut", "0\n,\n1,2,3," + std::string(4089, ' ') + "4\n", kFourColumns},
        {"auto in capitals, BOM", "\357\273\27712\n-\n  AUTO \n", "12|auto"},
        {"two lines", "0\n,\n", kEmpty},
        {"an empty line before auto", "0\n\nauto\n", kEmpty},
        {"header too large", "100\n,\nauto\n", kHeader},
        {"a word longer than auto", "0\n,\nautomatic\n", kMissing},
        {"blank before comma", "0\n,\n1 ,2,3,4\n", kMissing},
        {"three codes", "0\n,\n1,2,3\n", kMissing},
        {"NUL bytes", std::string("0\n,\n1,2,\0003,4\n", 13), kMissing},
        {"line cut at 4096 bytes", "0\n,\n1,2,3," + std::string(4090, ' ') + "4\n", kMissing},
        {"code too large", "0\n,\n1,2,3,4,8\n", kBad},
        {"duplicate", "0\n,\n1,2,3,4,4\n", kDuplicate},
        {"bad before duplicate", "0\n,\n1,1,9\n", kBad},
        {"duplicate before missing", "0\n,\n1,1,2,3\n", kDuplicate},
    };
    for (const auto& c : cases) {
        const TempFile ini(c.content);
        EXPECT_EQ(Outcome(ini.path()), c.outcome) << c.name;
    }
}

// A pipe with no writer and an endless device are refused at once, not waited on or read; a
// file that opens but fails to read (this process's memory reads as an I/O error at 0) says so.
TEST(ColumnMap, OnlyARegularReadableFileLoads) {
    const TempFifo fifo;
    for (const std::string& path : {std::string("/nonexistent/Kavelto.ini"), std::string("/tmp"),
                                    fifo.path(), std::string("/dev/zero")})
        EXPECT_EQ(RunInChild([&] { return Outcome(path); }), "1 Can't find Kavelto.ini file")
            << path;
    EXPECT_EQ(Outcome("/proc/self/mem"), "1 Can't read 3 first lines of Kavelto.ini file");
    EXPECT_EQ(Outcome(DEMO_DIR "/coldfire-top.jpg").substr(0, 2), "1 ");
}

} // namespace
} // namespace kavelto
