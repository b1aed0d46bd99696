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

std::string ManyLines(int n) {
    std::ostringstream out;
    for (int i = 0; i < n; ++i)
        out << "R" << i << ",T," << i << ".5,2,10k,0805,0\n";
    return out.str();
}

struct LineCase {
    const char* name;
    std::string line;
    std::string record;   // of the only part
    std::string ini = ""; // when not the test's
};

const std::vector<LineCase> kLines = {
    {"every field", "U3,T,10.5,20.25,LM358,SO8,90", "U3|U|3|T|10.5|20.25|LM358|SO8|90|0"},
    {"blank before number", "C 7,T,1,2,V,P,-90", "C 7|C|7|T|1|2|V|P|-90|0"},
    {"text after number", "TP2A,T,1,2,V,P,0", "TP2A|TP|2|T|1|2|V|P|0|0"},
    {"six letters", "ABCDEF1,T,1,2,V,P,0", "ABCDEF1|ABCDE|0|T|1|2|V|P|0|0"},
    {"blank before designator", " R5,T,1,2,V,P,0", " R5||0|T|1|2|V|P|0|0"},
    {"number beyond 16 bits", "R70000,T,1,2,V,P,0", "R70000|R|4464|T|1|2|V|P|0|0"},
    {"whole designator", "UART_EN201,T,1,2,V,P,0", "UART_EN201|UART|0|T|1|2|V|P|0|0"},
    {"designator with a dash", "TA-101,T,1,2,V,P,0", "TA-101|TA|65435|T|1|2|V|P|0|0"},
    {"quoted fields", "\"U7\",T,1,2,\"10k, 1%\",\"\",\"5\"", "U7|U|7|T|1|2|10k, 1%||5|0"},
    {"after a closing quote", "\"U7\"xT,1,2,V,P,0", "U7|U|7|T|1|2|V|P|0|0"},
    {"no numbers", "R,T,x,y,V,P,none", "R|R|0|T|0|0|V|P|0|0"},
    {"line cut at 255", "R1,T,1,2,V," + std::string(238, 'p') + ",1234567890",
     "R1|R|1|T|1|2|V|" + std::string(238, 'p') + "|12345|0"},
    {"empty fields keep columns", ",,1,2,,SO8,90", "||0||1|2||SO8|90|0"},
    {"tabs, decimal comma", "R1\t1\t-0,5\t3\tV\tP\t0", "R1|R|1|1|-0.5|3|V|P|0|0",
     "0\n\t\n1,2,3,4,5,6,7\n"},
    {"blanks lined up", "  C112    100nF  C_0805    -129.9210   -91.4400  180.0000  bottom  ",
     "C112|C|112|b|-129.921|-91.44|100nF|C_0805|180|0", "0\n \n1,5,6,3,4,7,2\n"},
};

const std::vector<LineCase> kNamedFiles = {
    {"quotes with blanks before the separator", "Ref , X , Y , Val\n \"R1\" , 1 , 2 , \"1k\"  ",
     "R1|R|1||1|2|1k||0|0"},
    {"centre before reference point, never a pad",
     "Designator,Pad X,Pad Y,Ref X,Ref Y,Mid X,Mid Y\nR1,1,2,3,4,5,6", "R1|R|1||5|6|||0|0"},
    {"reference point without a centre", "Designator,Pad X,Pad Y,Ref X,Ref Y\nR1,1,2,3,4",
     "R1|R|1||3|4|||0|0"},
    {"a line that ends before optional columns", "Ref,X,Y,Val,Package\nR1,1,2",
     "R1|R|1||1|2|||0|0"},
    {"aligned columns with blanks in a value",
     "Ref    Val          Package   X   Y\nR1     10k 1%       R_0603    1   2",
     "R1|R|1||1|2|10k 1%|R_0603|0|0"},
    {"a name that is also half of a two-word name", "Ref X Y\nR1 1 2", "R1|R|1||1|2|||0|0"},
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

// The character after a closing quote stands for the separator.
TEST_F(PlacementReaderTest, ConvertsEachLineByItsColumns) {
    expectEach(kClassic, kLines);
}

// The sample files of each design tool read by their names too, in any order and column
// (PlacementFormatsTest).
TEST_F(PlacementReaderTest, ReadsFilesByTheirNames) {
    expectEach(kByName, kNamedFiles);
}

// Blank lines and, after the header lines, lines that start with '#' carry no part; the first
// malformed line fails the whole load.
TEST_F(PlacementReaderTest, ReadsWholeFilesOrSaysWhyNot) {
    const std::string notFound =
        "No column names found in the first 40 lines of part file: looked for a line naming "
        "the designator (Ref, Designator, RefDes, Ref. Des., Reference, Part, Name), X (PosX, "
        "Pos X, Position X, X position, Mid X, Center-X, Center X, X, Ref X) and Y (PosY, Pos Y, "
        "Position Y, Y position, Mid Y, Center-Y, Center Y, Y, Ref Y) columns";
    const std::string threeHeaderLines = "3\n,\n1,2,3,4\n", oneByName = "1\n,\nauto\n";
    const struct {
        const char* name;
        std::string content, ini, outcome;
    } cases[] = {
        {"blank and '#' lines", "R1,T,1,2,V,P,0\n\n \t\r\n# note\nR2,T,3,4,V,P,0\n## End\n",
         kClassic, "2 read"},
        {"an empty file", "", kClassic, "0 read"},
        {"a part after the header", "h1\nh2\nh3\nR1,T,1,2\n", threeHeaderLines, "1 read"},
        {"a megabyte line is cut, not read",
         "R1,T,1,2,V,P,7" + std::string(1 << 20, '9') + "\nR2,T,1,2,V,P,0\n", kClassic, "2 read"},
        {"six fields", "R1,T,1,2,V,P\n", kClassic, "Not enough fields per line"},
        {"unterminated", "R1,T,1,2,\"10k,P,0\n", kClassic, "unterminated string in file"},
        {"field too long", std::string(300, 'R') + "\n", kClassic, "Field too long"},
        {"error on the 100th line", ManyLines(99) + "R100,T\n", kClassic,
         "Not enough fields per line"},
        {"NUL ends the line", std::string("R1,T,1\0,2,V,P,0\n", 16), kClassic,
         "Not enough fields per line"},
        {"no name row", "R1,1,2\n", kByName, notFound},
        {"a name row past line 40", std::string(40, '\n') + "Ref,X,Y\nR1,1,2\n", kByName, notFound},
        {"a name row among the header lines", "Ref,X,Y\nR1,1,2\n", oneByName, notFound},
        {"an X without a number", "h\nRef,X,Y\nR1,1,2\n\nR2,,3\n", oneByName,
         "No number for X or Y in line 5 of part file"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(read(c.content, c.ini), c.outcome) << c.name;
}

// A file in UTF-16 of one byte order, behind its byte order mark.
std::string Utf16File(const std::string& ascii, const std::u16string& more, bool bigEndian) {
    return Utf16Bytes(u"\uFEFF" + std::u16string(ascii.begin(), ascii.end()) + more, bigEndian);
}

// Either byte order, a code point beyond 16 bits; a file that fills the reader's buffer many
// times over, whose lines past the capacity are left unread without a word. The design tools'
// UTF-16 files are read in PlacementFormatsTest.
TEST_F(PlacementReaderTest, ReadsUtf16AndSkipsAUtf8ByteOrderMark) {
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian);
        EXPECT_EQ(read(Utf16File("R", u"\U0001F50C2,T,1,2,V,P,0\n", bigEndian)), "1 read");
        EXPECT_EQ(Describe(table->parts[0]), "R\360\237\224\2142|R|0|T|1|2|V|P|0|0");
    }
    EXPECT_EQ(read(Utf16File(ManyLines(kMaxParts + 1000), u"", false)),
              std::to_string(kMaxParts) + " read");
    EXPECT_EQ(Describe(table->parts[kMaxParts - 1]), "R4999|R|4999|T|4999.5|2|10k|0805|0|0");
    EXPECT_EQ(read("\xEF\xBB\xBFR2,T,1,2,V,P,0\n"), "1 read");
    EXPECT_EQ(Describe(table->parts[0]), "R2|R|2|T|1|2|V|P|0|0");
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
    EXPECT_TRUE(ReadPlacementFile(DEMO_DIR "/coldfire-top.jpg", map, *table).error);
    // Opens, then fails to read: this process's memory reads as an I/O error at 0.
    EXPECT_EQ(Outcome(ReadPlacementFile("/proc/self/mem", map, *table)), "Error reading part file");
    EXPECT_EQ(
        Outcome(ReadPlacementFile("/proc/self/mem", ColumnMapFromText("1\n,\n1,2,3,4\n"), *table)),
        "Error skiping header lines from part file");
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
