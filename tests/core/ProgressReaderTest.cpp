#include "bom/ProgressReader.h"
#include "TempFile.h"
#include "Utf16Bytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kavelto {
namespace {

// 2026-12-07T16:55:02Z and 2026-12-07T17:00:00Z, worked out by hand: 2026-12-07 is 56 years of
// 365 days, 14 leap days and 340 days after 1970-01-01.
constexpr std::int64_t kDays = 56 * 365 + 14 + 340;
constexpr std::int64_t kFiveToFive = kDays * 86400 + 16 * 3600 + 55 * 60 + 2;
constexpr std::int64_t kFive = kDays * 86400 + 17 * 3600;

constexpr const char* kNames = "Designator,Face,Value,Package,Placed,Time placed\r\n";

// Each rule of reading a progress file back, as the export writes it and as spreadsheets save
// it again.
TEST(ProgressReader, ReadsThePlacedRowsAsSpreadsheetsSaveThem) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<ProgressMark> marks;
    };
    const auto top = [](const char* designator, std::int64_t at = 0) {
        return ProgressMark{designator, Face::Top, at};
    };
    const std::vector<Case> cases = {
        {"as exported",
         "Designator,Face,Value,Package,Placed,Time "
         "placed\nR1,top,1k,0603,yes,2026-12-07T16:55:02Z\n"
         "R2,top,1k,0603,no,\nC1,bottom,100n,0402,yes,\n",
         {top("R1", kFiveToFive), {"C1", Face::Bottom, 0}}},
        {"not placed and not fitted rows give nothing",
         std::string(kNames) + "R1,top,1k,0603,no,\r\nR2,top,1k,0603,DNP,\r\n",
         {}},
        {"placed in any case, cells with blanks",
         std::string(kNames) + "R1, TOP ,1k,0603, Yes ,\r\nR2,Bottom,1k,0603,YES,\r\n",
         {top("R1"), {"R2", Face::Bottom, 0}}},
        {"a face named neither way",
         std::string(kNames) + "R1,left,1k,0603,yes,\r\n",
         {{"R1", std::nullopt, 0}}},
        {"quoted cells, one with the separator and a doubled quote",
         std::string(kNames) + "\"R1\",\"top\",\"1k, 1%\",\"LED \"\"red\"\"\",\"yes\",\r\n",
         {top("R1")}},
        {"a quoted cell holding a line end",
         std::string(kNames) + "R1,top,\"two\r\nlines\",0603,yes,2026-12-07T17:00:00Z\r\n"
                               "R2,top,1k,0603,yes,\r\n",
         {top("R1", kFive), top("R2")}},
        {"a UTF-8 byte order mark",
         "\xEF\xBB\xBF" + std::string(kNames) + "R1,top,1k,0603,yes,\r\n",
         {top("R1")}},
        {"lone carriage returns",
         "Designator,Face,Placed\rR1,top,yes\rR2,top,yes\r",
         {top("R1"), top("R2")}},
        {"semicolons and another column order, names in any case",
         "placed;TIME PLACED;designator;face\nyes;2026-12-07 17:00:00;R1;top\n",
         {top("R1", kFive)}},
        {"tabs, without the time column", "Designator\tFace\tPlaced\nU1\ttop\tyes\n", {top("U1")}},
        {"a title above the name row, empty and emptied rows",
         "Board 7 progress\n\nDesignator,Face,Placed\n,,\n\nR1,top,yes\n",
         {top("R1")}},
        {"a leap second, on into the next minute",
         "Designator,Face,Placed,Time placed\nR1,top,yes,2026-12-07T16:59:60Z\n",
         {top("R1", kFive)}},
        {"times not as written: nothing known",
         "Designator,Face,Placed,Time placed\nR1,top,yes,07.12.2026 17:00\nR2,top,yes,"
         "2026-13-07T17:00:00Z\nR3,top,yes,2026-12-07T24:00:00Z\nR4,top,yes,"
         "2026/12/07T17:00:00Z\nR5,top,yes,2026-12-07X17:00:00\n",
         {top("R1"), top("R2"), top("R3"), top("R4"), top("R5")}},
        {"columns apart by blanks, an empty last row",
         "Designator  Face Placed\nR1 top yes\n\n",
         {top("R1")}},
        {"a row without a designator",
         "Designator,Face,Placed\n,top,yes\nR1,top,yes\n",
         {top("R1")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Result<std::vector<ProgressMark>> read = ReadProgressFile(TempFile(c.text).path());
        ASSERT_TRUE(read.ok()) << read.failure().text;
        EXPECT_EQ(read.value(), c.marks);
    }
}

TEST(ProgressReader, ReadsUtf16AsSpreadsheetsSaveUnicodeText) {
    const Result<std::vector<ProgressMark>> read = ReadProgressFile(
        TempFile("\xFF\xFE" +
                 Utf16Bytes(u"Designator\tFace\tPlaced\r\nR\u00E91\ttop\tyes\r\n", false))
            .path());
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value(), (std::vector<ProgressMark>{{"R\xC3\xA9"
                                                        "1",
                                                        Face::Top, 0}}));
}

// Each refusal, with its message.
TEST(ProgressReader, RefusesWhatIsNoProgressFile) {
    struct Case {
        const char* name;
        std::string text;
        std::string message;
    };
    const std::string noNames =
        "No row naming the columns Designator, Face and Placed in the first 40 lines of progress "
        "file";
    const std::vector<Case> cases = {
        {"a placement file", "Ref,Val,Package,PosX,PosY,Rot,Side\nR1,1k,0603,1,2,0,top\n", noNames},
        {"no face column", "Designator,Placed\nR1,yes\n", noNames},
        {"the name row below line 40", std::string(40, '\n') + "Designator,Face,Placed\n", noNames},
        {"an empty file", "", noNames},
        {"a quoted cell that never ends",
         "Designator,Face,Placed\nR1,top,yes\nR2,\"top,yes\nR3,top,yes\n",
         "Unterminated string from line 3 of progress file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Result<std::vector<ProgressMark>> read = ReadProgressFile(TempFile(c.text).path());
        EXPECT_EQ(read ? "" : read.failure().text, c.message);
    }
    const Result<std::vector<ProgressMark>> missing = ReadProgressFile("/nonexistent/progress.csv");
    EXPECT_EQ(missing ? "" : missing.failure().text, "Error opening progress file");
}

} // namespace
} // namespace kavelto
