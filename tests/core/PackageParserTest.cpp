// Package names of the footprint libraries, of the land-pattern standard and of other tools,
// with the body and pin 1 their published descriptions give.

#include "packages/PackageParser.h"
#include "packages/PackageShapeMemo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

using namespace kavelto;

namespace {

struct Pad {
    double x, y;
};

struct NameRow {
    const char* package;
    const char* designator;
    double width, length; // the body at rotation 0; 0 x 0: no body
    double tolerance;     // on each side of the body, mm
    PinOneMark mark;
    // Pad 1 and its nearest other pads: a mark must lie nearer to pad 1 than to them.
    std::optional<Pad> pinOne;
    std::optional<Pad> neighbour1;
    std::optional<Pad> neighbour2;
};

constexpr PinOneMark None = PinOneMark::None;
constexpr PinOneMark Dot = PinOneMark::Dot;
constexpr PinOneMark Bar = PinOneMark::CathodeBar;
constexpr PinOneMark Plus = PinOneMark::Plus;

const NameRow kNames[] = {
    // The design tool's library.
    {"R_0603_1608Metric", "R1", 1.6, 0.8, 0.05, None, {}, {}, {}},
    {"R_0402_1005Metric", "R2", 1.0, 0.5, 0.05, None, {}, {}, {}},
    {"R_0000_0000Metric", "R3", 0, 0, 0, None, {}, {}, {}}, // no size, no body
    {"C_0805_2012Metric", "C1", 2.0, 1.25, 0.06, None, {}, {}, {}},
    {"C_1206_3216Metric_Pad1.33x1.80mm_HandSolder", "C2", 3.2, 1.6, 0.05, None, {}, {}, {}},
    {"L_1210_3225Metric", "L1", 3.2, 2.5, 0.05, None, {}, {}, {}},
    {"LED_0603_1608Metric", "LED1", 1.6, 0.8, 0.05, Bar, Pad{-0.79, 0}, Pad{0.79, 0}, {}},
    {"LED_1206_3216Metric", "D5", 3.2, 1.6, 0.05, Bar, Pad{-1.4, 0}, Pad{1.4, 0}, {}},
    {"D_0805_2012Metric", "D1", 2.0, 1.25, 0.06, Bar, Pad{-0.94, 0}, Pad{0.94, 0}, {}},
    {"CP_Elec_6.3x5.4", "C3", 6.3, 6.3, 0.2, Plus, Pad{-2.7, 0}, Pad{2.7, 0}, {}},
    {"CP_Elec_10x10.5", "C4", 10.0, 10.0, 0.35, Plus, Pad{-4.0, 0}, Pad{4.0, 0}, {}},
    {"CP_Tantalum_Case-A_EIA-3216-18_Kemet-A",
     "C5",
     3.2,
     1.6,
     0.05,
     Plus,
     Pad{-1.38, 0},
     Pad{1.38, 0},
     {}},
    {"CP_Tantalum_Case-B_EIA-3528-21", "C6", 3.5, 2.8, 0.05, Plus, Pad{-1.5, 0}, Pad{1.5, 0}, {}},
    {"D_SOD-123", "D2", 2.7, 1.6, 0.1, Bar, Pad{-1.65, 0}, Pad{1.65, 0}, {}},
    {"D_SOD-323", "D3", 1.7, 1.25, 0.1, Bar, Pad{-1.1, 0}, Pad{1.1, 0}, {}},
    {"D_SOD-523", "D20", 1.2, 0.8, 0.05, Bar, {}, {}, {}},
    {"D_SOD-923", "D21", 0.8, 0.6, 0.05, Bar, {}, {}, {}},
    {"D_SOD-128", "D22", 3.8, 2.5, 0.05, Bar, {}, {}, {}},
    {"D_MELF", "D23", 5.0, 2.5, 0.05, Bar, {}, {}, {}},
    {"D_SMA", "D4", 4.3, 2.6, 0.2, Bar, Pad{-2.0, 0}, Pad{2.0, 0}, {}},
    {"D_SMB_Handsoldering", "D6", 4.3, 3.6, 0.2, Bar, Pad{-2.7, 0}, Pad{2.7, 0}, {}},
    {"D_SMC", "D7", 6.9, 5.9, 0.2, Bar, Pad{-3.4, 0}, Pad{3.4, 0}, {}},
    {"D_MiniMELF", "D8", 3.5, 1.5, 0.1, Bar, Pad{-1.75, 0}, Pad{1.75, 0}, {}},
    {"SOIC-8_3.9x4.9mm_P1.27mm", "U1", 3.9, 4.9, 0.05, Dot, Pad{-2.475, -1.905},
     Pad{-2.475, -0.635}, Pad{2.475, -1.905}},
    {"SOIC-16W_7.5x10.3mm_P1.27mm", "U2", 7.5, 10.3, 0.05, Dot, Pad{-4.65, -4.445},
     Pad{-4.65, -3.175}, Pad{4.65, -4.445}},
    {"TSSOP-20_4.4x6.5mm_P0.65mm", "U3", 4.4, 6.5, 0.05, Dot, Pad{-2.86, -2.925},
     Pad{-2.86, -2.275}, Pad{2.86, -2.925}},
    {"SSOP-28_5.3x10.2mm_P0.65mm", "U4", 5.3, 10.2, 0.05, Dot, Pad{-3.6, -4.225}, Pad{-3.6, -3.575},
     Pad{3.6, -4.225}},
    {"LQFP-48_7x7mm_P0.5mm", "U5", 7.0, 7.0, 0.05, Dot, Pad{-4.16, -2.75}, Pad{-4.16, -2.25},
     Pad{-2.75, -4.16}},
    {"LQFP-144_20x20mm_P0.5mm", "U6", 20.0, 20.0, 0.05, Dot, Pad{-10.66, -8.75}, Pad{-10.66, -8.25},
     Pad{-8.75, -10.66}},
    {"QFN-32-1EP_5x5mm_P0.5mm_EP3.45x3.45mm", "U7", 5.0, 5.0, 0.05, Dot, Pad{-2.45, -1.75},
     Pad{-2.45, -1.25}, Pad{-1.75, -2.45}},
    {"QFN-16-1EP_3x3mm_P0.5mm_EP1.7x1.7mm", "U8", 3.0, 3.0, 0.05, Dot, Pad{-1.45, -0.75},
     Pad{-1.45, -0.25}, Pad{-0.75, -1.45}},
    {"DFN-8-1EP_3x3mm_P0.65mm_EP1.55x2.4mm", "U9", 3.0, 3.0, 0.05, Dot, Pad{-1.45, -0.975},
     Pad{-1.45, -0.325}, Pad{1.45, -0.975}},
    {"SOT-23", "Q1", 1.3, 2.9, 0.15, Dot, Pad{-0.94, -0.95}, Pad{-0.94, 0.95}, Pad{0.94, 0}},
    {"SOT-23-5", "U10", 1.6, 2.9, 0.05, Dot, Pad{-1.14, -0.95}, Pad{-1.14, 0}, Pad{1.14, -0.95}},
    {"SOT-23-6", "U11", 1.6, 2.9, 0.05, Dot, Pad{-1.14, -0.95}, Pad{-1.14, 0}, Pad{1.14, -0.95}},
    {"SOT-223-3_TabPin2", "U12", 3.5, 6.5, 0.05, Dot, Pad{-3.15, -2.3}, Pad{-3.15, 0},
     Pad{3.15, 0}},
    {"SOT-353_SC-70-5", "U13", 1.25, 2.0, 0.05, Dot, Pad{-0.95, -0.65}, Pad{-0.95, 0},
     Pad{0.95, -0.65}},
    {"D_SOT-23_ANK", "D9", 1.3, 2.9, 0.15, Dot, Pad{1.0, 0}, Pad{-1.0, 0.95}, Pad{-1.0, -0.95}},
    {"TO-263-5_TabPin3", "U14", 15.0, 10.0, 0.1, Dot, Pad{-5.78, -3.4}, Pad{-5.78, -1.7}, {}},
    {"TO-263-7_TabPin4", "U19", 15.0, 10.0, 0.1, Dot, Pad{-5.78, -3.81}, Pad{-5.78, -2.54}, {}},
    {"TO-252-2", "Q2", 10.0, 6.6, 0.5, Dot, Pad{-4.2, -2.28}, Pad{-4.2, 2.28}, Pad{2.1, 0}},
    {"PLCC-44_16.6x16.6mm_P1.27mm", "U15", 16.6, 16.6, 0.05, Dot, Pad{0, -7.7}, Pad{-1.27, -7.7},
     Pad{1.27, -7.7}},
    {"Crystal_SMD_3225-4Pin_3.2x2.5mm", "Y1", 3.2, 2.5, 0.05, Dot, Pad{-1.1, 0.85}, Pad{1.1, 0.85},
     Pad{-1.1, -0.85}},
    {"PinHeader_2x05_P2.54mm_Vertical", "J1", 5.08, 12.7, 0.05, Dot, Pad{0, 0}, Pad{2.54, 0},
     Pad{0, 2.54}},
    {"PinHeader_1x01_P2.54mm_Vertical", "J2", 2.54, 2.54, 0.05, None, {}, {}, {}},
    {"PinSocket_1x04_P2.54mm_Vertical", "J3", 2.54, 10.16, 0.05, Dot, Pad{0, 0}, Pad{0, 2.54}, {}},
    {"DSUB-9_Male_Horizontal_P2.77x2.84mm_EdgePinOffset7.70mm_Housed_MountingHolesOffset9.12mm",
     "J4", 0, 0, 0, Dot, Pad{0, 0}, Pad{2.77, 0}, Pad{1.385, 2.84}},
    {"DIP-8_W7.62mm", "U16", 0, 0, 0, Dot, Pad{0, 0}, Pad{0, 2.54}, Pad{7.62, 0}},
    {"TO-92_Inline", "Q3", 0, 0, 0, Dot, Pad{0, 0}, Pad{1.27, 0}, {}},
    {"TO-220-3_Vertical", "U17", 0, 0, 0, Dot, Pad{0, 0}, Pad{2.54, 0}, {}},
    {"CP_Radial_D8.0mm_P3.50mm", "C7", 8.0, 8.0, 0.05, Plus, Pad{0, 0}, Pad{3.5, 0}, {}},
    {"C_Radial_D5.0mm_H7.0mm_P2.00mm", "C8", 5.0, 5.0, 0.05, None, {}, {}, {}},
    {"D_DO-15_P10.16mm_Horizontal", "D24", 10.16, 3.6, 0.05, Bar, Pad{0, 0}, Pad{10.16, 0}, {}},
    {"CP_Axial_L11.0mm_D5.0mm_P15.24mm_Horizontal",
     "C9",
     15.24,
     5.0,
     0.05,
     Plus,
     Pad{0, 0},
     Pad{15.24, 0},
     {}},
    {"R_Axial_DIN0207_L6.3mm_D2.5mm_P7.62mm_Horizontal", "R3", 7.62, 2.5, 0.05, None, {}, {}, {}},
    {"D_DO-41_SOD81_P10.16mm_Horizontal",
     "D10",
     10.16,
     2.7,
     0.05,
     Bar,
     Pad{0, 0},
     Pad{10.16, 0},
     {}},
    {"LED_D5.0mm", "D11", 5.0, 5.0, 0.05, Bar, Pad{0, 0}, Pad{2.54, 0}, {}},
    {"SM1206POL", "C9", 3.2, 1.6, 0.05, Plus, Pad{-1.65, 0}, Pad{1.65, 0}, {}},
    // The land-pattern standard's names.
    {"RESC1608X55N", "R4", 1.6, 0.8, 0.05, None, {}, {}, {}},
    {"RESC1005X40N", "R5", 1.0, 0.5, 0.05, None, {}, {}, {}},
    {"CAPC2012X100N", "C10", 2.0, 1.2, 0.06, None, {}, {}, {}},
    {"CAPC3216X180L", "C11", 3.2, 1.6, 0.05, None, {}, {}, {}},
    {"CAPMP3216X180N", "C12", 3.2, 1.6, 0.05, Plus, Pad{-1.4, 0}, Pad{1.4, 0}, {}},
    {"INDC2012X100N", "L2", 2.0, 1.2, 0.06, None, {}, {}, {}},
    {"DIOC1608X80N", "D12", 1.6, 0.8, 0.05, Bar, Pad{-0.75, 0}, Pad{0.75, 0}, {}},
    {"LEDC2012X80N", "LED2", 2.0, 1.2, 0.06, Bar, Pad{-0.95, 0}, Pad{0.95, 0}, {}},
    {"SOD3716X135N", "D13", 2.7, 1.6, 0.1, Bar, Pad{-1.65, 0}, Pad{1.65, 0}, {}},
    {"SOIC127P600X175-8N", "U18", 3.9, 4.9, 0.05, Dot, Pad{-2.7, -1.905}, Pad{-2.7, -0.635},
     Pad{2.7, -1.905}},
    {"SOIC127P1030X265-16N", "U19", 7.5, 10.3, 0.2, Dot, Pad{-4.65, -4.445}, Pad{-4.65, -3.175},
     Pad{4.65, -4.445}},
    {"SOP65P640X120-20N", "U20", 4.4, 6.5, 0.1, Dot, Pad{-2.9, -2.925}, Pad{-2.9, -2.275},
     Pad{2.9, -2.925}},
    {"QFP50P1600X1600X160-100N", "U21", 14.0, 14.0, 0.05, Dot, Pad{-7.7, -6.0}, Pad{-7.7, -5.5},
     Pad{-6.0, -7.7}},
    {"QFN50P500X500X80-33N", "U22", 5.0, 5.0, 0.05, Dot, Pad{-2.4, -1.75}, Pad{-2.4, -1.25},
     Pad{-1.75, -2.4}},
    {"SOT95P280X145-5N", "U23", 1.6, 2.9, 0.05, Dot, Pad{-1.3, -0.95}, Pad{-1.3, 0},
     Pad{1.3, -0.95}},
    {"SOT95P237X117-3N", "Q4", 1.3, 2.9, 0.15, Dot, Pad{-1.0, -0.95}, Pad{-1.0, 0.95}, Pad{1.0, 0}},
    {"SOT230P700X180-4N", "U24", 3.5, 6.5, 0.05, Dot, Pad{-3.15, -2.3}, Pad{-3.15, 0},
     Pad{3.15, 0}},
    // Short names: the body, never pin 1.
    {"0402", "R6", 1.0, 0.5, 0.05, None, {}, {}, {}},
    {"0603", "C13", 1.6, 0.8, 0.05, None, {}, {}, {}},
    {"0805", "R7", 2.0, 1.25, 0.05, None, {}, {}, {}},
    {"1206", "D14", 3.2, 1.6, 0.05, None, {}, {}, {}},
    {"1210", "C14", 3.2, 2.5, 0.05, None, {}, {}, {}},
    {"2512", "R8", 6.3, 3.2, 0.05, None, {}, {}, {}},
    {"C0603", "C15", 1.6, 0.8, 0.05, None, {}, {}, {}},
    {"R0805", "R9", 2.0, 1.25, 0.05, None, {}, {}, {}},
    {"CHIPLED_0603", "LED3", 1.6, 0.8, 0.05, None, {}, {}, {}},
    {"1608", "D15", 1.6, 0.8, 0.05, None, {}, {}, {}},
    {"SOT23", "Q5", 1.3, 2.9, 0.15, None, {}, {}, {}},
    {"SOT-89", "Q6", 2.5, 4.5, 0.1, None, {}, {}, {}},
    {"SOT223", "U25", 3.5, 6.5, 0.05, None, {}, {}, {}},
    {"SOIC8", "U26", 3.9, 4.9, 0.05, None, {}, {}, {}},
    {"SO-14", "U27", 3.9, 8.65, 0.1, None, {}, {}, {}},
    {"SOIC-16W", "U28", 7.5, 10.3, 0.4, None, {}, {}, {}},
    {"TSSOP-20", "U29", 4.4, 6.5, 0.2, None, {}, {}, {}},
    {"SMA", "D16", 4.3, 2.6, 0.2, None, {}, {}, {}},
    {"SMB", "D17", 4.3, 3.6, 0.2, None, {}, {}, {}},
    {"SOD-123", "D18", 2.7, 1.6, 0.1, None, {}, {}, {}},
    {"MiniMELF", "D19", 3.5, 1.5, 0.1, None, {}, {}, {}},
    {"TO-252", "Q7", 10.0, 6.6, 0.5, None, {}, {}, {}},
    {"DPAK", "Q8", 10.0, 6.6, 0.5, None, {}, {}, {}},
    {"D2PAK", "Q9", 15.0, 10.0, 0.5, None, {}, {}, {}},
    // One row for each rule the rows above leave out, as the parts' data sheets give them.
    {"Fuse_1206_3216Metric", "F1", 3.2, 1.6, 0.05, None, {}, {}, {}},
    {"SOT-23-8", "U40", 1.6, 2.9, 0.05, Dot, Pad{-1.3, -0.975}, Pad{-1.3, -0.325},
     Pad{1.3, -0.975}},
    {"TO-252-5_TabPin3", "U41", 10.0, 6.6, 0.5, Dot, Pad{-4.2, -2.28}, Pad{-4.2, -1.14}, {}},
    {"PinHeader_1x03_P2.54mm_Horizontal", "J40", 0, 0, 0, Dot, Pad{0, 0}, Pad{0, 2.54}, {}},
    {"PinHeader_1x02_P2.54mm_Horizontal", "J43", 0, 0, 0, None, {}, {}, {}},
    {"PinSocket_1x02_P2.54mm_Horizontal", "J44", 0, 0, 0, None, {}, {}, {}},
    {"IDC-Header_2x05_P2.54mm_Vertical", "J41", 0, 0, 0, Dot, Pad{0, 0}, Pad{2.54, 0},
     Pad{0, 2.54}},
    {"D_DO-35_SOD27_P7.62mm_Horizontal", "D40", 7.62, 2.0, 0.05, Bar, Pad{0, 0}, Pad{7.62, 0}, {}},
    {"D_DO-201AD_P15.24mm_Horizontal", "D41", 15.24, 5.3, 0.05, Bar, Pad{0, 0}, Pad{15.24, 0}, {}},
    {"CAPAE660X550N", "C40", 6.6, 6.6, 0.05, Plus, {}, {}, {}},
    {"FUSC3216X60N", "F2", 3.2, 1.6, 0.05, None, {}, {}, {}},
    {"R01005", "R40", 0.4, 0.2, 0.02, None, {}, {}, {}},
    {"C0201", "C41", 0.6, 0.3, 0.02, None, {}, {}, {}},
    {"C1812", "C42", 4.5, 3.2, 0.05, None, {}, {}, {}},
    {"R2010", "R41", 5.0, 2.5, 0.05, None, {}, {}, {}},
    {"SC70-5", "U42", 1.25, 2.0, 0.05, None, {}, {}, {}},
    {"MSOP8", "U43", 3.0, 3.0, 0.05, None, {}, {}, {}},
    {"SOD323", "D42", 1.7, 1.25, 0.05, None, {}, {}, {}},
    {"SMC", "D43", 6.9, 5.9, 0.1, None, {}, {}, {}},
    // Names no rule knows for certain: no body, no mark.
    {"SW_PUSH_SMALL", "SW1", 0, 0, 0, None, {}, {}, {}},
    {"JACK_ALIM", "J5", 0, 0, 0, None, {}, {}, {}},
    {"SOT23EBC", "Q10", 0, 0, 0, None, {}, {}, {}},
    {"LQFP48", "U30", 0, 0, 0, None, {}, {}, {}},
    {"LQFP-48_L7.0-W7.0-P0.50-LS9.0-BL", "U31", 0, 0, 0, None, {}, {}, {}},
    {"LED_RGB_5050-6", "LED4", 0, 0, 0, None, {}, {}, {}},
    {"PLCC-44_THT-Socket", "U32", 0, 0, 0, None, {}, {}, {}},
    {"Altech_AK300_1x02_P5.00mm_45-Degree", "J6", 0, 0, 0, None, {}, {}, {}},
    {"HDR-M-2.54_1x2", "J7", 0, 0, 0, None, {}, {}, {}},
    {"MOUNT-HOLE3.2", "H1", 0, 0, 0, None, {}, {}, {}},
    {"PinHeader_1x05_P2.54mm_Vertical_SMD_Pin1Left", "J8", 0, 0, 0, None, {}, {}, {}},
};

void PrintTo(const NameRow& row, std::ostream* out) {
    *out << row.package;
}

double Distance(const FootprintPoint& a, const Pad& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

class PackageName : public testing::TestWithParam<NameRow> {};

TEST_P(PackageName, GivesItsBodyAndOnlyACertainPinOne) {
    const NameRow& row = GetParam();
    const PackageShape shape = ShapeFromPackage(row.package, row.designator);
    if (row.width == 0) {
        EXPECT_FALSE(shape.body);
    } else {
        ASSERT_TRUE(shape.body);
        EXPECT_NEAR(shape.body->right - shape.body->left, row.width, 2 * row.tolerance);
        EXPECT_NEAR(shape.body->bottom - shape.body->top, row.length, 2 * row.tolerance);
    }
    EXPECT_EQ(shape.mark, row.mark);
    if (!row.pinOne)
        return;
    ASSERT_TRUE(shape.pinOne);
    const double toPinOne = Distance(*shape.pinOne, *row.pinOne);
    for (const std::optional<Pad>& other : {row.neighbour1, row.neighbour2}) {
        if (other) {
            EXPECT_LT(toPinOne, Distance(*shape.pinOne, *other));
        }
    }
    // Towards its nearest neighbour the mark stays well within pad 1's half of the way.
    if (row.neighbour1) {
        const double stepX = row.neighbour1->x - row.pinOne->x;
        const double stepY = row.neighbour1->y - row.pinOne->y;
        const double step = std::hypot(stepX, stepY);
        const double along = ((shape.pinOne->x - row.pinOne->x) * stepX +
                              (shape.pinOne->y - row.pinOne->y) * stepY) /
                             step;
        EXPECT_LT(std::abs(along), 0.45 * step);
    }
}

INSTANTIATE_TEST_SUITE_P(Names, PackageName, testing::ValuesIn(kNames),
                         [](const testing::TestParamInfo<NameRow>& info) {
                             std::string name = info.param.package;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name + "_" + std::to_string(info.index);
                         });

// Pin header bodies sit on the pins, which run down from pin 1 at the origin.
TEST(PackageBody, PinHeaderGridStartsHalfAPitchBeforePinOne) {
    const PackageShape shape = ShapeFromPackage("PinHeader_2x05_P2.54mm_Vertical", "J1");
    ASSERT_TRUE(shape.body);
    EXPECT_NEAR(shape.body->left, -1.27, 1e-9);
    EXPECT_NEAR(shape.body->top, -1.27, 1e-9);
    EXPECT_NEAR(shape.body->right, 3.81, 1e-9);
    EXPECT_NEAR(shape.body->bottom, 11.43, 1e-9);
}

TEST(PackageBody, RadialAndAxialBodiesLieBetweenThePins) {
    const PackageShape radial = ShapeFromPackage("CP_Radial_D8.0mm_P3.50mm", "C1");
    ASSERT_TRUE(radial.body);
    EXPECT_NEAR(radial.body->left, -2.25, 1e-9);
    EXPECT_NEAR(radial.body->right, 5.75, 1e-9);
    const PackageShape unpolarised = ShapeFromPackage("C_Radial_D5.0mm_H7.0mm_P2.00mm", "C2");
    ASSERT_TRUE(unpolarised.body);
    EXPECT_NEAR(unpolarised.body->left, -1.5, 1e-9);
    EXPECT_NEAR(unpolarised.body->right, 3.5, 1e-9);
    const PackageShape axial = ShapeFromPackage("D_DO-41_SOD81_P10.16mm_Horizontal", "D1");
    ASSERT_TRUE(axial.body);
    EXPECT_NEAR(axial.body->left, 0.0, 1e-9);
    EXPECT_NEAR(axial.body->right, 10.16, 1e-9);
    EXPECT_NEAR(axial.body->top, -1.35, 1e-9);
}

// A crystal's pads count from the bottom left, so its mark stands inside the body, in that quarter.
TEST(PackageName, MarksAFourPadCrystalInsideItsBottomLeftQuarter) {
    const PackageShape crystal = ShapeFromPackage("Crystal_SMD_3225-4Pin_3.2x2.5mm", "Y1");
    ASSERT_TRUE(crystal.body && crystal.pinOne);
    EXPECT_TRUE(crystal.pinOne->x > -1.6 && crystal.pinOne->x < 0.0) << crystal.pinOne->x;
    EXPECT_TRUE(crystal.pinOne->y > 0.0 && crystal.pinOne->y < 1.25) << crystal.pinOne->y;
}

TEST(PackageName, CaseDoesNotMatter) {
    EXPECT_EQ(ShapeFromPackage("soic-8_3.9x4.9mm_p1.27mm", "U1").mark, PinOneMark::Dot);
}

struct KindRow {
    const char* designator;
    PartKind kind;
};

const KindRow kKinds[] = {
    {"R12", PartKind::Resistor},
    {"RN3", PartKind::Resistor},
    {"C1", PartKind::Capacitor},
    {"L4", PartKind::Inductor},
    {"FB2", PartKind::Inductor},
    {"D7", PartKind::Diode},
    {"CR1", PartKind::Diode},
    {"ZD2", PartKind::Diode},
    {"led5", PartKind::Led},
    {"Y1", PartKind::Crystal},
    {"XTAL1", PartKind::Crystal},
    {"Q3", PartKind::Transistor},
    {"U$1", PartKind::IntegratedCircuit},
    {"IC2", PartKind::IntegratedCircuit},
    {"J9", PartKind::Connector},
    {"SW1", PartKind::Switch},
    {"F1", PartKind::Fuse},
    {"TP1", PartKind::Unknown},
    {"ABRT_SW101", PartKind::Unknown},
    {"", PartKind::Unknown},
};

class DesignatorKind : public testing::TestWithParam<KindRow> {};

TEST_P(DesignatorKind, FollowsTheLeadingLetters) {
    EXPECT_EQ(KindFromDesignator(GetParam().designator), GetParam().kind) << GetParam().designator;
}

INSTANTIATE_TEST_SUITE_P(Designators, DesignatorKind, testing::ValuesIn(kKinds));

// The same chip package is a resistor, a capacitor or a diode by the designator; the
// library's own prefix says it first.
TEST(PackageKind, DesignatorTellsWhereThePackageDoesNot) {
    EXPECT_EQ(ShapeFromPackage("1608", "D3").kind, PartKind::Diode);
    EXPECT_EQ(ShapeFromPackage("1608", "C3").kind, PartKind::Capacitor);
    EXPECT_EQ(ShapeFromPackage("LED_0805_2012Metric", "D3").kind, PartKind::Led);
    EXPECT_EQ(ShapeFromPackage("CP_Elec_6.3x5.4", "C3").kind, PartKind::PolarisedCapacitor);
    EXPECT_EQ(ShapeFromPackage("no such package", "Q2").kind, PartKind::Transistor);
}

// A name read once for a diode is read again for a capacitor, and not again for a second diode.
TEST(PackageKind, TheMemoKeepsEachNameByTheDesignatorsKind) {
    PackageShapeMemo memo;
    const PackageShape& diode = memo.shapeOf("1608", "D3");
    EXPECT_EQ(diode.kind, PartKind::Diode);
    EXPECT_EQ(memo.shapeOf("1608", "C3").kind, PartKind::Capacitor);
    EXPECT_EQ(&memo.shapeOf("1608", "D7"), &diode);
}

} // namespace
