#include "placement/ColumnMap.h"
#include "ChildRuns.h"
#include "TempFile.h"

#include <gtest/gtest.h>

namespace kavelto {
namespace {

// A loaded map as "header lines|separator|columns of d l x y v p r|field count", or
// "header lines|auto"; a refused file as its caption and message.
std::string Outcome(const std::string& path) {
    const Result<ColumnMap> read = ReadColumnMap(path);
    if (!read)
        return read.failure().caption + ": " + read.failure().text;
    const ColumnMap& map = read.value();
    std::string text = std::to_string(map.headerLines) + '|';
    if (map.byName)
        return text + "auto";
    text += map.separator;
    for (const FieldCode field : kRecordFields)
        text +=
            (field == FieldCode::Designator ? "|" : " ") + std::to_string(map.columnOfField[field]);
    return text + '|' + std::to_string(map.fieldCount);
}

// Layouts read right, and a refused file with its message.
TEST(ColumnMap, LoadsOrGivesItsMessage) {
    const struct {
        const char* name;
        std::string content;
        std::string outcome; // the map, or status and message
    } cases[] = {
        {"CR LF lines, code 0, no rotation", "2 lines\r\n;x\r\n1,5,0,3,4,2,6\r\n",
         "2|;|0 5 3 4 1 6 -1|7"},
        {"auto in capitals, BOM", "\357\273\27712\n-\n  AUTO \n", "12|auto"},
        {"three codes", "0\n,\n1,2,3\n", "Error: Missing mandatory column id in Kavelto.ini file"},
        {"an empty line", "0\n\n1,2,3,4\n",
         "Error: Empty lines in 3 first lines of Kavelto.ini file"},
        {"an empty first line", "\n,\n1,2,3,4\n",
         "Error: Empty lines in 3 first lines of Kavelto.ini file"},
        {"99 header lines", "99\n,\n1,2,3,4\n", "99|,|0 1 2 3 -1 -1 -1|4"},
        {"100 header lines", "100\n,\n1,2,3,4\n",
         "Error: Bad value for first line of Kavelto.ini file"},
        {"-1 header lines", "-1\n,\n1,2,3,4\n",
         "Error: Bad value for first line of Kavelto.ini file"},
        {"code -1", "0\n,\n1,2,3,4,-1\n", "Error: Bad value in line 3 of Kavelto.ini file"},
        {"code 8", "0\n,\n1,2,3,4,8\n", "Error: Bad value in line 3 of Kavelto.ini file"},
        {"X twice", "0\n,\n1,2,3,4,3\n", "Error: Duplicated value in line 3 of Kavelto.ini file"},
        {"a line read to its 4096th character: the fourth code lies past it",
         "0\n,\n1,2,3," + std::string(4090, ' ') + "4\n",
         "Error: Missing mandatory column id in Kavelto.ini file"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Outcome(TempFile(c.content).path()), c.outcome) << c.name;
}

// A pipe with no writer and an endless device are refused at once as a missing file is
// (AppStartTest), not waited on or read; a file that opens but fails to read (this process's
// memory reads as an I/O error at 0) says so.
TEST(ColumnMap, OnlyARegularReadableFileLoads) {
    const TempFifo fifo;
    for (const std::string& path : {fifo.path(), std::string("/dev/zero")})
        EXPECT_EQ(RunInChild([&] { return Outcome(path); }), "Error: Can't find Kavelto.ini file")
            << path;
    EXPECT_EQ(Outcome("/proc/self/mem"), "Error: Can't read 3 first lines of Kavelto.ini file");
}

} // namespace
} // namespace kavelto
