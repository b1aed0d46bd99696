#include "placement/PlacementReader.h"
#include "ChildRuns.h"
#include "ColumnMapText.h"
#include "TempFile.h"
#include "Utf16Bytes.h"
#include "parts/Face.h"
#include "placement/MountsmdLineConverter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <utility>

namespace kavelto {
namespace {

const std::string kClassic = "0\n,\n1,2,3,4,5,6,7\n";

// A record as one text, so that a whole line's conversion compares at once: designator,
// prefix, partId, layer, x, y, value, package, rotation, placed.
std::string Describe(const PartRecord& p) {
    std::ostringstream out;
    out << p.designator << '|' << p.prefix << '|' << p.partId << '|'
        << (p.layer ? std::string(1, *p.layer) : "") << '|' << p.x << '|' << p.y << '|' << p.value
        << '|' << p.package << '|' << p.rotation << '|' << int(p.placed);
    return out.str();
}

// The count of parts read and the notice, if any; or the message of the error. Every message
// of the reader is one of the program's own errors.
std::string Outcome(const Result<PlacementParts>& result) {
    if (!result) {
        EXPECT_EQ(std::tie(result.failure().caption, result.failure().icon),
                  std::make_tuple("Error", MessageIcon::Stop));
        return result.failure().text;
    }
    const std::string count = std::to_string(result->table.partCount()) + " read";
    if (!result->notice)
        return count;
    EXPECT_EQ(*result->notice,
              (UserMessage{result->notice->text, "Error", MessageButtons::Ok, MessageIcon::Stop}));
    return count + "; " + result->notice->text;
}

// Lines "R1,T,1,2,V,P,0" to "Rn,...", one part each.
std::string Parts(int n) {
    std::string lines;
    for (int i = 1; i <= n; ++i)
        lines += "R" + std::to_string(i) + ",T,1,2,V,P,0\n";
    return lines;
}

class PlacementReaderTest : public ::testing::Test {
protected:
    // The outcome of reading a file of the given content; the table read stays in table.
    std::string read(const std::string& content, const std::string& ini = kClassic,
                     const std::string& ending = "") {
        TempFile file(content, ending);
        Result<PlacementParts> result = ReadPlacementFile(file.path(), ColumnMapFromText(ini));
        const std::string outcome = Outcome(result);
        table = result ? std::move(result).value().table : PartTable();
        return outcome;
    }

    PartTable table;
};

// The character after a closing quote stands for the separator. UTF-16 in the other byte order: the
// EasyEDA sample of PlacementFormatsTest, where the sample files of each design tool read by their
// names too, in any order and column.
TEST_F(PlacementReaderTest, ConvertsEachLineByItsColumnsOrTheirNames) {
    const struct {
        const char* name;
        std::string line; // with its line end
        std::string record;
        std::string ini = kClassic;
    } cases[] = {
        {"whole designator", "UART_EN201,T,10.5,20.25,LM358,SO8,90\r\n",
         "UART_EN201|UART|0|T|10.5|20.25|LM358|SO8|90|0"},
        {"quotes, doubled inside, blanks after the closing one",
         "\"U7\" ,T,1,2,\"10k, \"\"1%\"\"\",\"\",\"5\"\r\n", "U7|U|7|T|1|2|10k, \"1%\"||5|0"},
        {"an inner quote that text follows ends no field",
         "\"D1\",\"LED 0603 \"red\"\",\"LED_0603\",120.65,-65.405,180,top\n",
         "D1|D|1|t|120.65|-65.405|LED 0603 \"red\"|LED_0603|180|0", "0\n,\n1,5,6,3,4,7,2\n"},
        {"five letters of prefix at most", "LEDRGBW3,,1,2,V,P,0\n",
         "LEDRGBW3|LEDRG|0||1|2|V|P|0|0"},
        {"tabs, decimal comma", "R1\t1\t-0,5\t3\tV\tP\t0\r\n", "R1|R|1|1|-0.5|3|V|P|0|0",
         "0\n\t\n1,2,3,4,5,6,7\n"},
        {"UTF-16 behind its mark, beyond 16 bits",
         Utf16Bytes(u"\uFEFFR\U0001F50C2,T,1,2,V,P,0\r\n", true),
         "R\360\237\224\2142|R|0|T|1|2|V|P|0|0"},
        {"UTF-8 mark, Y beyond the 255th byte, a text kept to 255 bytes",
         "\357\273\277Designator,Comment,Footprint,Center-X(mm),Center-Y(mm)\nR1," +
             std::string(300, 'c') + ",F,1,2\r\n",
         "R1|R|1||1|2|" + std::string(255, 'c') + "|F|0|0", "0\n,\nauto\n"},
        {"a line of the longest length read whole, its last column in its last byte",
         "Designator,Comment,Footprint,Center-X(mm),Center-Y(mm)\nR1," + std::string(4087, 'c') +
             ",F,1,2\n",
         "R1|R|1||1|2|" + std::string(255, 'c') + "|F|0|0", "0\n,\nauto\n"},
        {"a line of separators past the longest line read: a field between each two, no part",
         "Designator,Comment,Footprint,Center-X(mm),Center-Y(mm)\nR1,V,F,1,2\n" +
             std::string(5000, ',') + "\n",
         "R1|R|1||1|2|V|F|0|0", "0\n,\nauto\n"},
        {"columns aligned with blanks, a value left empty: the others under their names",
         "Designator Comment  Mid X   Mid Y   Side\nR1                  1.5     2.5     T\n",
         "R1|R|1|T|1.5|2.5|||0|0", "0\n,\nauto\n"},
        {"UTF-16 beyond the reader's first chunk, lone returns",
         Utf16Bytes(u"\uFEFF" + std::u16string(40000, u'h') + u"\rR1,T,1,2,V,P,0\r", false),
         "R1|R|1|T|1|2|V|P|0|0", "1\n,\n1,2,3,4,5,6,7\n"},
        {"a line end across the reader's 64 KiB buffer: the CR is no field's",
         std::string(65519, 'h') + "\nR1,T,1,2,V,0,PP\r\n", "R1|R|1|T|1|2|V|PP|0|0",
         "1\n,\n1,2,3,4,5,7,6\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(read(c.line, c.ini), "1 read") << c.name;
        EXPECT_EQ(table.partCount() > 0 ? Describe(table.part(0)) : "", c.record) << c.name;
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
    // A field of 254 characters is taken; the line's end then leaves it alone.
    EXPECT_EQ(read(std::string(254, 'R') + "\n"), "Not enough fields per line");
    EXPECT_EQ(read(std::string(255, 'R') + "\n"), "Field too long");
    EXPECT_EQ(read("R1,T,1,2,V,P\n"), "Not enough fields per line");
    EXPECT_EQ(read("R1,T,1,2,\"V\"x,P,0\n"), "unterminated string in file");
    EXPECT_EQ(read("Part,Value\nR1,10k\n", "0\n,\nauto\n"),
              "No column names found in the first 40 lines of part file: looked for a line naming "
              "the designator (Ref, Designator, RefDes, Part, Ref. Des., Reference, Name, Ref "
              "Name), X (PosX, Center-X, Mid X, Ref X, Position X, X, Center X, X position, X-Loc, "
              "Placement Centre, Placement Centre X, SYM_X, Symbol_X) and Y (PosY, Center-Y, Mid "
              "Y, Ref Y, Position Y, Y, Center Y, Y position, Y-Loc, Placement Centre Y, SYM_Y, "
              "Symbol_Y) columns");
    EXPECT_EQ(read("h\nRef,X,Y\nR1,1,2\n\nR2,,3\n", "1\n,\nauto\n"),
              "No number for X or Y in line 5 of part file");
    EXPECT_EQ(read("Ref,X,Y\nR1,1,2\nR2,\"x,3\n", "0\n,\nauto\n"), "unterminated string in file");
    // Blank-separated columns may be lined up with runs of blanks.
    EXPECT_EQ(read("R1   T  1 2  V P   7\n", "0\n \n1,2,3,4,5,6,7\n"), "1 read");
    EXPECT_EQ(read("R1,T,1,2,V,P,0\n", "3\n,\n1,2,3,4,5,6,7\n"),
              "No parts found in part file"); // its one line taken for a header line
}

// Designators of the parts read, in table order, or the message of the error.
std::string DesignatorsOf(const std::string& outcome, const PartTable& table) {
    if (outcome.find(" read") == std::string::npos)
        return outcome;
    std::string list;
    for (int i = 0; i < table.partCount(); ++i)
        list += (i ? " " : "") + std::string(table.part(i).designator);
    return list;
}

const std::string kByName = "0\n,\nauto\n";

// A line ends with a line feed, a carriage return and line feed, or a lone carriage return (a
// spreadsheet saved on a Mac), in either mode and across the reader's 64 KiB chunks.
TEST_F(PlacementReaderTest, EndsLinesAsAnyToolEndsThem) {
    const std::string kChunkLess1(65535, 'h'); // a header line that ends the first chunk but one
    const struct {
        const char* name;
        std::string content;
        std::string ini;
        std::string parts;
    } cases[] = {
        {"feeds", "R1,T,1,2,V,P,0\nR2,T,1,2,V,P,0\n", kClassic, "R1 R2"},
        {"returns and feeds", "R1,T,1,2,V,P,0\r\nR2,T,1,2,V,P,0\r\n", kClassic, "R1 R2"},
        {"returns", "R1,T,1,2,V,P,0\rR2,T,1,2,V,P,0\r", kClassic, "R1 R2"},
        {"returns, an empty line between", "R1,T,1,2,V,P,0\r\rR2,T,1,2,V,P,0", kClassic, "R1 R2"},
        {"returns, by name", "Ref,X,Y\rR1,1,2\rR2,3,4", kByName, "R1 R2"},
        {"all three, by name", "Ref,X,Y\r\nR1,1,2\nR2,3,4\rR3,5,6\r\n", kByName, "R1 R2 R3"},
        {"a return ends the first chunk, its feed begins the next",
         kChunkLess1 + "\r\nR1,T,1,2,V,P,0\r\n", "1\n,\n1,2,3,4,5,6,7\n", "R1"},
        {"a lone return ends the first chunk", kChunkLess1 + "\rR1,T,1,2,V,P,0\r",
         "1\n,\n1,2,3,4,5,6,7\n", "R1"},
    };
    for (const auto& c : cases) {
        const std::string outcome = read(c.content, c.ini);
        EXPECT_EQ(DesignatorsOf(outcome, table), c.parts) << c.name;
    }
}

// Rows of nothing but blanks, quotes, the file's separator and control bytes carry no part in
// either mode; a row of another character, or a file without any part, is said.
TEST_F(PlacementReaderTest, PassesOverRowsWithoutAPart) {
    const std::string kEmptyRows =
        std::string(",,,,,,\n\"\",\"\",\"\"\n \" \" \n\x1A\n\f\n\t\r\n") +
        std::string("\0\0,\n", 4);
    const struct {
        const char* name;
        std::string content;
        std::string ini;
        std::string outcome;
    } cases[] = {
        {"classic", "R1,T,1,2,V,P,0\n" + kEmptyRows + "R2,T,1,2,V,P,0\n\x1A", kClassic, "R1 R2"},
        {"by name", "Ref,X,Y\nR1,1,2\n" + kEmptyRows + "R2,3,4\n\x1A", kByName, "R1 R2"},
        {"by name, tabs", "Ref\tX\tY\r\nR1\t1\t2\r\n\t\t\r\n\x1A\r\n", kByName, "R1"},
        {"blanks as separator", "Ref X Y\nR1 1 2\n   \"\"  \n", kByName, "R1"},
        {"another file's separator", "R1,T,1,2,V,P,0\n;;;;;;\n", kClassic,
         "Not enough fields per line"},
        {"no part after the header lines", "Ref,Val,Package,PosX,PosY,Rot,Side\n",
         "1\n,\n1,5,6,3,4,7,2\n", "No parts found in part file"},
        {"an empty file", "", kClassic, "No parts found in part file"},
        {"only empty rows", kEmptyRows, kClassic, "No parts found in part file"},
        {"a name row and empty rows", "Ref,X,Y\n" + kEmptyRows, kByName,
         "No parts found in part file"},
    };
    for (const auto& c : cases) {
        const std::string outcome = read(c.content, c.ini);
        EXPECT_EQ(DesignatorsOf(outcome, table), c.outcome) << c.name;
    }
}

// Every part read, "designator|face|x|y|value|package|rotation" with the face T or B, or the
// message of the error.
std::string PartsOf(const std::string& outcome, const PartTable& table) {
    if (outcome.find(" read") == std::string::npos)
        return outcome;
    std::string list;
    for (int i = 0; i < table.partCount(); ++i) {
        const PartRecord& p = table.part(i);
        std::ostringstream out;
        out << (i ? " " : "") << p.designator << '|'
            << (IsOnFace(p.layer, Face::Bottom) ? 'B' : 'T') << '|' << p.x << '|' << p.y << '|'
            << p.value << '|' << p.package << '|' << p.rotation;
        list += out.str();
    }
    return list;
}

// pcb-rnd's gxyrs name row, whose Type its rows leave out.
const std::string kGxyrsNames =
    "#Designator X-Loc Y-Loc Rotation Side Type X-Size Y-Size Value Footprint\n";

// The names each tool gives its columns, and a fallback name only where no preferred name of its
// field stands in the row, whichever comes first.
TEST_F(PlacementReaderTest, FindsTheColumnsUnderEachToolsNames) {
    const struct {
        const char* name;
        std::string content;
        std::string parts;
    } cases[] = {
        {"Pulsonix",
         "Ref Name,Part Name,Footprint Name,Placement Centre X,Placement Centre Y\n"
         "R1,RES,R0603,1,2\n",
         "R1|T|1|2||R0603|0"},
        {"a part name where no footprint name stands", "Ref Name,Part Name,X,Y\nR1,RES,1,2\n",
         "R1|T|1|2||RES|0"},
        {"DipTrace",
         "RefDes,Name,Value,Pattern,X (mm),Y (mm),Side,Rotate\nR1,RES,1k,R0603,1,2,Top,90\n",
         "R1|T|1|2|1k|R0603|90"},
        {"a name where no designator stands",
         "*No;Value;Package;X;Y;Rotation;Side;Name\n"
         "1;1k;R0603;1;2;90;Bottom;R1\n",
         "R1|B|1|2|1k|R0603|90"},
        {"gEDA",
         "# RefDes, Description, Value, X, Y, rotation, top/bottom\nR1,\"R0603\",\"1k\",1,2,"
         "90,bottom\n",
         "R1|B|1|2|1k|R0603|90"},
        {"a description beside a footprint",
         "Designator,Footprint,Mid X,Mid Y,Description\n"
         "R1,R0603,1,2,Resistor\n",
         "R1|T|1|2||R0603|0"},
        {"MacroFab", "#Designator\tX-Loc\tY-Loc\tRotation\tSide\nR1\t1\t2\t90\t2\n",
         "R1|B|1|2|||90"},
        {"Allegro, mirror flags",
         "REFDES!SYM_X!SYM_Y!SYM_ROTATE!SYM_MIRROR!SYM_NAME!COMP_VALUE\n"
         "R1!1!2!90!YES!R0603!1k\nR2!3!4!0!NO!R0603!2k\n",
         "R1|B|1|2|1k|R0603|90 R2|T|3|4|2k|R0603|0"},
        {"Allegro, symbol_x", "refdes,symbol_x,symbol_y,mirror\nR1,1,2,\n", "R1|T|1|2|||0"},
        {"PADS", "Ref Des,Part Type,PCB Decal,X,Y,Orient.,Layer\nR1,1k,R0603,1,2,90,Bottom\n",
         "R1|B|1|2|1k|R0603|90"},
        {"Pulsonix, the position as a point",
         "Ref  Part Name  Side    Placement Centre  Rotation\n"
         "R1   R0603      Bottom  (1.5,-2)          90\n"
         "R2              Top     ( 3 ; 4 )         0\n",
         "R1|B|1.5|-2||R0603|90 R2|T|3|4|||0"},
        {"a point without its second number", "Ref,Placement Centre\nR1,(3)\n",
         "No number for X or Y in line 2 of part file"},
        {"a point without a number", "Ref,Placement Centre\nR1,(x)\n",
         "No number for X or Y in line 2 of part file"},
        {"a point of an empty second number", "Ref,Placement Centre\nR1,\"(3,)\"\n",
         "No number for X or Y in line 2 of part file"},
        {"a point after X and Y columns", "Ref,X,Y,Placement Centre\nR1,1,2,\"(5,6)\"\n",
         "R1|T|1|2|||0"},
        {"a title with an open quote before the names", "\"Sensor board\nRef,X,Y\nR1,1,2\n",
         "R1|T|1|2|||0"},
        {"pcb-rnd gxyrs, not lined up",
         "#Designator X-Loc Y-Loc Rotation Side\nR1 1 2 90 bottom extra\nR2 3 4 0 top\n",
         "R1|B|1|2|||90 R2|T|3|4|||0"},
        {"pcb-rnd gxyrs, a Type named but not written",
         kGxyrsNames + "R1 1 2 90 bottom 10 20 1k R0603\n", "R1|B|1|2|1k|R0603|90"},
        {"pcb-rnd gxyrs, two blanks around an empty value",
         kGxyrsNames + "J1 1 2 0 top 10 20  HDR\n", "J1|T|1|2||HDR|0"},
        {"pcb-rnd gxyrs, blanks after the last field", kGxyrsNames + "J1 1 2 0 top 10 20  HDR  \n",
         "J1|T|1|2||HDR|0"},
        {"columns lined up with blanks, an inner quote that text follows",
         "Designator  Comment         X  Y\nD1          \"LED \"red\"\"   1  2\n",
         "D1|T|1|2|LED \"red\"||0"},
        {"a Type named and written", kGxyrsNames + "R1 1 2 90 2 1 10 20 1k R0603\n",
         "R1|B|1|2|1k|R0603|90"},
        {"pcb-rnd MacroFab, two Types, tabs, an empty value",
         "#Designator X-Loc Y-Loc Rotation Side Type X-Size Y-Size Value Footprint Type\n"
         "J1\t1\t2\t0\t2\t10\t20\t\tHDR\t2\n",
         "J1|B|1|2||HDR|0"},
        {"pcb-rnd MacroFab, a Type written and more columns than names",
         kGxyrsNames + "J1\t1\t2\t0\t1\t2\t10\t20\t\tHDR\t1\tMPN\n", "J1|T|1|2||HDR|0"},
        {"a row short of a Type between commas is short at its end",
         "Ref,Type,X,Y,Val\nR1,1,2,red\n", "No number for X or Y in line 2 of part file"},
        {"single blanks over rows padded with two", "Ref X Y\nR1  1 2\nR10 3 4\n",
         "R1|T|1|2|||0 R10|T|3|4|||0"},
        {"single blanks, two around an empty value, no column left out",
         "Designator X Y Value Package\nR1 1 2  P\n", "R1|T|1|2||P|0"},
        {"a NUL ends the line's text", std::string("Ref,X,Y\nR1,1\0,5\n", 17),
         "No number for X or Y in line 2 of part file"},
        {"a row of nothing but commas before the name row", ",,,,\nRef,X,Y\nR1,1,2\n",
         "R1|T|1|2|||0"},
        {"quoted fields with blanks before their commas", "Ref,Val,X,Y\n\"R1\" ,\"1k\" ,1,2\n",
         "R1|T|1|2|1k||0"},
        {"a quoted text keeps its blanks beside an empty field",
         kGxyrsNames + "R1 1 2 90 top 10 20  \"R 0603\"\n", "R1|T|1|2||R 0603|90"},
        {"names lined up but for the first two", "Ref   Val X Y\nR1        1 2\n", "R1|T|1|2|||0"},
    };
    for (const auto& c : cases) {
        const std::string outcome = read(c.content, kByName);
        EXPECT_EQ(PartsOf(outcome, table), c.parts) << c.name;
    }
}

// Allegro's place text has no name row: its units line ends the header, and each line reads
// "refdes x y rotation [m] symbol", with comments in parentheses.
TEST_F(PlacementReaderTest, ReadsAllegroPlaceText) {
    const std::string kNoNameRow = "No column names found in the first 40 lines of part file";
    const struct {
        const char* name;
        std::string content;
        std::string parts;
    } cases[] = {
        {"each field",
         "(place text)\nVERSION = 2.0\nUUNITS = MILLIMETERS\nR1 1 2 90 m R0603\n"
         "R2 3,5 4 0 C0603 (a comment)\n(a comment line)\n# another\nR3 5 6 180 g SOT23\n"
         "R4 7 8 0\nR5 9 10 0 M SO8 ! 3\n",
         "R1|B|1|2||R0603|90 R2|T|3.5|4||C0603|0 R3|T|5|6||SOT23|180 R4|T|7|8|||0 "
         "R5|B|9|10||SO8|0"},
        {"the units line in any case", "  uunits=mils\nR1 1 2 0 X\n", "R1|T|1|2||X|0"},
        {"a comment between X and Y", "UUNITS = MILS\nR1 1 (x) 2 0 X\n", "R1|T|1|2||X|0"},
        {"a line without Y", "UUNITS = MILS\nR1 1\n",
         "No number for X or Y in line 2 of part file"},
        {"a line parted by exclamation marks", "UUNITS = MILS\nR1 ! 1 ! 2 ! 0\n",
         "No number for X or Y in line 2 of part file"},
        {"no units line", "(place text)\nR1 1 2 0 X\n", kNoNameRow},
        {"units without their equals sign", "UUNITS MILS\nR1 1 2 0 X\n", kNoNameRow},
        {"a name row before a units line", "Ref,X,Y\nUUNITS = MILS,1,2\n",
         "UUNITS = MILS|T|1|2|||0"},
        {"a parenthesis opens no comment in a named file", "Ref,X,Y\n(R1),1,2\n", "(R1)|T|1|2|||0"},
    };
    for (const auto& c : cases) {
        const std::string parts = PartsOf(read(c.content, kByName), table);
        // The message without the names it lists, which another row checks.
        EXPECT_EQ(parts.rfind(kNoNameRow, 0) == 0 ? kNoNameRow : parts, c.parts) << c.name;
    }
}

// A side column's value tells the bottom by its first letter b or B, or as a layer number above
// the top's 1; a mirror column by anything but no, 0 or nothing. Without a side column, all top.
TEST_F(PlacementReaderTest, ReadsEachToolsSideValues) {
    const struct {
        std::string nameRow;
        std::string sides; // one a row
        std::string faces;
    } cases[] = {
        {"Ref,X,Y,Side", "bottom|Bottom|bot|B|b|top|Top|T|1|front", "BBBBBTTTTT"},
        {"Ref,X,Y,Layer", "1|2|4|16|0|BottomLayer|TopLayer", "TBBBTBT"},
        {"Ref,X,Y,top/bottom", "top|bottom", "TB"},
        {"Ref,X,Y,Mirror", "YES|NO||no|No|0|1|m", "BTTTTTBB"},
        {"Ref,X,Y", "", "TT"},
    };
    for (const auto& c : cases) {
        std::string content = c.nameRow + "\n";
        std::istringstream sides(c.sides);
        int n = 0;
        for (std::string side; std::getline(sides, side, '|');)
            content += "R" + std::to_string(++n) + ",1,2," + side + "\n";
        if (n == 0)
            content += "R1,1,2\nR2,3,4\n";
        read(content, kByName);
        std::string faces;
        for (int i = 0; i < table.partCount(); ++i)
            faces += IsOnFace(table.part(i).layer, Face::Bottom) ? 'B' : 'T';
        EXPECT_EQ(faces, c.faces) << c.nameRow;
    }
}

// A file named as a mount file holds "designator x y rotation value package" by blanks, the
// value left out when only one word follows the rotation; its name's ending, in either case,
// gives the face.
TEST_F(PlacementReaderTest, ReadsMountFilesByTheEndingOfTheirName) {
    const struct {
        const char* ending;
        const char* text;
        const char* read; // "designator|value|package|layer", or the message
    } rows[] = {
        {".mnt", "R1 1.5 2 90 10k R0603\n", "R1|10k|R0603|-"}, // no layer: the top
        {".MNB", "C1 1 2 0 C0805\n", "C1||C0805|B"},
        {".mnt", "R1 1.5\n", "No number for X or Y in line 1 of part file"},
        {".mnt", "R1 1 y 0 10k R0603\n", "No number for X or Y in line 1 of part file"},
    };
    for (const auto& row : rows) {
        const std::string outcome = read(row.text, kByName, row.ending);
        if (outcome != "1 read") {
            EXPECT_EQ(outcome, row.read) << row.text;
            continue;
        }
        const PartRecord& part = table.part(0);
        EXPECT_EQ(std::string(part.designator) + '|' + std::string(part.value) + '|' +
                      std::string(part.package) + '|' + part.layer.value_or('-'),
                  row.read);
    }
}

// Only a name that ends so is a mount file's, however short.
TEST(PlacementReader, TellsAMountFileByItsWholeEnding) {
    const std::pair<const char*, std::optional<Face>> rows[] = {
        {"b.mnt", Face::Top},  {"B.MNB", Face::Bottom}, {".mnt", Face::Top},
        {"mnt", std::nullopt}, {"", std::nullopt},      {"b.mnt.csv", std::nullopt},
    };
    for (const auto& [path, face] : rows)
        EXPECT_EQ(MountsmdFace(path), face) << path;
}

// A classic row whose X or Y holds no number is refused, naming its line, as one by name is:
// a name row left in by a header count one too small never becomes a part at 0, 0.
TEST_F(PlacementReaderTest, RefusesAClassicRowWithoutAPosition) {
    const std::string kKicadColumns = "0\n,\n1,5,6,3,4,7,2\n";
    EXPECT_EQ(read("Ref,Val,Package,PosX,PosY,Rot,Side\nR1,1k,R0603,1,2,0,top\n", kKicadColumns),
              "No number for X or Y in line 1 of part file");
    EXPECT_EQ(table.partCount(), 0);
    EXPECT_EQ(read("R1,1k,R0603,1,2,0,top\n\nR2,1k,R0603,3,,0,top\n", kKicadColumns),
              "No number for X or Y in line 3 of part file");
    EXPECT_EQ(read("R1,1k,R0603,x1,2,0,top\n", kKicadColumns),
              "No number for X or Y in line 1 of part file");
    // Rotation is only shown: a rotation without a number leaves 0.
    EXPECT_EQ(read("R1,1k,R0603,1,2,none,top\n", kKicadColumns), "1 read");
}

// A table holds 5000 parts: the rest of a longer file is counted, not converted, so a line there
// neither fails the load nor goes uncounted; blank lines and comments are no parts there either.
TEST_F(PlacementReaderTest, LoadsTheFirst5000PartsAndCountsTheRest) {
    const struct {
        const char* name;
        std::string content;
        std::string outcome;
        const char* lastLoaded;
    } cases[] = {
        {"a full table", Parts(5000), "5000 read", "R5000"},
        {"three more", Parts(5003), "5000 read; Only the first 5000 parts of 5003 were loaded",
         "R5000"},
        {"blank lines and comments after", Parts(5001) + "\n# note\n \r\n## End\n",
         "5000 read; Only the first 5000 parts of 5001 were loaded", "R5000"},
        {"a malformed line after", Parts(5000) + "R1,T,1,2,\"10k,P,0\nR2\n",
         "5000 read; Only the first 5000 parts of 5002 were loaded", "R5000"},
        {"a malformed line within", Parts(4999) + "R1,T,1,2,\"10k,P,0\n" + Parts(2),
         "unterminated string in file", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(read(c.content), c.outcome) << c.name;
        EXPECT_EQ(table.partCount() > 0 ? table.part(table.partCount() - 1).designator.view() : "",
                  c.lastLoaded)
            << c.name;
    }
}

TEST_F(PlacementReaderTest, UnreadableInputsGiveTheirMessage) {
    const ColumnMap map = ColumnMapFromText(kClassic);
    // A pipe with no writer and an endless device are refused at once, not waited on or read.
    const TempFifo fifo;
    for (const std::string& path : {std::string("/nonexistent/file.pkp"), std::string("/tmp"),
                                    fifo.path(), std::string("/dev/zero")})
        EXPECT_EQ(RunInChild([&] { return Outcome(ReadPlacementFile(path, map)); }),
                  "Error opening part file")
            << path;
    // Opens, then fails to read: this process's memory reads as an I/O error at 0.
    EXPECT_EQ(Outcome(ReadPlacementFile("/proc/self/mem", map)), "Error reading part file");
}

} // namespace
} // namespace kavelto
