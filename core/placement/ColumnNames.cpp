#include "placement/ColumnNames.h"

#include "base/FieldParsing.h"

#include <array>

namespace kavelto {

namespace {

constexpr NameRank P = NameRank::Preferred;

// The names the exporters of board design tools write, each tool's spelling once.
constexpr std::array<ColumnName, 39> kColumnNames = {{
    {"Ref", FieldCode::Designator, P},
    {"Designator", FieldCode::Designator, P},
    {"RefDes", FieldCode::Designator, P},
    {"Ref. Des.", FieldCode::Designator, P},
    {"Reference", FieldCode::Designator, P},
    {"Part", FieldCode::Designator, P},
    {"Name", FieldCode::Designator, P},
    {"PosX", FieldCode::X, P},
    {"Pos X", FieldCode::X, P},
    {"Position X", FieldCode::X, P},
    {"X position", FieldCode::X, P},
    {"Mid X", FieldCode::X, P},
    {"Center-X", FieldCode::X, P},
    {"Center X", FieldCode::X, P},
    {"X", FieldCode::X, P},
    {"Ref X", FieldCode::X, NameRank::Fallback},
    {"Pad X", FieldCode::Ignored, P},
    {"PosY", FieldCode::Y, P},
    {"Pos Y", FieldCode::Y, P},
    {"Position Y", FieldCode::Y, P},
    {"Y position", FieldCode::Y, P},
    {"Mid Y", FieldCode::Y, P},
    {"Center-Y", FieldCode::Y, P},
    {"Center Y", FieldCode::Y, P},
    {"Y", FieldCode::Y, P},
    {"Ref Y", FieldCode::Y, NameRank::Fallback},
    {"Pad Y", FieldCode::Ignored, P},
    {"Side", FieldCode::Layer, P},
    {"Layer", FieldCode::Layer, P},
    {"TB", FieldCode::Layer, P},
    {"Rot", FieldCode::Rotation, P},
    {"Rotation", FieldCode::Rotation, P},
    {"Angle", FieldCode::Rotation, P},
    {"Val", FieldCode::Value, P},
    {"Value", FieldCode::Value, P},
    {"Comment", FieldCode::Value, P},
    {"Package", FieldCode::Package, P},
    {"Footprint", FieldCode::Package, P},
    {"Pattern", FieldCode::Package, P},
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
    return "designator" + ListNames(FieldCode::Designator) + ", X" + ListNames(FieldCode::X) +
           " and Y" + ListNames(FieldCode::Y);
}

} // namespace kavelto
