#include "placement/ColumnNames.h"

#include "base/FieldParsing.h"

#include <array>
#include <iterator>

namespace kavelto {

namespace {

constexpr NameRank P = NameRank::Preferred;
constexpr NameRank F = NameRank::Fallback;
constexpr FieldCode D = FieldCode::Designator;
constexpr FieldCode L = FieldCode::Layer;
constexpr FieldCode X = FieldCode::X;
constexpr FieldCode Y = FieldCode::Y;
constexpr FieldCode V = FieldCode::Value;
constexpr FieldCode K = FieldCode::Package;
constexpr FieldCode R = FieldCode::Rotation;

// The names the exporters of board design tools write, each spelling once, under the first tool
// that writes it. Where two names of one field stand in a row, the first preferred one counts,
// and a fallback only where no preferred one stands.
constexpr ColumnName kColumnNames[] = {
    // KiCad, CSV and .pos; pcb-rnd's KiCad-compatible template
    {"Ref", D, P},
    {"Val", V, P},
    {"Package", K, P},
    {"PosX", X, P},
    {"PosY", Y, P},
    {"Rot", R, P},
    {"Side", L, P},
    // Altium Designer, Protel, CircuitMaker, CircuitStudio, EasyEDA; the JLCPCB and PCBWay
    // templates
    {"Designator", D, P},
    {"Comment", V, P},
    {"Footprint", K, P},
    {"Center-X", X, P},
    {"Center-Y", Y, P},
    {"Mid X", X, P},
    {"Mid Y", Y, P},
    {"Ref X", X, F},
    {"Ref Y", Y, F},
    {"Pad X", FieldCode::Ignored, P},
    {"Pad Y", FieldCode::Ignored, P},
    {"Layer", L, P},
    {"TB", L, P},
    {"Rotation", R, P},
    // LibrePCB
    {"Position X", X, P},
    {"Position Y", Y, P},
    {"Value", V, P},
    // Horizon EDA; pcb-rnd's TM220/TM240 template
    {"RefDes", D, P},
    {"X", X, P},
    {"Y", Y, P},
    {"Angle", R, P},
    // Assembly houses' templates and spreadsheets made by hand
    {"Part", D, P},
    {"Center X", X, P},
    {"Center Y", Y, P},
    {"X position", X, P},
    {"Y position", Y, P},
    {"Ref. Des.", D, P},
    {"Reference", D, P},
    // gEDA PCB and pcb-rnd XY: the footprint in Description (Altium's Description is a text
    // beside its Footprint), the side in top/bottom
    {"Description", K, F},
    {"top/bottom", L, P},
    // MacroFab XYRS and pcb-rnd's gxyrs and MacroFab templates; MacroFab writes the side as
    // layer 1 or 2. pcb-rnd's templates list MacroFab's Type after Side, but their rows leave it
    // out (the older MacroFab template writes it last, under a second Type).
    {"X-Loc", X, P},
    {"Y-Loc", Y, P},
    {"Type", FieldCode::Ignored, P, ColumnReading::MayBeAbsent},
    // DipTrace, whose Name is its part's name where RefDes stands; Fritzing, whose Name is its
    // only designator
    {"Name", D, F},
    {"Pattern", K, P},
    {"Rotate", R, P},
    // Pulsonix: its default report gives the position as one point, and its report editor
    // writes the names below
    {"Placement Centre", X, P, ColumnReading::Point},
    {"Placement Centre X", X, P},
    {"Placement Centre Y", Y, P},
    {"Ref Name", D, P},
    {"Footprint Name", K, P},
    {"Part Name", K, F},
    // Allegro and OrCAD PCB Editor: the extract and report field names, whose side is a mirror
    // flag
    {"SYM_X", X, P},
    {"SYM_Y", Y, P},
    {"Symbol_X", X, P},
    {"Symbol_Y", Y, P},
    {"SYM_ROTATE", R, P},
    {"SYM_MIRROR", L, P, ColumnReading::MirrorFlag},
    {"Mirror", L, P, ColumnReading::MirrorFlag},
    {"SYM_NAME", K, P},
    {"COMP_PACKAGE", K, P},
    {"COMP_VALUE", V, P},
    {"COMP_DEVICE_TYPE", V, F},
    // PADS: its words for a part's type, footprint and orientation
    {"Part Type", V, F},
    {"PCB Decal", K, P},
    {"Decal", K, P},
    {"Orientation", R, P},
    {"Orient.", R, P},
};

std::string ListNames(FieldCode field) {
    std::string list;
    for (const ColumnName& name : kColumnNames) {
        if (name.field != field)
            continue;
        list += list.empty() ? " (" : ", ";
        list += name.spelling;
    }
    return list + ")";
}

} // namespace

std::string FoldColumnName(std::string_view name) {
    std::string folded;
    char closing = '\0'; // the bracket that ends the unit being passed over
    for (const char c : name) {
        if (closing != '\0') {
            if (c == closing)
                closing = '\0';
        } else if (c == '(' || c == '[') {
            closing = c == '(' ? ')' : ']';
        } else if (c != '"' && c != ' ' && c != '\t') {
            folded += LowerAscii(c);
        }
    }
    return folded;
}

const ColumnName* FindColumnName(std::string_view text) {
    constexpr std::size_t kCount = std::size(kColumnNames);
    static const std::array<std::string, kCount> kFolded = [] {
        std::array<std::string, kCount> folded;
        for (std::size_t i = 0; i < kCount; ++i)
            folded[i] = FoldColumnName(kColumnNames[i].spelling);
        return folded;
    }();
    const std::string folded = FoldColumnName(text);
    for (std::size_t i = 0; i < kCount; ++i) {
        if (kFolded[i] == folded)
            return &kColumnNames[i];
    }
    return nullptr;
}

std::string DescribeRequiredNames() {
    return "designator" + ListNames(FieldCode::Designator) + ", X" + ListNames(FieldCode::X) +
           " and Y" + ListNames(FieldCode::Y);
}

} // namespace kavelto
