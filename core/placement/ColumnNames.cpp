#include "placement/ColumnNames.h"

#include "base/FieldParsing.h"

#include <array>

namespace kavelto {

namespace {

constexpr NameRank P = NameRank::Preferred;

// The names the exporters of board design tools write, each tool's spelling once.
constexpr std::array<ColumnName, 39> kColumnNames = {{
    {"Ref", Designator, P},
    {"Designator", Designator, P},
    {"RefDes", Designator, P},
    {"Ref. Des.", Designator, P},
    {"Reference", Designator, P},
    {"Part", Designator, P},
    {"Name", Designator, P},
    {"PosX", X, P},
    {"Pos X", X, P},
    {"Position X", X, P},
    {"X position", X, P},
    {"Mid X", X, P},
    {"Center-X", X, P},
    {"Center X", X, P},
    {"X", X, P},
    {"Ref X", X, NameRank::Fallback},
    {"Pad X", Ignored, P},
    {"PosY", Y, P},
    {"Pos Y", Y, P},
    {"Position Y", Y, P},
    {"Y position", Y, P},
    {"Mid Y", Y, P},
    {"Center-Y", Y, P},
    {"Center Y", Y, P},
    {"Y", Y, P},
    {"Ref Y", Y, NameRank::Fallback},
    {"Pad Y", Ignored, P},
    {"Side", Layer, P},
    {"Layer", Layer, P},
    {"TB", Layer, P},
    {"Rot", Rotation, P},
    {"Rotation", Rotation, P},
    {"Angle", Rotation, P},
    {"Val", Value, P},
    {"Value", Value, P},
    {"Comment", Value, P},
    {"Package", Package, P},
    {"Footprint", Package, P},
    {"Pattern", Package, P},
}};

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
    static const std::array<std::string, kColumnNames.size()> kFolded = [] {
        std::array<std::string, kColumnNames.size()> folded;
        for (std::size_t i = 0; i < kColumnNames.size(); ++i)
            folded[i] = FoldColumnName(kColumnNames[i].spelling);
        return folded;
    }();
    const std::string folded = FoldColumnName(text);
    for (std::size_t i = 0; i < kColumnNames.size(); ++i) {
        if (kFolded[i] == folded)
            return &kColumnNames[i];
    }
    return nullptr;
}

std::string DescribeRequiredNames() {
    return "designator" + ListNames(Designator) + ", X" + ListNames(X) + " and Y" + ListNames(Y);
}

} // namespace kavelto
