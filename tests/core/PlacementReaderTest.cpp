#include "PlacementReader.h"
#include "ChildRuns.h"
#include "ColumnMapText.h"
#include "TempFile.h"
#include "Utf16Bytes.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace kavelto {
namespace {

const std::string kClassic = "0\n,\n1,2,3,4,5,6,7\n";
const std::string kByName = "0\n,\nauto\n";

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

struct LineCase {
    const char* name;
    std::string line;
    std::string record;   // of the only part
    std::string ini = ""; // when not the test's
};

const std::vector<LineCase> kLines = {
    {"every field", "U3,T,10.5,20.25,LM358,SO8,90", "U3|U|3|T|10.5|20.25|LM358|SO8|90|0"},
    {"whole designator", "UART_EN201,T,1,2,V,P,0", "UART_EN201|UART|0|T|1|2|V|P|0|0"},
    {"quoted fields", "\"U7\",T,1,2,\"10k, 1%\",\"\",\"5\"", "U7|U|7|T|1|2|10k, 1%||5|0"},
    {"after a closing quote", "\"U7\"xT,1,2,V,P,0", "U7|U|7|T|1|2|V|P|0|0"},
    {"tabs, decimal comma", "R1\t1\t-0,5\t3\tV\tP\t0", "R1|R|1|1|-0.5|3|V|P|0|0",
     "0\n\t\n1,2,3,4,5,6,7\n"},
    {"blanks lined up", "  C112    100nF  C_0805    -129.9210   -91.4400  180.0000  bottom  ",
     "C112|C|112|b|-129.921|-91.44|100nF|C_0805|180|0", "0\n \n1,5,6,3,4,7,2\n"},
};

const std::vector<LineCase> kNamedFiles = {
    {"a byte order mark before the names", "\xEF\xBB\xBFRef,X,Y\nR1,1,2", "R1|R|1||1|2|||0|0"},
    {"Y beyond the 255th byte, texts kept to 255 bytes",
     "Designator,Comment,Footprint,Center-X(mm),Center-Y(mm)\nR1," + std::string(300, 'c') + "," +
         std::string(300, 'f') + ",1,2",
     "R1|R|1||1|2|" + std::string(255, 'c') + "|" + std::string(255, 'f') + "|0|0"},
};

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
    // Each line is read over a record full of other values, none of which may survive.
    void expectEach(const std::string& ini, const std::vector<LineCase>& cases) {
        for (const LineCase& c : cases) {
            ASSERT_EQ(read("R9,T,5,6,V9,P9,45\n"), "1 read");
            EXPECT_EQ(read(c.line + "\r\n", c.ini.empty() ? ini : c.ini), "1 read") << c.name;
            EXPECT_EQ(Describe(table->parts[0]), c.record) << c.name;
        }
    }

    const std::unique_ptr<PartTable> table = std::make_unique<PartTable>();
};

// The character after a closing quote stands for the separator. The sample files of each design
// tool read by their names too, in any order and column (PlacementFormatsTest).
TEST_F(PlacementReaderTest, ConvertsEachLineByItsColumnsOrTheirNames) {
    expectEach(kClassic, kLines);
    expectEach(kByName, kNamedFiles);
}

// Blank lines and, after the header lines, lines that start with '#' carry no part; the first
// malformed line fails the whole load.
TEST_F(PlacementReaderTest, ReadsWholeFilesOrSaysWhyNot) {
    // The names looked for follow in the message; the test leaves their list to the code.
    const std::string notFound = "No column names found in the first 40 lines of part file";
    const std::string oneByName = "1\n,\nauto\n";
    const struct {
        const char* name;
        std::string content, ini, outcome;
    } cases[] = {
        {"blank and '#' lines", "R1,T,1,2,V,P,0\n\n \t\r\n# note\nR2,T,3,4,V,P,0\n## End\n",
         kClassic, "2 read"},
        {"a megabyte line is cut, not read",
         "R1,T,1,2,V,P,7" + std::string(1 << 20, '9') + "\nR2,T,1,2,V,P,0\n", kClassic, "2 read"},
        {"six fields", "R1,T,1,2,V,P\n", kClassic, "Not enough fields per line"},
        {"unterminated", "R1,T,1,2,\"10k,P,0\n", kClassic, "unterminated string in file"},
        {"field too long", std::string(300, 'R') + "\n", kClassic, "Field too long"},
        {"no name row", "R1,1,2\n", kByName, notFound},
        {"an X without a number", "h\nRef,X,Y\nR1,1,2\n\nR2,,3\n", oneByName,
         "No number for X or Y in line 5 of part file"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(read(c.content, c.ini).substr(0, c.outcome.size()), c.outcome) << c.name;
}

// Either byte order behind its byte order mark, a code point beyond 16 bits; a UTF-8 byte order
// mark is read in ConvertsEachLineByItsColumnsOrTheirNames. The design tools' UTF-16 files are
// read in PlacementFormatsTest.
TEST_F(PlacementReaderTest, ReadsUtf16) {
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian);
        EXPECT_EQ(read(Utf16Bytes(u"\uFEFFR\U0001F50C2,T,1,2,V,P,0\n", bigEndian)), "1 read");
        EXPECT_EQ(Describe(table->parts[0]), "R\360\237\224\2142|R|0|T|1|2|V|P|0|0");
    }
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

// The carriage return of a line end that straddles two fills of the reader's 64 KiB buffer
// still belongs to the line end.
TEST_F(PlacementReaderTest, LineEndAcrossTheReadBuffer) {
    const std::string header(65519, 'h');
    EXPECT_EQ(read(header + "\nR1,T,1,2,V,0,PP\r\nR2,T,1,2,V,0,Q\n", "1\n,\n1,2,3,4,5,7,6\n"),
              "2 read");
    EXPECT_EQ(Describe(table->parts[0]), "R1|R|1|T|1|2|V|PP|0|0");
}

} // namespace
} // namespace kavelto
