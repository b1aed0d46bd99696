#include "ColumnMapText.h"
#include "Face.h"
#include "PlacementReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace kavelto {
namespace {

// A sample file written after the shape its design tool exports (header blocks, quoting, units
// and encodings as the tool writes them), read with the README's recipes: line 3 auto, and the
// classic recipe where the README gives one. The count of parts read, and the part that shows most
// of its format (the bottom face, a quoted value, a unit, a long text) as its tool meant it:
// "designator|face|x|y|value|package", the face T or B.
struct Sample {
    const char* name;
    const char* file; // under tests/data/formats
    const char* classicIni;
    std::size_t count;
    std::string part;
};

std::string Describe(const PartRecord& p) {
    std::ostringstream out;
    out << p.designator << '|' << (IsOnFace(p.layer, Face::Bottom) ? 'B' : 'T') << '|' << p.x << '|'
        << p.y << '|' << p.value << '|' << p.package;
    return out.str();
}

const Sample kSamples[] = {
    {"KiCad CSV", "kicad.csv", nullptr, 5,
     "D1|T|120.65|-65.405|LED 0603 \"red\"|LED_0603_1608Metric"},
    {"KiCad ASCII", "kicad.pos", nullptr, 6,
     "R12|B|115.57|-74.93|4k7|R_0603_1608Metric_Pad0.98x0.95mm_HandSolder"},
    {"Altium CSV", "altium.csv", "13\n,\n1,5,2,6,3,4,7\n", 4, "R12|B|30.48|12.7|4k7|RESC1608X55N"},
    {"Altium text", "altium.txt", nullptr, 4,
     "U1|T|22.86|20.32|STM32F103C8T6 ARM Cortex-M3 MCU 72 MHz 64 KB Flash 20 KB SRAM 2.0-3.6 V "
     "LQFP-48 industrial temperature range|QFP50P900X900X160-48N_IPC7351B_DensityLevelB_"
     "NominalTolerance_WithThermalVias_AssemblyOutline_CourtyardLayer"},
    {"JLCPCB CPL", "jlcpcb-cpl.csv", "1\n,\n1,5,6,3,4,7,2\n", 5, "R12|B|30.48|12.7|4k7|0603"},
    {"EasyEDA", "easyeda.csv", nullptr, 4, "R12|B|30.48|12.7|4.7k\xCE\xA9|R0603"},
    {"LibrePCB", "librepcb.csv", nullptr, 4, "D1|T|20.32|25.4|LED \"red\"|LED-0603"},
    {"Horizon EDA", "horizon.csv", "1\n,\n1,5,6,3,4,7,2\n", 4, "R12|B|30.48|12.7|4k7|R0603"},
    {"Eagle mountsmd, top", "eagle.mnt", nullptr, 4, "LED1|T|20.32|25.4|red LED|CHIPLED_0603"},
    {"Eagle mountsmd, bottom", "eagle.mnb", nullptr, 3, "R12|B|30.48|12.7|4k7|R0603"},
    {"Fusion through the JLCPCB exporter", "fusion-jlcpcb.csv", "1\n,\n1,3,4,2,7\n", 3,
     "R12|B|30.48|12.7||"},
    {"spreadsheet round trip", "spreadsheet.csv", "1\n;\n1,5,6,3,4,7,2\n", 4,
     "R12|B|115.57|-74.93|4k7|R_0603_1608Metric"},
    {"Protel text", "protel.txt", nullptr, 4, "U1|T|1500|800|LM358|SOIC8"},
};

TEST(PlacementFormats, LoadEveryPartRight) {
    for (const Sample& sample : kSamples)
        for (const char* ini : {"0\n-\nauto\n", sample.classicIni}) {
            if (!ini)
                continue;
            SCOPED_TRACE(std::string(sample.name) + " with " + ini);
            auto table = std::make_unique<PartTable>();
            const PlacementReadResult result =
                ReadPlacementFile(std::string(TEST_DATA_DIR "/formats/") + sample.file,
                                  ColumnMapFromText(ini), *table);
            EXPECT_EQ(result.error ? result.error.message() : "", "");
            std::vector<std::string> read;
            for (int i = 0; i < result.count; ++i)
                read.push_back(Describe(table->parts[i]));
            EXPECT_EQ(read.size(), sample.count);
            EXPECT_NE(std::find(read.begin(), read.end(), sample.part), read.end()) << sample.part;
        }
}

} // namespace
} // namespace kavelto
