#include "ColumnMapText.h"
#include "parts/Face.h"
#include "placement/PlacementReader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace kavelto {
namespace {

// A sample file written after the shape its design tool exports (header blocks, quoting, units,
// line ends and encodings as the tool writes them), read with the README's recipes: line 3 auto,
// and the classic column numbers where the README gives them. Every part of the file, in file
// order, as "designator|face|x|y|value|package|rotation" with the face T or B.
struct Sample {
    const char* file; // under tests/data/formats
    std::vector<std::string> parts;
    const char* classic = nullptr;
    bool classicReadsRotation = true; // false where the rotation column lies beyond the seventh
};

std::string Describe(const PartRecord& p) {
    std::ostringstream out;
    out << p.designator << '|' << (IsOnFace(p.layer, Face::Bottom) ? 'B' : 'T') << '|' << p.x << '|'
        << p.y << '|' << p.value << '|' << p.package << '|' << p.rotation;
    return out.str();
}

// The parts as a layout without a rotation column reads them: rotation 0.
std::vector<std::string> WithoutRotation(std::vector<std::string> parts) {
    for (std::string& part : parts)
        part = part.substr(0, part.rfind('|') + 1) + "0";
    return parts;
}

const Sample kSamples[] = {
    {"kicad.csv",
     {"C1|T|112.776|-71.12|100nF|C_0603_1608Metric|90",
      "D1|T|120.65|-65.405|LED 0603 \"red\"|LED_0603_1608Metric|180",
      "J1|T|101.6|-80.01||PinHeader_1x02_P2.54mm_Vertical|0",
      "R12|B|115.57|-74.93|4k7|R_0603_1608Metric|-90",
      "U1|T|110.49|-60.96|STM32F103C8Tx|LQFP-48_7x7mm_P0.5mm|45"},
     "1\n,\n1,5,6,3,4,7,2\n"},
    {"kicad.pos",
     {"C1|T|112.776|-71.12|100nF|C_0603_1608Metric|90",
      "C7|T|130.81|-55.88|470uF|CP_Radial_D8.0mm_P5.00mm|0",
      "J1|T|101.6|-80.01||PinHeader_1x02_P2.54mm_Vertical|0",
      "R12|B|115.57|-74.93|4k7|R_0603_1608Metric_Pad0.98x0.95mm_HandSolder|-90",
      "R13|B|118.11|-74.93|4k7|R_0603_1608Metric_Pad1.05x0.95mm_HandSolder|-90",
      "UART_EN201|T|125.73|-60.96|JUMPER|SolderJumper-2_P1.3mm_Open_Pad1.0x1.5mm|180"}},
    {"altium.csv",
     {"C1|T|12.7|25.4|100nF|CAPC1608X90N|90", "R12|B|30.48|12.7|4k7|RESC1608X55N|270",
      "TP1|T|5.08|5.08||TESTPOINT_1MM|0",
      "U1|T|22.86|20.32|STM32F103C8T6|QFP50P900X900X160-48N|45"},
     "13\n,\n1,5,2,6,3,4,7\n"},
    {"altium.txt",
     {"C1|T|12.7|25.4|100nF|CAPC1608X90N|90", "R12|B|30.48|12.7|4k7|RESC1608X55N|270",
      "TP1|T|5.08|5.08||TESTPOINT_1MM|0",
      "U1|T|22.86|20.32|STM32F103C8T6 ARM Cortex-M3 MCU 72 MHz 64 KB Flash 20 KB SRAM 2.0-3.6 V "
      "LQFP-48 industrial temperature range|QFP50P900X900X160-48N_IPC7351B_DensityLevelB_"
      "NominalTolerance_WithThermalVias_AssemblyOutline_CourtyardLayer|45"}},
    {"jlcpcb-cpl.csv",
     {"C1|T|12.7|25.4|100nF|0603|90", "Q1|T|40.64|30.48|BSS138|Package_TO_SOT_SMD:SOT-23|180",
      "U2|T|45.72|30.48|AP2112K-3.3|Package_TO_SOT_SMD:SOT-23-5|0", "R12|B|30.48|12.7|4k7|0603|270",
      "H1|T|3.5|3.5||MountingHole_3.2mm_M3|0"},
     "1\n,\n1,5,6,3,4,7,2\n"},
    {"easyeda.csv",
     {"C1|T|12.7|25.4|100nF|C0603|90", "R12|B|30.48|12.7|4.7k\xCE\xA9|R0603|270",
      "U1|T|22.86|20.32|STM32F103C8T6|LQFP-48_L7.0-W7.0-P0.50-LS9.0-BL|45",
      "J1|T|101.6|80.01||HDR-M-2.54_1x2|0"}},
    {"librepcb.csv",
     {"C1|T|12.7|25.4|100nF|C-0603|90", "D1|T|20.32|25.4|LED \"red\"|LED-0603|0",
      "R12|B|30.48|12.7|4k7|R-0603|270", "H1|T|3.5|3.5||HOLE-M3|0"}},
    {"horizon.csv",
     {"C1|T|12.7|25.4|100nF|C0603|90", "R12|B|30.48|12.7|4k7|R0603|270",
      "J1|T|101.6|-80.01||PinHeader-1x2|0", "U1|T|22.86|20.32|STM32F103C8T6|LQFP-48|45"},
     "1\n,\n1,5,6,3,4,7,2\n"},
    {"eagle.mnt",
     {"C1|T|12.7|25.4|100nF|C0603|90", "U$1|T|22.86|20.32|STM32F103C8T6|LQFP48|45",
      "H1|T|3.5|3.5||MOUNT-HOLE3.2|0", "LED1|T|20.32|25.4|red LED|CHIPLED_0603|180"}},
    {"eagle.mnb",
     {"R12|B|30.48|12.7|4k7|R0603|270", "C20|B|35.56|12.7|10uF|C0805|90",
      "TP1|B|5.08|5.08||TP08R|0"}},
    {"fusion-jlcpcb.csv",
     {"C1|T|12.7|25.4|||90", "U$1|T|22.86|20.32|||45", "R12|B|30.48|12.7|||270"},
     "1\n,\n1,3,4,2,7\n"},
    {"spreadsheet.csv",
     {"C1|T|112.776|-71.12|100nF|C_0603_1608Metric|90",
      "J1|T|101.6|-80.01||PinHeader_1x02_P2.54mm_Vertical|0",
      "R12|B|115.57|-74.93|4k7|R_0603_1608Metric|-90",
      "U1|T|110.49|-60.96|STM32F103C8Tx|LQFP-48_7x7mm_P0.5mm|45"},
     "1\n;\n1,5,6,3,4,7,2\n"},
    {"spreadsheet-mac.csv",
     {"C1|T|112.776|-71.12|100nF|C_0603_1608Metric|90",
      "J1|T|101.6|-80.01||PinHeader_1x02_P2.54mm_Vertical|0",
      "R12|B|115.57|-74.93|4k7|R_0603_1608Metric|-90"},
     "1\n,\n1,5,6,3,4,7,2\n"},
    {"protel.txt",
     {"C1|T|500|1000|100nF|0603|90", "R12|B|1200|500|4k7|0603|270", "TP1|T|200|200||TP1MM|0",
      "U1|T|1500|800|LM358|SOIC8|180"}},
    {"diptrace.csv",
     {"C1|T|12.7|25.4|100nF|CAP_0603|90", "R12|B|30.48|12.7|4k7|RES_0603|270",
      "J1|T|101.6|80.01||PLS-2|0", "U1|T|22.86|20.32|STM32F103C8T6|LQFP-48|45"},
     "1\n,\n1,0,5,6,3,4,2\n",
     false},
    {"geda.xy",
     {"C1|T|500|1000|100nF|0603|90", "R12|B|1200|500|4k7|0603|270", "J1|T|4000|3150||HEADER2|0",
      "U1|T|900|800|STM32F103C8T6|LQFP48_7|45"},
     "8\n,\n1,6,5,3,4,7,2\n"},
    {"pcb-rnd-kicad.pos",
     {"C1|T|12.7|25.4|100nF|0603|90", "R12|B|30.48|12.7|4k7|0603|270",
      "J1|T|101.6|80.01||HEADER2|0"}},
    {"macrofab.xyrs",
     {"C1|T|500|1000|100nF|0603|90", "R12|B|1200|500|4k7|0603|270", "J1|T|4000|3150||HEADER2|0",
      "U1|T|900|800|STM32F103C8T6|LQFP48|45"}},
    {"allegro-report.txt",
     {"C1|T|500|1000|100nF|C0603|90", "R12|B|1200|500|4k7|R0603|270", "J1|T|4000|3150||HDR2|0",
      "U1|T|900|800|STM32F103C8T6|LQFP48|45"}},
    {"circuitmaker.csv",
     {"C1|T|500|1000|100nF|CAPC1608X90N|90", "R12|B|1200|500|4k7|RESC1608X55N|270",
      "TP1|T|200|200||TESTPOINT_1MM|0"},
     "13\n,\n1,5,2,6,3,4,7\n"},
    {"pulsonix.txt",
     {"C1|T|12.7|25.4||100nF|90", "R12|B|30.48|12.7||4k7|270", "J1|T|101.6|80.01|||0",
      "IC1|T|22.86|20.32||16F88 (SSOP)|45"}},
    {"fritzing_pnp.txt",
     {"R1|T|12.7|-25.4|220\xCE\xA9|0805 [SMD]|90", "J1|B|30.48|-12.7||THT|180",
      "C1|B|5.08|-5.08|100nF|0603 [SMD]|0"}},
    {"pcbway.csv",
     {"C1|T|12.7|25.4|100nF|0603|90", "R12|B|30.48|12.7|4k7|0603|270", "TP1|T|5.08|5.08||TP1MM|0"}},
    {"place_txt.txt",
     {"C1|T|500|1000||C0603|90", "R12|B|1200|500||R0603|270", "J1|T|4000|3150||HDR2|0",
      "U1|T|900|800||LQFP48|45"}},
    {"pcb-rnd.gxyrs",
     {"C1|T|500|1000|100nF|0603|90", "R12|B|1200|500|4k7|0603|270", "J1|T|4000|3150||HEADER2|0",
      "U1|T|900|800|STM32F103C8T6|LQFP48_7|45"}},
    {"pcb-rnd-macrofab.xyrs",
     {"C1|T|500|1000|100nF|0603|-90", "R12|B|1200|500|4k7|0603|-270", "J1|T|4000|3150||HEADER2|0",
      "U1|T|900|800|STM32F103C8T6|LQFP48_7|-45"}},
    {"pcb-rnd-macrofab-old.xyrs",
     {"C1|T|500|1000|100nF|0603|180", "R12|B|1200|500|4k7|0603|0", "J1|T|4000|3150||HEADER2|270",
      "U1|T|900|800|STM32F103C8T6|LQFP48_7|225"}},
};

TEST(PlacementFormats, LoadEveryPartRight) {
    for (const Sample& sample : kSamples) {
        for (const char* ini : {"0\n-\nauto\n", sample.classic}) {
            if (!ini)
                continue;
            const Result<PlacementParts> result = ReadPlacementFile(
                std::string(TEST_DATA_DIR "/formats/") + sample.file, ColumnMapFromText(ini));
            ASSERT_TRUE(result) << sample.file << " with " << ini << ": " << result.failure().text;
            std::vector<std::string> parts;
            for (int i = 0; i < result->table.partCount(); ++i)
                parts.push_back(Describe(result->table.part(i)));
            const bool rotated = ini != sample.classic || sample.classicReadsRotation;
            EXPECT_EQ(std::make_pair(result->notice.has_value(), parts),
                      std::make_pair(false, rotated ? sample.parts : WithoutRotation(sample.parts)))
                << sample.file << " with " << ini;
        }
    }
}

} // namespace
} // namespace kavelto
