#include "ColumnMapText.h"
#include "Face.h"
#include "PlacementReader.h"

#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <string>
#include <vector>

namespace kavelto {
namespace {

// What a part of a sample file holds, as its design tool meant it.
struct SamplePart {
    const char* designator;
    Face face;
    float x, y;
    const char* value;
    const char* package;
};

constexpr Face T = Face::Top;
constexpr Face B = Face::Bottom;

// The configuration recipes of the README, each with a sample file written after the shape its
// tool exports: header blocks, quoting, units and encodings as the tool writes them.
struct Recipe {
    const char* name;
    const char* ini;
    const char* file; // under tests/data/formats
    std::vector<SamplePart> parts;
};

const char* const kAuto = "0\n-\nauto\n";

const std::vector<SamplePart> kKicadCsv = {
    {"C1", T, 112.776f, -71.12f, "100nF", "C_0603_1608Metric"},
    {"D1", T, 120.65f, -65.405f, "LED 0603 \"red\"", "LED_0603_1608Metric"},
    {"J1", T, 101.6f, -80.01f, "", "PinHeader_1x02_P2.54mm_Vertical"},
    {"R12", B, 115.57f, -74.93f, "4k7", "R_0603_1608Metric"},
    {"U1", T, 110.49f, -60.96f, "STM32F103C8Tx", "LQFP-48_7x7mm_P0.5mm"},
};
const std::vector<SamplePart> kKicadPos = {
    {"C1", T, 112.776f, -71.12f, "100nF", "C_0603_1608Metric"},
    {"C7", T, 130.81f, -55.88f, "470uF", "CP_Radial_D8.0mm_P5.00mm"},
    {"J1", T, 101.6f, -80.01f, "", "PinHeader_1x02_P2.54mm_Vertical"},
    {"R12", B, 115.57f, -74.93f, "4k7", "R_0603_1608Metric_Pad0.98x0.95mm_HandSolder"},
    {"R13", B, 118.11f, -74.93f, "4k7", "R_0603_1608Metric_Pad1.05x0.95mm_HandSolder"},
    {"UART_EN201", T, 125.73f, -60.96f, "JUMPER", "SolderJumper-2_P1.3mm_Open_Pad1.0x1.5mm"},
};
const std::vector<SamplePart> kAltium = {
    {"C1", T, 12.7f, 25.4f, "100nF", "CAPC1608X90N"},
    {"R12", B, 30.48f, 12.7f, "4k7", "RESC1608X55N"},
    {"TP1", T, 5.08f, 5.08f, "", "TESTPOINT_1MM"},
    {"U1", T, 22.86f, 20.32f, "STM32F103C8T6", "QFP50P900X900X160-48N"},
};
const std::vector<SamplePart> kAltiumText = {
    kAltium[0],
    kAltium[1],
    kAltium[2],
    {"U1", T, 22.86f, 20.32f,
     "STM32F103C8T6 ARM Cortex-M3 MCU 72 MHz 64 KB Flash 20 KB SRAM 2.0-3.6 V LQFP-48 "
     "industrial temperature range",
     "QFP50P900X900X160-48N_IPC7351B_DensityLevelB_NominalTolerance_WithThermalVias_"
     "AssemblyOutline_CourtyardLayer"},
};
const std::vector<SamplePart> kJlcpcb = {
    {"C1", T, 12.7f, 25.4f, "100nF", "0603"},
    {"Q1", T, 40.64f, 30.48f, "BSS138", "Package_TO_SOT_SMD:SOT-23"},
    {"U2", T, 45.72f, 30.48f, "AP2112K-3.3", "Package_TO_SOT_SMD:SOT-23-5"},
    {"R12", B, 30.48f, 12.7f, "4k7", "0603"},
    {"H1", T, 3.5f, 3.5f, "", "MountingHole_3.2mm_M3"},
};
const std::vector<SamplePart> kEasyeda = {
    {"C1", T, 12.7f, 25.4f, "100nF", "C0603"},
    {"R12", B, 30.48f, 12.7f, "4.7k\xCE\xA9", "R0603"},
    {"U1", T, 22.86f, 20.32f, "STM32F103C8T6", "LQFP-48_L7.0-W7.0-P0.50-LS9.0-BL"},
    {"J1", T, 101.6f, 80.01f, "", "HDR-M-2.54_1x2"},
};
const std::vector<SamplePart> kLibrepcb = {
    {"C1", T, 12.7f, 25.4f, "100nF", "C-0603"},
    {"D1", T, 20.32f, 25.4f, "LED \"red\"", "LED-0603"},
    {"R12", B, 30.48f, 12.7f, "4k7", "R-0603"},
    {"H1", T, 3.5f, 3.5f, "", "HOLE-M3"},
};
const std::vector<SamplePart> kHorizon = {
    {"C1", T, 12.7f, 25.4f, "100nF", "C0603"},
    {"R12", B, 30.48f, 12.7f, "4k7", "R0603"},
    {"J1", T, 101.6f, -80.01f, "", "PinHeader-1x2"},
    {"U1", T, 22.86f, 20.32f, "STM32F103C8T6", "LQFP-48"},
};
const std::vector<SamplePart> kEagleTop = {
    {"C1", T, 12.7f, 25.4f, "100nF", "C0603"},
    {"U$1", T, 22.86f, 20.32f, "STM32F103C8T6", "LQFP48"},
    {"H1", T, 3.5f, 3.5f, "", "MOUNT-HOLE3.2"},
    {"LED1", T, 20.32f, 25.4f, "red LED", "CHIPLED_0603"},
};
const std::vector<SamplePart> kEagleBottom = {
    {"R12", B, 30.48f, 12.7f, "4k7", "R0603"},
    {"C20", B, 35.56f, 12.7f, "10uF", "C0805"},
    {"TP1", B, 5.08f, 5.08f, "", "TP08R"},
};
const std::vector<SamplePart> kFusion = {
    {"C1", T, 12.7f, 25.4f, "", ""},
    {"U$1", T, 22.86f, 20.32f, "", ""},
    {"R12", B, 30.48f, 12.7f, "", ""},
};
const std::vector<SamplePart> kSpreadsheet = {
    {"C1", T, 112.776f, -71.12f, "100nF", "C_0603_1608Metric"},
    {"J1", T, 101.6f, -80.01f, "", "PinHeader_1x02_P2.54mm_Vertical"},
    {"R12", B, 115.57f, -74.93f, "4k7", "R_0603_1608Metric"},
    {"U1", T, 110.49f, -60.96f, "STM32F103C8Tx", "LQFP-48_7x7mm_P0.5mm"},
};
const std::vector<SamplePart> kProtel = {
    {"C1", T, 500.0f, 1000.0f, "100nF", "0603"},
    {"R12", B, 1200.0f, 500.0f, "4k7", "0603"},
    {"TP1", T, 200.0f, 200.0f, "", "TP1MM"},
    {"U1", T, 1500.0f, 800.0f, "LM358", "SOIC8"},
};

const Recipe kRecipes[] = {
    {"KiCad CSV", kAuto, "kicad.csv", kKicadCsv},
    {"KiCad ASCII", kAuto, "kicad.pos", kKicadPos},
    {"Altium CSV", kAuto, "altium.csv", kAltium},
    {"Altium CSV, classic", "13\n,\n1,5,2,6,3,4,7\n", "altium.csv", kAltium},
    {"Altium text", kAuto, "altium.txt", kAltiumText},
    {"JLCPCB CPL", kAuto, "jlcpcb-cpl.csv", kJlcpcb},
    {"JLCPCB CPL, classic", "1\n,\n1,5,6,3,4,7,2\n", "jlcpcb-cpl.csv", kJlcpcb},
    {"EasyEDA", kAuto, "easyeda.csv", kEasyeda},
    {"LibrePCB", kAuto, "librepcb.csv", kLibrepcb},
    {"Horizon EDA", kAuto, "horizon.csv", kHorizon},
    {"Horizon EDA, classic", "1\n,\n1,5,6,3,4,7,2\n", "horizon.csv", kHorizon},
    {"Eagle mountsmd, top", kAuto, "eagle.mnt", kEagleTop},
    {"Eagle mountsmd, bottom", kAuto, "eagle.mnb", kEagleBottom},
    {"Fusion through the JLCPCB exporter", kAuto, "fusion-jlcpcb.csv", kFusion},
    {"Fusion through the JLCPCB exporter, classic", "1\n,\n1,3,4,2,7\n", "fusion-jlcpcb.csv",
     kFusion},
    {"spreadsheet round trip", kAuto, "spreadsheet.csv", kSpreadsheet},
    {"spreadsheet round trip, classic", "1\n;\n1,5,6,3,4,7,2\n", "spreadsheet.csv", kSpreadsheet},
    {"Protel text", kAuto, "protel.txt", kProtel},
};

class PlacementFormats : public ::testing::TestWithParam<Recipe> {};

TEST_P(PlacementFormats, LoadEveryPartRight) {
    const Recipe& recipe = GetParam();
    auto table = std::make_unique<PartTable>();
    const PlacementReadResult result =
        ReadPlacementFile(std::string(TEST_DATA_DIR "/formats/") + recipe.file,
                          ColumnMapFromText(recipe.ini), *table);
    ASSERT_FALSE(result.error) << result.error.message();
    ASSERT_EQ(result.count, static_cast<int>(recipe.parts.size()));
    for (std::size_t i = 0; i < recipe.parts.size(); ++i) {
        const SamplePart& want = recipe.parts[i];
        const PartRecord& got = table->parts[i];
        SCOPED_TRACE(want.designator);
        EXPECT_STREQ(got.designator, want.designator);
        EXPECT_TRUE(IsOnFace(got.layer, want.face));
        EXPECT_FLOAT_EQ(got.x, want.x);
        EXPECT_FLOAT_EQ(got.y, want.y);
        EXPECT_STREQ(got.value, want.value);
        EXPECT_STREQ(got.package, want.package);
    }
}

INSTANTIATE_TEST_SUITE_P(Recipes, PlacementFormats, ::testing::ValuesIn(kRecipes),
                         [](const auto& info) {
                             std::string name;
                             for (const char c : std::string(info.param.name))
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

} // namespace
} // namespace kavelto
