#include "ColumnMapText.h"
#include "Face.h"
#include "PlacementReader.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace kavelto {
namespace {

// A sample file written after the shape its design tool exports (header blocks, quoting, units
// and encodings as the tool writes them), read with the README's recipes: line 3 auto, and the
// classic recipe where the README gives one. Each part as its tool meant it:
// "designator|face|x|y|value|package", the face T or B.
struct Sample {
    Sample(const char* name, const char* file, const char* classicIni,
           std::vector<std::string> parts)
        : name(name), file(file), classicIni(classicIni), parts(std::move(parts)) {}

    const char* name;
    const char* file; // under tests/data/formats
    const char* classicIni;
    std::vector<std::string> parts;
};

std::string Describe(const PartRecord& p) {
    std::ostringstream out;
    out << p.designator << '|' << (IsOnFace(p.layer, Face::Bottom) ? 'B' : 'T') << '|' << p.x << '|'
        << p.y << '|' << p.value << '|' << p.package;
    return out.str();
}

const Sample kSamples[] = {
    Sample("KiCad CSV", "kicad.csv", nullptr,
           {"C1|T|112.776|-71.12|100nF|C_0603_1608Metric",
            "D1|T|120.65|-65.405|LED 0603 \"red\"|LED_0603_1608Metric",
            "J1|T|101.6|-80.01||PinHeader_1x02_P2.54mm_Vertical",
            "R12|B|115.57|-74.93|4k7|R_0603_1608Metric",
            "U1|T|110.49|-60.96|STM32F103C8Tx|LQFP-48_7x7mm_P0.5mm"}),
    Sample("KiCad ASCII", "kicad.pos", nullptr,
           {"C1|T|112.776|-71.12|100nF|C_0603_1608Metric",
            "C7|T|130.81|-55.88|470uF|CP_Radial_D8.0mm_P5.00mm",
            "J1|T|101.6|-80.01||PinHeader_1x02_P2.54mm_Vertical",
            "R12|B|115.57|-74.93|4k7|R_0603_1608Metric_Pad0.98x0.95mm_HandSolder",
            "R13|B|118.11|-74.93|4k7|R_0603_1608Metric_Pad1.05x0.95mm_HandSolder",
            "UART_EN201|T|125.73|-60.96|JUMPER|SolderJumper-2_P1.3mm_Open_Pad1.0x1.5mm"}),
    Sample("Altium CSV", "altium.csv", "13\n,\n1,5,2,6,3,4,7\n",
           {"C1|T|12.7|25.4|100nF|CAPC1608X90N", "R12|B|30.48|12.7|4k7|RESC1608X55N",
            "TP1|T|5.08|5.08||TESTPOINT_1MM",
            "U1|T|22.86|20.32|STM32F103C8T6|QFP50P900X900X160-48N"}),
    Sample(
        "Altium text", "altium.txt", nullptr,
        {"C1|T|12.7|25.4|100nF|CAPC1608X90N", "R12|B|30.48|12.7|4k7|RESC1608X55N",
         "TP1|T|5.08|5.08||TESTPOINT_1MM",
         "U1|T|22.86|20.32|STM32F103C8T6 ARM Cortex-M3 MCU 72 MHz 64 KB Flash 20 KB SRAM 2.0-3.6 V "
         "LQFP-48 industrial temperature range|QFP50P900X900X160-48N_IPC7351B_DensityLevelB_"
         "NominalTolerance_WithThermalVias_AssemblyOutline_CourtyardLayer"}),
    Sample("JLCPCB CPL", "jlcpcb-cpl.csv", "1\n,\n1,5,6,3,4,7,2\n",
           {"C1|T|12.7|25.4|100nF|0603", "Q1|T|40.64|30.48|BSS138|Package_TO_SOT_SMD:SOT-23",
            "U2|T|45.72|30.48|AP2112K-3.3|Package_TO_SOT_SMD:SOT-23-5", "R12|B|30.48|12.7|4k7|0603",
            "H1|T|3.5|3.5||MountingHole_3.2mm_M3"}),
    Sample("EasyEDA", "easyeda.csv", nullptr,
           {"C1|T|12.7|25.4|100nF|C0603", "R12|B|30.48|12.7|4.7k\xCE\xA9|R0603",
            "U1|T|22.86|20.32|STM32F103C8T6|LQFP-48_L7.0-W7.0-P0.50-LS9.0-BL",
            "J1|T|101.6|80.01||HDR-M-2.54_1x2"}),
    Sample("LibrePCB", "librepcb.csv", nullptr,
           {"C1|T|12.7|25.4|100nF|C-0603", "D1|T|20.32|25.4|LED \"red\"|LED-0603",
            "R12|B|30.48|12.7|4k7|R-0603", "H1|T|3.5|3.5||HOLE-M3"}),
    Sample("Horizon EDA", "horizon.csv", "1\n,\n1,5,6,3,4,7,2\n",
           {"C1|T|12.7|25.4|100nF|C0603", "R12|B|30.48|12.7|4k7|R0603",
            "J1|T|101.6|-80.01||PinHeader-1x2", "U1|T|22.86|20.32|STM32F103C8T6|LQFP-48"}),
    Sample("Eagle mountsmd, top", "eagle.mnt", nullptr,
           {"C1|T|12.7|25.4|100nF|C0603", "U$1|T|22.86|20.32|STM32F103C8T6|LQFP48",
            "H1|T|3.5|3.5||MOUNT-HOLE3.2", "LED1|T|20.32|25.4|red LED|CHIPLED_0603"}),
    Sample("Eagle mountsmd, bottom", "eagle.mnb", nullptr,
           {"R12|B|30.48|12.7|4k7|R0603", "C20|B|35.56|12.7|10uF|C0805", "TP1|B|5.08|5.08||TP08R"}),
    Sample("Fusion through the JLCPCB exporter", "fusion-jlcpcb.csv", "1\n,\n1,3,4,2,7\n",
           {"C1|T|12.7|25.4||", "U$1|T|22.86|20.32||", "R12|B|30.48|12.7||"}),
    Sample("spreadsheet round trip", "spreadsheet.csv", "1\n;\n1,5,6,3,4,7,2\n",
           {"C1|T|112.776|-71.12|100nF|C_0603_1608Metric",
            "J1|T|101.6|-80.01||PinHeader_1x02_P2.54mm_Vertical",
            "R12|B|115.57|-74.93|4k7|R_0603_1608Metric",
            "U1|T|110.49|-60.96|STM32F103C8Tx|LQFP-48_7x7mm_P0.5mm"}),
    Sample("Protel text", "protel.txt", nullptr,
           {"C1|T|500|1000|100nF|0603", "R12|B|1200|500|4k7|0603", "TP1|T|200|200||TP1MM",
            "U1|T|1500|800|LM358|SOIC8"}),
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
            EXPECT_EQ(read, sample.parts);
        }
}

} // namespace
} // namespace kavelto
