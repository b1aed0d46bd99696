#include "app/PinOneTable.h"
#include "TempFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace kavelto {
namespace {

// The table is read whole up to 4 MiB; a larger file is no table of this program's and gives no
// corrections.
TEST(PinOneTable, ReadsATableUpToItsCap) {
    constexpr std::size_t kCap = std::size_t{4} * 1024 * 1024;
    const std::string line = "1 0 0\tSOT-23\n";
    const struct {
        const char* name;
        std::size_t bytes;
        int quarterTurns;
    } rows[] = {{"exactly the cap", kCap, 1}, {"one byte more", kCap + 1, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const TempFile file(line + std::string(row.bytes - line.size(), '\n'));
        EXPECT_EQ(PinOneTable(file.path()).corrections().of("SOT-23").quarterTurns,
                  row.quarterTurns);
    }
}

// A table that can't be written says so, and the correction holds for this run.
TEST(PinOneTable, SaysSoWhenItCannotBeWritten) {
    const TempFile blocker("not a folder");
    PinOneTable table(blocker.path() + "/pin1.txt");
    const Result<void> kept = table.set("SOT-23", {1, false, false});
    ASSERT_FALSE(kept.ok());
    EXPECT_EQ(kept.failure().text.rfind("Can't keep the pin 1 corrections in " + blocker.path(), 0),
              0u);
    EXPECT_EQ(table.corrections().of("SOT-23").quarterTurns, 1);
}

} // namespace
} // namespace kavelto
