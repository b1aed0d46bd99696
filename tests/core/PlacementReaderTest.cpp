#include "placement/PlacementReader.h"
#include "ChildRuns.h"
#include "ColumnMapText.h"
#include "TempFile.h"
#include "Utf16Bytes.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

namespace kavelto {
namespace {

const std::string kClassic = "0\n,\n1,2,3,4,5,6,7\n";

// A record as one text, so that a whole line's conversion compares at once: designator,
// prefix, partId, layer, x, y, value, package, rotation, placed.
std::string Describe(const PartRecord& p) {
    std::ostringstream out;
    out << p.designator << '|' << p.prefix << '|' << p.partId << '|'
        << (p.layer ? std::string(1, p.layer) : "") << '|' << p.x << '|' << p.y << '|' << p.value
        << '|' << p.package << '|' << p.rotation << '|' << int(p.placed);
    return out.str();
}

// The count of parts read, or the message of the error.
std::string Outcome(const PlacementReadResult& result) {
    return result.error ? result.error.message() : std::to_string(result.count) + " read";
}

class PlacementReaderTest : public ::testing::Test {
protected:
    // The outcome of reading a file of the given content.
    std::string read(const std::string& content, const std::string& ini = kClassic) {
        TempFile file(content);
        const PlacementReadResult result =
            ReadPlacementFile(file.path(), ColumnMapFromText(ini), *table);
        EXPECT_TRUE(!result.error || result.count == 0) << "parts counted despite an error";
        return Outcome(result);
    }

    const std::unique_ptr<PartTable> table = std::make_unique<PartTable>();
};

// Each line is read over a record full of other values, none of which may survive. The character
// after a closing quote stands for the separator. UTF-16 in the other byte order: the EasyEDA
// sample of PlacementFormatsTest, where the sample files of each design tool read by their names
// too, in any order and column.
TEST_F(PlacementReaderTest, ConvertsEachLineByItsColumnsOrTheirNames) {
    const struct {
        const char* name;
        std::string line; // with its line end
        std::string record;
        std::string ini = kClassic;
    } cases[] = {
        {"whole designator", "UART_EN201,T,10.5,20.25,LM358,SO8,90\r\n",
         "UART_EN201|UART|0|T|10.5|20.25|LM358|SO8|90|0"},
        {"quotes", "\"U7\"xT,1,2,\"10k, 1%\",\"\",\"5\"\r\n", "U7|U|7|T|1|2|10k, 1%||5|0"},
        {"tabs, decimal comma", "R1\t1\t-0,5\t3\tV\tP\t0\r\n", "R1|R|1|1|-0.5|3|V|P|0|0",
         "0\n\t\n1,2,3,4,5,6,7\n"},
        {"UTF-16 behind its mark, beyond 16 bits",
         Utf16Bytes(u"\uFEFFR\U0001F50C2,T,1,2,V,P,0\r\n", true),
         "R\360\237\224\2142|R|0|T|1|2|V|P|0|0"},
        {"UTF-8 mark, Y beyond the 255th byte, a text kept to 255 bytes",
         "\357\273\277Designator,Comment,Footprint,Center-X(mm),Center-Y(mm)\nR1," +
             std::string(300, 'c') + ",F,1,2\r\n",
         "R1|R|1||1|2|" + std::string(255, 'c') + "|F|0|0", "0\n,\nauto\n"},
        {"a line end across the reader's 64 KiB buffer: the CR is no field's",
         std::string(65519, 'h') + "\nR1,T,1,2,V,0,PP\r\n", "R1|R|1|T|1|2|V|PP|0|0",
         "1\n,\n1,2,3,4,5,7,6\n"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(read("R9,T,5,6,V9,P9,45\n"), "1 read");
        EXPECT_EQ(read(c.line, c.ini), "1 read") << c.name;
        EXPECT_EQ(Describe(table->parts[0]), c.record) << c.name;
    }
}

// Blank lines and, after the header lines, lines that start with '#' carry no part; the first
// malformed line fails the whole load.
TEST_F(PlacementReaderTest, ReadsWholeFilesOrSaysWhyNot) {
    EXPECT_EQ(read("R1,T,1,2,V,P,7" + std::string(1 << 20, '9') + // a megabyte line, cut
                   "\n\n \t\r\n# note\nR2,T,3,4,V,P,0\n## End\n"),
              "2 read");
    EXPECT_EQ(read("R1,T,1,2,\"10k,P,0\n"), "unterminated string in file");
    EXPECT_EQ(read(std::string(300, 'R') + "\n"), "Field too long");
    EXPECT_EQ(read("h\nRef,X,Y\nR1,1,2\n\nR2,,3\n", "1\n,\nauto\n"),
              "No number for X or Y in line 5 of part file");
}

TEST_F(PlacementReaderTest, UnreadableInputsGiveTheirMessage) {
    const ColumnMap map = ColumnMapFromText(kClassic);
    // A pipe with no writer and an endless device are refused at once, not waited on or read.
    const TempFifo fifo;
    for (const std::string& path : {std::string("/nonexistent/file.pkp"), std::string("/tmp"),
                                    fifo.path(), std::string("/dev/zero")})
        EXPECT_EQ(RunInChild([&] { return Outcome(ReadPlacementFile(path, map, *table)); }),
                  "Error opening part file")
            << path;
    // Opens, then fails to read: this process's memory reads as an I/O error at 0.
    EXPECT_EQ(Outcome(ReadPlacementFile("/proc/self/mem", map, *table)), "Error reading part file");
}

} // namespace
} // namespace kavelto
