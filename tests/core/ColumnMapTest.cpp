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

// Layouts read right, and a refused file with its message.
TEST(ColumnMap, LoadsOrGivesItsMessage) {
    const struct {
        const char* name;
        std::string content;
        std::string outcome; // the map, or status and message
    } cases[] = {
        {"every field, CR LF lines", "2 lines\r\n;x\r\n1,5,6,3,4,7,2\r\n", "2|;|0 6 3 4 1 2 5|7"},
        {"tab, code 0, unassigned", "99\n\tignored\n1,0,2,3,4\n", "99|\t|0 2 3 4 -1 -1 -1|5"},
        {"auto in capitals, BOM", "\357\273\27712\n-\n  AUTO \n", "12|auto"},
        {"three codes", "0\n,\n1,2,3\n", "1 Missing mandatory column id in Kavelto.ini file"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Outcome(TempFile(c.content).path()), c.outcome) << c.name;
}

// A pipe with no writer and an endless device are refused at once, not waited on or read; a
// file that opens but fails to read (this process's memory reads as an I/O error at 0) says so.
TEST(ColumnMap, OnlyARegularReadableFileLoads) {
    const TempFifo fifo;
    for (const std::string& path :
         {std::string("/nonexistent/Kavelto.ini"), fifo.path(), std::string("/dev/zero")})
        EXPECT_EQ(RunInChild([&] { return Outcome(path); }), "1 Can't find Kavelto.ini file")
            << path;
    EXPECT_EQ(Outcome("/proc/self/mem"), "1 Can't read 3 first lines of Kavelto.ini file");
}

} // namespace
} // namespace kavelto
