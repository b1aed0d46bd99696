#include "ColumnMapText.h"
#include "parts/Face.h"
#include "placement/PlacementReader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>

namespace kavelto {
namespace {

// A sample file written after the shape its design tool exports (header blocks, quoting, units
// and encodings as the tool writes them), read with the README's recipes: line 3 auto, and the
// classic column numbers where the README gives them. The count of parts read, and the part that
// shows most of its format (the bottom face, a quoted value, a unit, a long text) as its tool meant
// it, "designator|face|x|y|value|package" with the face T or B, at its place in the table.
struct Sample {
    const char* file; // under tests/data/formats
    int count, index;
    std::string part;
    const char* classic = nullptr;
};

std::string Describe(const PartRecord& p) {
    std::ostringstream out;
    out << p.designator << '|' << (IsOnFace(p.layer, Face::Bottom) ? 'B' : 'T') << '|' << p.x << '|'
        << p.y << '|' << p.value << '|' << p.package;
    return out.str();
}

const Sample kSamples[] = {
    {"kicad.csv", 5, 1, "D1|T|120.65|-65.405|LED 0603 \"red\"|LED_0603_1608Metric"},
    {"kicad.pos", 6, 3, "R12|B|115.57|-74.93|4k7|R_0603_1608Metric_Pad0.98x0.95mm_HandSolder"},
    {"altium.csv", 4, 1, "R12|B|30.48|12.7|4k7|RESC1608X55N", "13\n,\n1,5,2,6,3,4,7\n"},
    {"altium.txt", 4, 3,
     "U1|T|22.86|20.32|STM32F103C8T6 ARM Cortex-M3 MCU 72 MHz 64 KB Flash 20 KB SRAM 2.0-3.6 V "
     "LQFP-48 industrial temperature range|QFP50P900X900X160-48N_IPC7351B_DensityLevelB_"
     "NominalTolerance_WithThermalVias_AssemblyOutline_CourtyardLayer"},
    {"jlcpcb-cpl.csv", 5, 3, "R12|B|30.48|12.7|4k7|0603", "1\n,\n1,5,6,3,4,7,2\n"},
    {"easyeda.csv", 4, 1, "R12|B|30.48|12.7|4.7k\xCE\xA9|R0603"},
    {"librepcb.csv", 4, 1, "D1|T|20.32|25.4|LED \"red\"|LED-0603"},
    {"horizon.csv", 4, 1, "R12|B|30.48|12.7|4k7|R0603", "1\n,\n1,5,6,3,4,7,2\n"},
    {"eagle.mnt", 4, 3, "LED1|T|20.32|25.4|red LED|CHIPLED_0603"},
    {"eagle.mnb", 3, 0, "R12|B|30.48|12.7|4k7|R0603"},
    {"fusion-jlcpcb.csv", 3, 2, "R12|B|30.48|12.7||", "1\n,\n1,3,4,2,7\n"},
    {"spreadsheet.csv", 4, 2, "R12|B|115.57|-74.93|4k7|R_0603_1608Metric", "1\n;\n1,5,6,3,4,7,2\n"},
    {"protel.txt", 4, 3, "U1|T|1500|800|LM358|SOIC8"},
};

TEST(PlacementFormats, LoadEveryPartRight) {
    for (const Sample& sample : kSamples) {
        for (const char* ini : {"0\n-\nauto\n", sample.classic}) {
            if (!ini)
                continue;
            const Result<PlacementParts> result = ReadPlacementFile(
                std::string(TEST_DATA_DIR "/formats/") + sample.file, ColumnMapFromText(ini));
            ASSERT_TRUE(result) << sample.file << " with " << ini << ": " << result.failure().text;
            const PartTable& table = result->table;
            EXPECT_EQ(std::make_tuple(result->notice.has_value(), table.partCount(),
                                      sample.index < table.partCount()
                                          ? Describe(table.part(sample.index))
                                          : std::string()),
                      std::make_tuple(false, sample.count, sample.part))
                << sample.file << " with " << ini;
        }
    }
}

} // namespace
} // namespace kavelto
