#include "packages/PackageRules.h"

namespace kavelto {

namespace {

using K = PartKind;

// The design tool's library draws two-terminal parts with pin 1 (the cathode, the positive
// side) on the left, ICs with pin 1 at the top of the left row, and through-hole parts with pin
// 1 at the origin. Its chip names carry the metric size code (LLWW in tenths of a millimetre),
// its IC names the body's width and length and the pitch.
std::vector<PackageRule> LibraryRules() {
    return {
        {R"(R_\d{4}_(\d\d)(\d\d)Metric(_.*)?)", K::Resistor,
         Centred(Captured(1, 0.1), Captured(2, 0.1)), AtLeftEnd(), Fixed(2)},
        {R"(C_\d{4}_(\d\d)(\d\d)Metric(_.*)?)", K::Capacitor,
         Centred(Captured(1, 0.1), Captured(2, 0.1)), AtLeftEnd(), Fixed(2)},
        {R"(L_\d{4}_(\d\d)(\d\d)Metric(_.*)?)", K::Inductor,
         Centred(Captured(1, 0.1), Captured(2, 0.1)), AtLeftEnd(), Fixed(2)},
        {R"(Fuse_\d{4}_(\d\d)(\d\d)Metric(_.*)?)", K::Fuse,
         Centred(Captured(1, 0.1), Captured(2, 0.1)), AtLeftEnd(), Fixed(2)},
        {R"(D_\d{4}_(\d\d)(\d\d)Metric(_.*)?)", K::Diode,
         Centred(Captured(1, 0.1), Captured(2, 0.1)), AtLeftEnd(), Fixed(2)},
        {R"(LED_\d{4}_(\d\d)(\d\d)Metric(_.*)?)", K::Led,
         Centred(Captured(1, 0.1), Captured(2, 0.1)), AtLeftEnd(), Fixed(2)},
        {R"(CP_Tantalum_Case-[A-Z]_EIA-(\d\d)(\d\d)-\d+(_.*)?)", K::PolarisedCapacitor,
         Centred(Captured(1, 0.1), Captured(2, 0.1)), AtLeftEnd(), Fixed(2)},
        {R"(CP_Elec_(\d+(?:\.\d+)?)x\d+(?:\.\d+)?(_.*)?)", K::PolarisedCapacitor,
         Centred(Captured(1), Captured(1)), AtLeftEnd(), Fixed(2)},
        {R"(D_SOD-123F?(_.*)?)", K::Diode, Centred(Fixed(2.7), Fixed(1.6)), AtLeftEnd(), Fixed(2)},
        {R"(D_SOD-323F?(_.*)?)", K::Diode, Centred(Fixed(1.7), Fixed(1.25)), AtLeftEnd(), Fixed(2)},
        {R"(D_SOD-523(_.*)?)", K::Diode, Centred(Fixed(1.2), Fixed(0.8)), AtLeftEnd(), Fixed(2)},
        {R"(D_SOD-923(_.*)?)", K::Diode, Centred(Fixed(0.8), Fixed(0.6)), AtLeftEnd(), Fixed(2)},
        {R"(D_SOD-128(_.*)?)", K::Diode, Centred(Fixed(3.8), Fixed(2.5)), AtLeftEnd(), Fixed(2)},
        {R"(D_SMA(_.*)?)", K::Diode, Centred(Fixed(4.3), Fixed(2.6)), AtLeftEnd(), Fixed(2)},
        {R"(D_SMB(_.*)?)", K::Diode, Centred(Fixed(4.3), Fixed(3.6)), AtLeftEnd(), Fixed(2)},
        {R"(D_SMC(_.*)?)", K::Diode, Centred(Fixed(6.9), Fixed(5.9)), AtLeftEnd(), Fixed(2)},
        {R"(D_MiniMELF(_.*)?)", K::Diode, Centred(Fixed(3.5), Fixed(1.5)), AtLeftEnd(), Fixed(2)},
        {R"(D_MELF(_.*)?)", K::Diode, Centred(Fixed(5.0), Fixed(2.5)), AtLeftEnd(), Fixed(2)},
        // A diode pair or single diode in a three-pin package numbers its pads by function:
        // the lone pin on the right is pin 1.
        {R"(D_SOT-23(_.*)?)", K::Diode, Centred(Fixed(1.4), Fixed(3.0)), LoneRight(Fixed(0.24)),
         Fixed(3)},
        {R"(SOT-23(W)?(-3)?(_.*)?)", K::Unknown, Centred(Fixed(1.4), Fixed(3.0)),
         LeftRow(Fixed(2), Fixed(1.9), Fixed(0.24)), Fixed(3)},
        {R"(SOT-23-[56](_.*)?)", K::Unknown, Centred(Fixed(1.6), Fixed(2.9)),
         LeftRow(Fixed(3), Fixed(0.95), Fixed(0.34)), Captured(1)},
        {R"(SOT-23-8(_.*)?)", K::Unknown, Centred(Fixed(1.6), Fixed(2.9)),
         LeftRow(Fixed(4), Fixed(0.65), Fixed(0.34)), Fixed(8)},
        {R"(SOT-3[56]3_SC-70-[56](_.*)?)", K::Unknown, Centred(Fixed(1.25), Fixed(2.0)),
         LeftRow(Fixed(3), Fixed(0.65), Fixed(0.33)), Fixed(5)},
        {R"(SOT-223(-3)?(_TabPin2)?)", K::Unknown, Centred(Fixed(3.5), Fixed(6.5)),
         LeftRow(Fixed(3), Fixed(2.3), Fixed(1.4)), Fixed(4)},
        {R"(TO-263-[23](_.*)?)", K::Unknown, Centred(Fixed(15.0), Fixed(10.0)),
         LeftRow(Fixed(3), Fixed(2.54), Fixed(-1.725)), Fixed(3)},
        {R"(TO-263-5(_.*)?)", K::Unknown, Centred(Fixed(15.0), Fixed(10.0)),
         LeftRow(Fixed(5), Fixed(1.7), Fixed(-1.725)), Fixed(6)},
        {R"(TO-263-7(_.*)?)", K::Unknown, Centred(Fixed(15.0), Fixed(10.0)),
         LeftRow(Fixed(7), Fixed(1.27), Fixed(-1.725)), Fixed(8)},
        {R"(TO-252-[23](_.*)?)", K::Unknown, Centred(Fixed(10.0), Fixed(6.6)),
         LeftRow(Fixed(3), Fixed(2.28), Fixed(-0.9)), Fixed(3)},
        {R"(TO-252-5(_.*)?)", K::Unknown, Centred(Fixed(10.0), Fixed(6.6)),
         LeftRow(Fixed(5), Fixed(1.14), Fixed(-0.9)), Fixed(6)},
        {R"((?:SOIC|SO|SOP|SSOP|TSSOP|HTSSOP|MSOP|VSSOP|QSOP|TSOP-II)-(\d+)W?(?:-\d*EP)?_(\d+(?:\.\d+)?)x(\d+(?:\.\d+)?)mm_P(\d+(?:\.\d+)?)mm(_.*)?)",
         K::Unknown, Centred(Captured(2), Captured(3)),
         LeftRow(Captured(1, 0.5), Captured(4), Fixed(0.55)), Captured(1)},
        {R"((?:[A-Z]*DFN|[A-Z]*SON)-(\d+)(?:-\d*EP)?_(\d+(?:\.\d+)?)x(\d+(?:\.\d+)?)mm_P(\d+(?:\.\d+)?)mm(_.*)?)",
         K::Unknown, Centred(Captured(2), Captured(3)),
         LeftRow(Captured(1, 0.5), Captured(4), Fixed(-0.1)), Captured(1)},
        {R"((?:LQFP|TQFP|QFP|VQFP|HTQFP|PQFP|MQFP)-(\d+)(?:-\d*EP)?_(\d+(?:\.\d+)?)x(\d+(?:\.\d+)?)mm_P(\d+(?:\.\d+)?)mm(_.*)?)",
         K::Unknown, Centred(Captured(2), Captured(3)),
         LeftRow(Captured(1, 0.25), Captured(4), Fixed(0.67)), Captured(1)},
        {R"([A-Z]*QFN-(\d+)(?:-\d*EP)?_(\d+(?:\.\d+)?)x(\d+(?:\.\d+)?)mm_P(\d+(?:\.\d+)?)mm(_.*)?)",
         K::Unknown, Centred(Captured(2), Captured(3)),
         LeftRow(Captured(1, 0.25), Captured(4), Fixed(-0.1)), Captured(1)},
        // Pin 1 in the middle of the top side, as the J-lead carriers number their pins.
        {R"(PLCC-(\d+)_(\d+(?:\.\d+)?)x(\d+(?:\.\d+)?)mm_P1\.27mm(_.*)?)", K::Unknown,
         Centred(Captured(2), Captured(3)), TopMiddle(Fixed(-0.6)), Captured(1)},
        // The pads of a four-pad crystal count anticlockwise from the bottom left.
        {R"(Crystal_SMD_\d+-4Pin_(\d+(?:\.\d+)?)x(\d+(?:\.\d+)?)mm(_.*)?)", K::Crystal,
         Centred(Captured(1), Captured(2)), AtBottomLeft(), Fixed(4)},
        {R"(PinHeader_(\d+)x(\d+)_P(\d+(?:\.\d+)?)mm_Vertical)", K::Connector,
         PinGrid(Captured(1), Captured(2), Captured(3)), AtOrigin(),
         CapturedProduct(1, 2, 1.0, 0.0)},
        {R"(PinHeader_(\d+)x(\d+)_P(\d+(?:\.\d+)?)mm_Horizontal)", K::Connector, NoBody(),
         AtOrigin(), CapturedProduct(1, 2, 1.0, 0.0)},
        {R"(PinSocket_1x(\d+)_P(\d+(?:\.\d+)?)mm_Vertical)", K::Connector,
         PinGrid(Fixed(1), Captured(1), Captured(2)), AtOrigin(), Captured(1)},
        {R"(PinSocket_(\d+)x(\d+)_P(\d+(?:\.\d+)?)mm_(Vertical|Horizontal))", K::Connector,
         NoBody(), AtOrigin(), CapturedProduct(1, 2, 1.0, 0.0)},
        {R"(IDC-Header_2x(\d+)_P2\.54mm_(Vertical|Horizontal))", K::Connector, NoBody(), AtOrigin(),
         Captured(1, 2.0)},
        {R"(DSUB-(\d+)_(Male|Female)_(Vertical|Horizontal)_.*)", K::Connector, NoBody(), AtOrigin(),
         Captured(1)},
        {R"(DIP-(\d+)_W\d+(?:\.\d+)?mm(_LongPads|_Socket|_Socket_LongPads)?)", K::IntegratedCircuit,
         NoBody(), AtOrigin(), Captured(1)},
        {R"(TO-92(_Inline|_Molded_Narrow|_Inline_Wide|_Wide)?)", K::Transistor, NoBody(),
         AtOrigin(), Fixed(3)},
        {R"(TO-220-(\d+)_(Vertical|Horizontal_TabDown|Horizontal_TabUp))", K::Unknown, NoBody(),
         AtOrigin(), Captured(1)},
        {R"(CP_Radial_D(\d+(?:\.\d+)?)mm_P(\d+(?:\.\d+)?)mm)", K::PolarisedCapacitor,
         RadialCircle(Captured(1), Captured(2)), AtOrigin(), Fixed(2)},
        {R"(C_Radial_D(\d+(?:\.\d+)?)mm_H\d+(?:\.\d+)?mm_P(\d+(?:\.\d+)?)mm)", K::Capacitor,
         RadialCircle(Captured(1), Captured(2)), AtOrigin(), Fixed(2)},
        {R"(CP_Axial_L\d+(?:\.\d+)?mm_D(\d+(?:\.\d+)?)mm_P(\d+(?:\.\d+)?)mm_Horizontal)",
         K::PolarisedCapacitor, AxialSpan(Captured(2), Captured(1)), AtOrigin(), Fixed(2)},
        {R"(R_Axial_[A-Z0-9]+_L\d+(?:\.\d+)?mm_D(\d+(?:\.\d+)?)mm_P(\d+(?:\.\d+)?)mm_Horizontal)",
         K::Resistor, AxialSpan(Captured(2), Captured(1)), AtOrigin(), Fixed(2)},
        {R"(D_DO-35(_[A-Z0-9]+)?_P(\d+(?:\.\d+)?)mm_Horizontal)", K::Diode,
         AxialSpan(Captured(2), Fixed(2.0)), AtOrigin(), Fixed(2)},
        {R"(D_DO-41(_[A-Z0-9]+)?_P(\d+(?:\.\d+)?)mm_Horizontal)", K::Diode,
         AxialSpan(Captured(2), Fixed(2.7)), AtOrigin(), Fixed(2)},
        {R"(D_DO-15(_[A-Z0-9]+)?_P(\d+(?:\.\d+)?)mm_Horizontal)", K::Diode,
         AxialSpan(Captured(2), Fixed(3.6)), AtOrigin(), Fixed(2)},
        {R"(D_DO-201(AD)?_P(\d+(?:\.\d+)?)mm_Horizontal)", K::Diode,
         AxialSpan(Captured(2), Fixed(5.3)), AtOrigin(), Fixed(2)},
        {R"(LED_D(\d+(?:\.\d+)?)mm)", K::Led, RadialCircle(Captured(1), Fixed(2.54)), AtOrigin(),
         Fixed(2)},
        // The footprint library's older polarised chip: pin 1, the positive pad, on the left.
        {R"(SM1206POL)", K::PolarisedCapacitor, Centred(Fixed(3.2), Fixed(1.6)), AtLeftEnd(),
         Fixed(2)},
    };
}

// The IPC-7351 land-pattern names: chips as LLWW in tenths of a millimetre, pitch and lead
// span in hundredths; the standard's zero orientation puts pin 1 (cathode, positive) on the
// left of a chip and at the top of the left row of an IC. Where the name gives the lead span
// rather than the body, the body is the span less the family's two lead lengths.
std::vector<PackageRule> LandPatternRules() {
    return {
        {R"(RES[CM](\d\d)(\d\d)X\d+[LNM]?)", K::Resistor,
         Centred(Captured(1, 0.1), Captured(2, 0.1)), AtLeftEnd(), Fixed(2)},
        {R"(CAP[CM](\d\d)(\d\d)X\d+[LNM]?)", K::Capacitor,
         Centred(Captured(1, 0.1), Captured(2, 0.1)), AtLeftEnd(), Fixed(2)},
        {R"(CAPMP(\d\d)(\d\d)X\d+[LNM]?)", K::PolarisedCapacitor,
         Centred(Captured(1, 0.1), Captured(2, 0.1)), AtLeftEnd(), Fixed(2)},
        {R"(CAPAE(\d+)X\d+[LNM]?)", K::PolarisedCapacitor,
         Centred(Captured(1, 0.01), Captured(1, 0.01)), AtLeftEnd(), Fixed(2)},
        {R"(IND[CM](\d\d)(\d\d)X\d+[LNM]?)", K::Inductor,
         Centred(Captured(1, 0.1), Captured(2, 0.1)), AtLeftEnd(), Fixed(2)},
        {R"(FUS[CM](\d\d)(\d\d)X\d+[LNM]?)", K::Fuse, Centred(Captured(1, 0.1), Captured(2, 0.1)),
         AtLeftEnd(), Fixed(2)},
        {R"(DIO[CM](\d\d)(\d\d)X\d+[LNM]?)", K::Diode, Centred(Captured(1, 0.1), Captured(2, 0.1)),
         AtLeftEnd(), Fixed(2)},
        {R"(LED[CM](\d\d)(\d\d)X\d+[LNM]?)", K::Led, Centred(Captured(1, 0.1), Captured(2, 0.1)),
         AtLeftEnd(), Fixed(2)},
        {R"(SOD(\d\d)(\d\d)X\d+[LNM]?)", K::Diode,
         Centred(Captured(1, 0.1, -1.0), Captured(2, 0.1)), AtLeftEnd(), Fixed(2)},
        {R"(SOIC(\d+)P(1\d\d\d)X\d+-(\d+)[LNM]?)", K::Unknown,
         Centred(Captured(2, 0.01, -2.8), CapturedProduct(3, 1, 0.005, -0.2)),
         LeftRow(Captured(3, 0.5), Captured(1, 0.01), Fixed(0.55)), Captured(3)},
        {R"(SOIC(\d+)P(\d+)X\d+-(\d+)[LNM]?)", K::Unknown,
         Centred(Captured(2, 0.01, -2.1), CapturedProduct(3, 1, 0.005, -0.2)),
         LeftRow(Captured(3, 0.5), Captured(1, 0.01), Fixed(0.55)), Captured(3)},
        {R"(SOP(\d+)P(\d+)X\d+-(\d+)[LNM]?)", K::Unknown,
         Centred(Captured(2, 0.01, -2.0), CapturedProduct(3, 1, 0.005, 0.0)),
         LeftRow(Captured(3, 0.5), Captured(1, 0.01), Fixed(0.55)), Captured(3)},
        {R"(QFP(\d+)P(\d+)X(\d+)X\d+-(\d+)[LNM]?)", K::Unknown,
         Centred(Captured(2, 0.01, -2.0), Captured(3, 0.01, -2.0)),
         LeftRow(Captured(4, 0.25), Captured(1, 0.01), Fixed(0.67)), Captured(4)},
        {R"(QFN(\d+)P(\d+)X(\d+)X\d+-(\d+)[LNM]?)", K::Unknown,
         Centred(Captured(2, 0.01), Captured(3, 0.01)),
         LeftRow(CapturedWhole(4, 0.25), Captured(1, 0.01), Fixed(-0.1)), Captured(4)},
        {R"(SOT230P(\d+)X\d+-4[LNM]?)", K::Unknown, Centred(Captured(1, 0.01, -3.5), Fixed(6.5)),
         LeftRow(Fixed(3), Fixed(2.3), Fixed(1.4)), Fixed(4)},
        {R"(SOT(\d+)P(\d+)X\d+-3[LNM]?)", K::Unknown,
         Centred(Captured(2, 0.01, -1.2), Captured(1, 0.03, 0.05)),
         LeftRow(Fixed(2), Captured(1, 0.02), Fixed(0.3)), Fixed(3)},
        {R"(SOT(\d+)P(\d+)X\d+-[56][LNM]?)", K::Unknown,
         Centred(Captured(2, 0.01, -1.2), Captured(1, 0.03, 0.05)),
         LeftRow(Fixed(3), Captured(1, 0.01), Fixed(0.3)), Fixed(5)},
    };
}

// The short names other tools write give the body; their zero orientation differs from tool
// to tool, so they never mark pin 1, and the designator tells the kind. Imperial chip codes are
// read as such (0603 is 1.6 x 0.8 mm), the metric codes that no imperial code shares as metric.
std::vector<PackageRule> ShortNameRules() {
    return {
        {R"((?:[A-Z]{1,7}[-_]?)?01005(?:[-_].*)?)", K::Unknown, Centred(Fixed(0.4), Fixed(0.2)),
         NoPinOne(), Fixed(2)},
        {R"((?:[A-Z]{1,7}[-_]?)?0201(?:[-_].*)?)", K::Unknown, Centred(Fixed(0.6), Fixed(0.3)),
         NoPinOne(), Fixed(2)},
        {R"((?:[A-Z]{1,7}[-_]?)?0402(?:[-_].*)?)", K::Unknown, Centred(Fixed(1.0), Fixed(0.5)),
         NoPinOne(), Fixed(2)},
        {R"((?:[A-Z]{1,7}[-_]?)?0603(?:[-_].*)?)", K::Unknown, Centred(Fixed(1.6), Fixed(0.8)),
         NoPinOne(), Fixed(2)},
        {R"((?:[A-Z]{1,7}[-_]?)?0805(?:[-_].*)?)", K::Unknown, Centred(Fixed(2.0), Fixed(1.25)),
         NoPinOne(), Fixed(2)},
        {R"((?:[A-Z]{1,7}[-_]?)?1206(?:[-_].*)?)", K::Unknown, Centred(Fixed(3.2), Fixed(1.6)),
         NoPinOne(), Fixed(2)},
        {R"((?:[A-Z]{1,7}[-_]?)?1210(?:[-_].*)?)", K::Unknown, Centred(Fixed(3.2), Fixed(2.5)),
         NoPinOne(), Fixed(2)},
        {R"((?:[A-Z]{1,7}[-_]?)?1812(?:[-_].*)?)", K::Unknown, Centred(Fixed(4.5), Fixed(3.2)),
         NoPinOne(), Fixed(2)},
        {R"((?:[A-Z]{1,7}[-_]?)?2010(?:[-_].*)?)", K::Unknown, Centred(Fixed(5.0), Fixed(2.5)),
         NoPinOne(), Fixed(2)},
        {R"((?:[A-Z]{1,7}[-_]?)?2512(?:[-_].*)?)", K::Unknown, Centred(Fixed(6.3), Fixed(3.2)),
         NoPinOne(), Fixed(2)},
        {R"((?:[A-Z]{1,7}[-_]?)?(?=1005|1608|2012|3216|3225|4532|5025|6332)(\d\d)(\d\d)(?:Metric)?(?:[-_].*)?)",
         K::Unknown, Centred(Captured(1, 0.1), Captured(2, 0.1)), NoPinOne(), Fixed(2)},
        {R"(SOT-?23(?:-3)?)", K::Unknown, Centred(Fixed(1.3), Fixed(2.9)), NoPinOne(), Fixed(3)},
        {R"(SOT-?23-[56])", K::Unknown, Centred(Fixed(1.6), Fixed(2.9)), NoPinOne(), Fixed(5)},
        {R"(SOT-?353|SC-?70-5)", K::Unknown, Centred(Fixed(1.25), Fixed(2.0)), NoPinOne(),
         Fixed(5)},
        {R"(SOT-?223)", K::Unknown, Centred(Fixed(3.5), Fixed(6.5)), NoPinOne(), Fixed(4)},
        {R"(SOT-?89)", K::Unknown, Centred(Fixed(2.5), Fixed(4.5)), NoPinOne(), Fixed(3)},
        {R"((?:SOIC|SO)-?(\d+)(?:N)?)", K::Unknown, Centred(Fixed(3.9), Captured(1, 0.635, -0.2)),
         NoPinOne(), Captured(1)},
        {R"((?:SOIC|SO)-?(\d+)W)", K::Unknown, Centred(Fixed(7.5), Captured(1, 0.635, -0.2)),
         NoPinOne(), Captured(1)},
        {R"(TSSOP-?(\d+))", K::Unknown, Centred(Fixed(4.4), Captured(1, 0.325, 0.2)), NoPinOne(),
         Captured(1)},
        {R"(MSOP-?(?:8|10))", K::Unknown, Centred(Fixed(3.0), Fixed(3.0)), NoPinOne(), {}},
        {R"(SOD-?123F?)", K::Unknown, Centred(Fixed(2.7), Fixed(1.6)), NoPinOne(), Fixed(2)},
        {R"(SOD-?323F?)", K::Unknown, Centred(Fixed(1.7), Fixed(1.25)), NoPinOne(), Fixed(2)},
        {R"(SMA|DO-?214AC)", K::Unknown, Centred(Fixed(4.3), Fixed(2.6)), NoPinOne(), Fixed(2)},
        {R"(SMB|DO-?214AA)", K::Unknown, Centred(Fixed(4.3), Fixed(3.6)), NoPinOne(), Fixed(2)},
        {R"(SMC|DO-?214AB)", K::Unknown, Centred(Fixed(6.9), Fixed(5.9)), NoPinOne(), Fixed(2)},
        {R"(MINIMELF|SOD-?80|LL-?34)", K::Unknown, Centred(Fixed(3.5), Fixed(1.5)), NoPinOne(),
         Fixed(2)},
        {R"(TO-?252(?:-[23])?|DPAK)", K::Unknown, Centred(Fixed(10.0), Fixed(6.6)), NoPinOne(),
         Fixed(3)},
        {R"(TO-?263(?:-[23])?|D2PAK)", K::Unknown, Centred(Fixed(15.0), Fixed(10.0)), NoPinOne(),
         Fixed(3)},
    };
}

} // namespace

const std::vector<PackageRule>& PackageRules() {
    static const std::vector<PackageRule> rules = [] {
        std::vector<PackageRule> all = LibraryRules();
        for (const std::vector<PackageRule>& more : {LandPatternRules(), ShortNameRules()})
            all.insert(all.end(), more.begin(), more.end());
        return all;
    }();
    return rules;
}

} // namespace kavelto
