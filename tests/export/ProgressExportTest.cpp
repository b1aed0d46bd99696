#include "ProgressExport.h"
#include "TempFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace kavelto {
namespace {

PartRecord Part(const char* designator, char layer, const char* value, bool placed) {
    PartRecord part;
    part.designator = designator;
    part.layer = layer;
    part.value = value;
    part.package = "0603";
    part.placed = placed;
    return part;
}

// A placed part with its time, one placed before this run (no time), one not placed, one left
// off the board though marked placed, a bottom part with a value that must be quoted.
TEST(ProgressExport, EveryPartWithItsStateAndTime) {
    PartTable table;
    table.append(Part("R1", 'T', "10k", true));
    table.append(Part("R2", 'T', "10k", true));
    table.append(Part("R3", 'T', "10k", false));
    table.append(Part("R4", 'T', "10k", true));
    table.append(Part("C1", 'B', "100n, \"X7R\"", true));
    BomState bom;
    bom.partsLoaded(table, std::nullopt);
    bom.toggleByHand(3);
    // 2026-12-07 16:55:02 UTC, and a minute later.
    const std::vector<std::int64_t> placedAt = {1796662502, 0, 0, 1796662502, 1796662562};
    EXPECT_EQ(ProgressCsv(table, bom, placedAt),
              "Designator,Face,Value,Package,Placed,Time placed\n"
              "R1,top,10k,0603,yes,2026-12-07T16:55:02Z\n"
              "R2,top,10k,0603,yes,\n"
              "R3,top,10k,0603,no,\n"
              "R4,top,10k,0603,DNP,\n"
              "C1,bottom,\"100n, \"\"X7R\"\"\",0603,yes,2026-12-07T16:56:02Z\n");
}

TEST(ProgressExport, WritesTheFileOrSaysWhy) {
    const TempFile file("old");
    ASSERT_TRUE(WriteProgressFile(file.path(), "new\n"));
    std::ifstream in(file.path());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "new\n");
    EXPECT_EQ(WriteProgressFile("/nonexistent/folder/progress.csv", "x").failure().text,
              "Can't write progress file");
}

} // namespace
} // namespace kavelto
