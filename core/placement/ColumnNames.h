#pragma once

#include "placement/FieldCode.h"

#include <string>
#include <string_view>

namespace kavelto {

// How a name of the name row is taken.
enum class NameRank {
    Preferred, // names its field
    Fallback,  // names its field only in a row where no preferred name of that field stands
};

// How a side column tells the bottom face.
enum class SideSense {
    Named, // a name starting with b or B ("bottom", "BottomLayer", "bot"), or a layer number above
           // 1
    Mirrored, // a mirror flag: anything but empty, "no" and "0" ("YES") is the bottom
};

// A column name as design tools write it in the name row of a placement file.
struct ColumnName {
    const char* spelling;
    FieldCode field; // Ignored: a known column that is never read, such as a pad's position
    NameRank rank;
    SideSense sense = SideSense::Named; // of a side column
};

// The name's text compared as the tools vary it: letters in either case, without quotes,
// blanks, and a unit in brackets or parentheses ("Center-X(mm)" and "center-x" are one name).
std::string FoldColumnName(std::string_view name);

// The known name that text spells, or nullptr.
const ColumnName* FindColumnName(std::string_view text);

// The names looked for, for a message: "designator (Ref, Designator, ...), X (...) and Y (...)".
std::string DescribeRequiredNames();

} // namespace kavelto
