#include "PlacementReader.h"
#include "ColumnMapText.h"
#include "SpecialFiles.h"
#include "TempFile.h"
#include "Utf16Bytes.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <sstream>
#include <utility>

namespace kavelto {
namespace {

const std::string kAllColumns = "0\n,\n1,2,3,4,5,6,7\n";

class PlacementReaderTest : public ::testing::Test {
protected:
    PlacementReadResult read(const std::string& content, const std::string& ini = kAllColumns) {
        TempFile file(content);
        return ReadPlacementFile(file.path(), ColumnMapFromText(ini), *table);
    }
    const PartRecord& part(int i) const { return table->parts[static_cast<std::size_t>(i)]; }

    std::unique_ptr<PartTable> table = std::make_unique<PartTable>();
};

// A record as one text, so that a whole line's conversion compares at once: designator,
// prefix, partId, layer, x, y, value, package, rotation, placed.
std::string Describe(const PartRecord& p) {
    std::ostringstream out;
    out << p.designator << '|' << p.prefix << '|' << p.partId << '|'
        << (p.layer ? std::string(1, p.layer) : "") << '|' << p.x << '|' << p.y << '|' << p.value
        << '|' << p.package << '|' << p.rotation << '|' << int(p.placed);
    return out.str();
}

struct LineCase {
    const char* name;
    std::string line;
    std::string record;
    std::string ini = kAllColumns;
};

const LineCase kLines[] = {
    {"every field", "U3,T,10.5,20.25,LM358,SO8,90", "U3|U|3|T|10.5|20.25|LM358|SO8|90|0"},
    {"letters then number", "LED3,T,1,2,V,P,0", "LED3|LED|3|T|1|2|V|P|0|0"},
    {"blank before number", "C 7,T,1,2,V,P,0", "C 7|C|7|T|1|2|V|P|0|0"},
    {"text after number", "TP2A,T,1,2,V,P,0", "TP2A|TP|2|T|1|2|V|P|0|0"},
    {"six letters", "ABCDEF1,T,1,2,V,P,0", "ABCDEF1|ABCDE|0|T|1|2|V|P|0|0"},
    {"blank before designator", " R5,T,1,2,V,P,0", " R5||0|T|1|2|V|P|0|0"},
    {"number beyond 16 bits", "R70000,T,1,2,V,P,0", "R70000|R|4464|T|1|2|V|P|0|0"},
    {"leading zero", "R012,T,1,2,V,P,-90", "R012|R|12|T|1|2|V|P|-90|0"},
    {"designator beyond letters and number", "UART_EN201,T,1,2,V,P,0",
     "UART_EN201|UART|0|T|1|2|V|P|0|0"},
    {"designator with a dash", "TA-101,T,1,2,V,P,0", "TA-101|TA|65435|T|1|2|V|P|0|0"},
    {"quoted fields", "\"U7\",T,1,2,\"10k, 1%\",\"\",\"5\"", "U7|U|7|T|1|2|10k, 1%||5|0"},
    {"the character after a closing quote stands for the separator", "\"U7\"xT,1,2,V,P,0",
     "U7|U|7|T|1|2|V|P|0|0"},
    {"long texts whole", "R1,T,1,2," + std::string(60, 'v') + "," + std::string(25, 'p') + ",0",
     "R1|R|1|T|1|2|" + std::string(60, 'v') + "|" + std::string(25, 'p') + "|0|0"},
    {"line cut at 255", "R1,T,1,2,V," + std::string(238, 'p') + ",1234567890",
     "R1|R|1|T|1|2|V|" + std::string(238, 'p') + "|12345|0"},
    {"empty fields keep columns", ",T,1,2,,SO8,90", "||0|T|1|2||SO8|90|0"},
    {"nine fields", "R1,Bottom,1,2,V,P,0,extra,more", "R1|R|1|B|1|2|V|P|0|0"},
    {"layer words and digits", "R1,top,1,2,V,P,0", "R1|R|1|t|1|2|V|P|0|0"},
    {"empty layer", "R1,,1,2,V,P,0", "R1|R|1||1|2|V|P|0|0"},
    {"semicolons, decimal comma", "R1;1;12,5;3,25;V;P;0", "R1|R|1|1|12.5|3.25|V|P|0|0",
     "0\n;\n1,2,3,4,5,6,7\n"},
    {"tabs, decimal comma", "R1\t1\t-0,5\t3\tV\tP\t0", "R1|R|1|1|-0.5|3|V|P|0|0",
     "0\n\t\n1,2,3,4,5,6,7\n"},
    {"blanks lined up", "  C112    100nF  C_0805    -129.9210   -91.4400  180.0000  bottom  ",
     "C112|C|112|b|-129.921|-91.44|100nF|C_0805|180|0", "0\n \n1,5,6,3,4,7,2\n"},
};

TEST_F(PlacementReaderTest, ConvertsEachLine) {
    for (const LineCase& c : kLines) {
        const PlacementReadResult result = read(c.line + "\r\n", c.ini);
        EXPECT_FALSE(result.error) << c.name << ": " << result.error.message();
        EXPECT_EQ(result.count, 1) << c.name;
        EXPECT_EQ(Describe(part(0)), c.record) << c.name;
    }
}

TEST_F(PlacementReaderTest, NothingOfAnEarlierLoadSurvivesInARecord) {
    ASSERT_EQ(read("R9,T,5,6,V,P,45\n").count, 1);
    ASSERT_EQ(read("R,T,x,y,V,P,none").count, 1);
    EXPECT_EQ(Describe(part(0)), "R|R|0|T|0|0|V|P|0|0");
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
    EXPECT_EQ(result.error.message(), GetParam().message);
}

std::string ManyLines(int n, const std::string& badLine = "") {
    std::ostringstream out;
    for (int i = 0; i < n; ++i)
        out << "R" << i << ",T," << i << ".5,2,10k,0805,0\n";
    return out.str() + badLine;
}

const BadFileCase kBadFiles[] = {
    {"SixFields", "R1,T,1,2,V,P\n", "Not enough fields per line"},
    {"Unterminated", "R1,T,1,2,\"10k,P,0\n", "unterminated string in file"},
    {"FieldTooLong", std::string(300, 'R') + "\n", "Field too long"},
    {"ErrorOnHundredthLine", ManyLines(99, "R100,T\n"), "Not enough fields per line"},
    {"NulEndsTheLine", std::string("R1,T,1\0,2,V,P,0\n", 16), "Not enough fields per line"},
};

INSTANTIATE_TEST_SUITE_P(Files, PlacementReaderErrors, ::testing::ValuesIn(kBadFiles),
                         [](const auto& info) { return std::string(info.param.name); });

const std::string kByName = "0\n,\nauto\n";

// Both modes pass over blank lines and, after the header lines, lines that start with '#'.
TEST_F(PlacementReaderTest, BlankAndCommentLinesCarryNoPart) {
    const std::string lines = "R1,T,1,2,V,P,0\n\n \t\r\n# note\nR2,T,3,4,V,P,0\n## End\n\n";
    for (const auto& [ini, names] :
         {std::pair(kAllColumns, ""), std::pair(kByName, "Ref,Side,X,Y,Val,Package,Rot\n")}) {
        const PlacementReadResult result = read(names + lines, ini);
        EXPECT_FALSE(result.error) << ini << result.error.message();
        EXPECT_EQ(result.count, 2) << ini;
        EXPECT_EQ(Describe(part(1)), "R2|R|2|T|3|4|V|P|0|0") << ini;
    }
}

// Files read by the names in their own name row: the first part of each.
const LineCase kNamedFiles[] = {
    {"names in any order, any column",
     "Comment,Layer,Footprint,a,b,c,d,e,f,g,Designator,"
     "Center-X(mm),Center-Y(mm),Rotation\n"
     "10k,BottomLayer,R0603,,,,,,,,R7,1.5,-2.5,270",
     "R7|R|7|B|1.5|-2.5|10k|R0603|270|0"},
    {"quotes as tools write them",
     "Ref,Val,Package,PosX,PosY,Rot,Side\n\"D1\",\"LED 0603 \"red\"\",\"a \"\"b\"\" c, "
     "d\",1,2,0,top",
     "D1|D|1|t|1|2|LED 0603 \"red\"|a \"b\" c, d|0|0"},
    {"quotes with blanks before the separator", "Ref , X , Y , Val\n \"R1\" , 1 , 2 , \"1k\"  ",
     "R1|R|1||1|2|1k||0|0"},
    {"centre before reference point, never a pad",
     "Designator,Pad X,Pad Y,Ref X,Ref Y,Mid X,Mid Y\nR1,1,2,3,4,5,6", "R1|R|1||5|6|||0|0"},
    {"reference point without a centre", "Designator,Pad X,Pad Y,Ref X,Ref Y\nR1,1,2,3,4",
     "R1|R|1||3|4|||0|0"},
    {"a line that ends before optional columns", "Ref,X,Y,Val,Package\nR1,1,2",
     "R1|R|1||1|2|||0|0"},
    {"semicolons and decimal commas", "Ref;PosX;PosY;Side\nR1;112,776;-3,5;bot",
     "R1|R|1|b|112.776|-3.5|||0|0"},
    {"tabs and units", "Designator\tMid X\tMid Y\tLayer\tComment\nR1\t12.5mm\t3mm\tB\t",
     "R1|R|1|B|12.5|3|||0|0"},
    {"a name row after other lines, behind '#'",
     "Title\n\n## Unit = mm\n # Ref   Val   PosX   PosY\nR1   10k   1.5   2.5",
     "R1|R|1||1.5|2.5|10k||0|0"},
    {"aligned columns with an empty value",
     "# Ref     Val       Package      PosX     PosY  Rot  Side\n"
     "R1                  R_0603     10.0000  20.0000  90.0  bottom",
     "R1|R|1|b|10|20||R_0603|90|0"},
    {"aligned columns with blanks in a value",
     "Ref    Val          Package   X   Y\nR1     10k 1%       R_0603    1   2",
     "R1|R|1||1|2|10k 1%|R_0603|0|0"},
    {"names of two words between blanks",
     "Designator Footprint Mid X Mid Y Ref X Ref Y Pad X Pad Y TB Rotation Comment\n"
     "R1 0603 1.0mil 2.0mil 3 4 5 6 B 90 10k",
     "R1|R|1|B|1|2|10k|0603|90|0"},
    {"a name that is also half of a two-word name", "Ref X Y\nR1 1 2", "R1|R|1||1|2|||0|0"},
    {"a byte order mark before the names", "\xEF\xBB\xBFRef,X,Y\nR1,1,2", "R1|R|1||1|2|||0|0"},
    {"Y beyond the 255th byte, texts kept to 255 bytes",
     "Designator,Comment,Footprint,Center-X(mm),Center-Y(mm)\nR1," + std::string(300, 'c') + "," +
         std::string(300, 'f') + ",1,2",
     "R1|R|1||1|2|" + std::string(255, 'c') + "|" + std::string(255, 'f') + "|0|0"},
};

TEST_F(PlacementReaderTest, ReadsFilesByTheirNames) {
    for (const LineCase& c : kNamedFiles) {
        const PlacementReadResult result = read(c.line + "\r\n", kByName);
        EXPECT_FALSE(result.error) << c.name << ": " << result.error.message();
        EXPECT_EQ(result.count, 1) << c.name;
        EXPECT_EQ(Describe(part(0)), c.record) << c.name;
    }
}

TEST_F(PlacementReaderTest, NamedFilesThatDoNotLoadSaySo) {
    const std::string notFound =
        "No column names found in the first 40 lines of part file: looked for a line naming "
        "the designator (Ref, Designator, RefDes, Ref. Des., Reference, Part, Name), X (PosX, "
        "Pos X, Position X, X position, Mid X, Center-X, Center X, X, Ref X) and Y (PosY, Pos Y, "
        "Position Y, Y position, Mid Y, Center-Y, Center Y, Y, Ref Y) columns";
    const struct {
        const char* name;
        std::string content;
        std::string ini;
        std::string message;
    } cases[] = {
        {"no name row", "R1,1,2\n", kByName, notFound},
        {"an empty file", "", kByName, notFound},
        {"a name row without Y", "Ref,X,Val\nR1,1,2\n", kByName, notFound},
        {"a name row past line 40", std::string(40, '\n') + "Ref,X,Y\nR1,1,2\n", kByName, notFound},
        {"a name row among the header lines", "Ref,X,Y\nR1,1,2\n", "1\n,\nauto\n", notFound},
        {"an X without a number", "h\nRef,X,Y\nR1,1,2\n\nR2,,3\n", "1\n,\nauto\n",
         "No number for X or Y in line 5 of part file"},
        {"a Y that is a name", "Ref,X,Y\nRef,X,Y\n", kByName,
         "No number for X or Y in line 2 of part file"},
        {"a quote that does not end", "Ref,X,Y\n\"R1,1,2\n", kByName,
         "unterminated string in file"},
    };
    for (const auto& c : cases) {
        const PlacementReadResult result = read(c.content, c.ini);
        EXPECT_EQ(result.count, 0) << c.name;
        EXPECT_EQ(result.error.message(), c.message) << c.name;
    }
}

// A file in UTF-16 of one byte order, behind its byte order mark.
std::string Utf16File(const std::u16string& text, bool bigEndian) {
    return Utf16Bytes(u"\uFEFF" + text, bigEndian);
}

TEST_F(PlacementReaderTest, ReadsUtf16AndSkipsAUtf8ByteOrderMark) {
    for (const bool bigEndian : {false, true}) {
        PlacementReadResult result = read(
            Utf16File(u"Designator\tMid X\tMid Y\tComment\r\nR1\t1\t2\t4.7\u00B5F\r\n", bigEndian),
            kByName);
        EXPECT_EQ(result.count, 1) << result.error.message();
        EXPECT_EQ(Describe(part(0)), "R1|R|1||1|2|4.7\xC2\xB5"
                                     "F||0|0");
        result = read(Utf16File(u"R\U0001F50C2,T,1,2,V,P,0\n", bigEndian));
        EXPECT_EQ(result.count, 1) << result.error.message();
        EXPECT_EQ(Describe(part(0)), "R\xF0\x9F\x94\x8C"
                                     "2|R|0|T|1|2|V|P|0|0");
    }
    // Many fills of the reader's buffer.
    const std::string lines = ManyLines(kMaxParts);
    EXPECT_EQ(read(Utf16File(std::u16string(lines.begin(), lines.end()), false)).count, kMaxParts);
    EXPECT_EQ(Describe(part(kMaxParts - 1)), "R4999|R|4999|T|4999.5|2|10k|0805|0|0");
    EXPECT_EQ(read("\xEF\xBB\xBFR2,T,1,2,V,P,0\n").count, 1);
    EXPECT_EQ(Describe(part(0)), "R2|R|2|T|1|2|V|P|0|0");
}

TEST_F(PlacementReaderTest, CapacityBoundsTheLoadSilently) {
    PlacementReadResult result = read(ManyLines(kMaxParts));
    EXPECT_EQ(result.count, kMaxParts);
    result = read(ManyLines(6000));
    EXPECT_FALSE(result.error);
    EXPECT_EQ(result.count, kMaxParts);
    EXPECT_EQ(part(kMaxParts - 1).partId, kMaxParts - 1);
}

TEST_F(PlacementReaderTest, FilesWithoutComponentLines) {
    const std::string ini = "3\n,\n1,2,3,4\n";
    EXPECT_EQ(read("", kAllColumns).count, 0);
    EXPECT_EQ(read("h1\nh2\n", ini).count, 0);
    EXPECT_FALSE(read("h1\nh2\nh3\n", ini).error);
    EXPECT_EQ(read("h1\nh2\nh3\nR1,T,1,2\n", ini).count, 1);
}

TEST_F(PlacementReaderTest, UnreadableInputsGiveTheirMessage) {
    const ColumnMap map = ColumnMapFromText(kAllColumns);
    // A pipe with no writer and an endless device are refused at once, not waited on or read.
    const TempFifo fifo;
    for (const std::string& path : {std::string("/nonexistent/file.pkp"), std::string("/tmp"),
                                    fifo.path(), std::string("/dev/zero")}) {
        const std::optional<std::string> error =
            RunInChild([&] { return ReadPlacementFile(path, map, *table).error.message(); });
        EXPECT_EQ(error, std::string("Error opening part file")) << path;
    }
    const PlacementReadResult jpeg = ReadPlacementFile(DEMO_DIR "/coldfire-top.jpg", map, *table);
    EXPECT_EQ(jpeg.count, 0);
    EXPECT_TRUE(jpeg.error);
    // Opens, then fails to read: this process's memory reads as an I/O error at 0.
    EXPECT_EQ(ReadPlacementFile("/proc/self/mem", map, *table).error.message(),
              "Error reading part file");
    EXPECT_EQ(ReadPlacementFile("/proc/self/mem", ColumnMapFromText("1\n,\n1,2,3,4\n"), *table)
                  .error.message(),
              "Error skiping header lines from part file");
}

// The carriage return of a line end that straddles two fills of the reader's 64 KiB buffer
// still belongs to the line end.
TEST_F(PlacementReaderTest, LineEndAcrossTheReadBuffer) {
    const std::string header(65519, 'h');
    const PlacementReadResult result =
        read(header + "\nR1,T,1,2,V,0,PP\r\nR2,T,1,2,V,0,Q\n", "1\n,\n1,2,3,4,5,7,6\n");
    ASSERT_EQ(result.count, 2);
    EXPECT_EQ(Describe(part(0)), "R1|R|1|T|1|2|V|PP|0|0");
}

TEST_F(PlacementReaderTest, AMegabyteLineIsCutNotRead) {
    const std::string huge = "R1,T,1,2,V,P,7" + std::string(1 << 20, '9') + "\nR2,T,1,2,V,P,0\n";
    const PlacementReadResult result = read(huge);
    EXPECT_FALSE(result.error);
    EXPECT_EQ(result.count, 2);
}

// The demo board's CSV export under the demo's configuration, and its ASCII export (aligned
// with blanks, closed by "## End") read both ways, give the same parts.
TEST(PlacementReaderRealFile, ReadsTheBoardExportsAlike) {
    ColumnMap map;
    std::string message;
    ASSERT_EQ(LoadColumnMap(DEMO_DIR "/Kavelto.ini", map, message), 0) << message;
    auto csv = std::make_unique<PartTable>();
    const PlacementReadResult result = ReadPlacementFile(DEMO_DIR "/coldfire.csv", map, *csv);
    ASSERT_FALSE(result.error) << result.error.message();
    ASSERT_EQ(result.count, 160);
    // "C112","100nF","C_0805_2012Metric",-129.921000,-91.440000,180.000000,bottom
    EXPECT_EQ(Describe(csv->parts[0]),
              "C112|C|112|b|-129.921|-91.44|100nF|C_0805_2012Metric|180|0");
    int bottom = 0;
    for (int i = 0; i < result.count; ++i)
        bottom += csv->parts[static_cast<std::size_t>(i)].layer == 'b';
    EXPECT_EQ(bottom, 14);

    for (const char* ini : {"5\n \n1,5,6,3,4,7,2\n", "0\n,\nauto\n"}) {
        auto pos = std::make_unique<PartTable>();
        const PlacementReadResult read =
            ReadPlacementFile(DEMO_DIR "/coldfire.pos", ColumnMapFromText(ini), *pos);
        ASSERT_FALSE(read.error) << ini << read.error.message();
        ASSERT_EQ(read.count, 160) << ini;
        for (int i = 0; i < read.count; ++i) {
            const auto at = static_cast<std::size_t>(i);
            EXPECT_EQ(Describe(pos->parts[at]), Describe(csv->parts[at])) << ini;
        }
    }
}

} // namespace
} // namespace kavelto
