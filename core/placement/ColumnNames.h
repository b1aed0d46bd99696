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

// How a column's text reads where its field's plain reading does not fit.
enum class ColumnReading {
    Plain,
    MirrorFlag, // a side as a mirror flag: anything but nothing, "no" and "0" ("YES") is the bottom
    Point,      // X and Y together, as "(x,y)"
    MayBeAbsent, // a column that a name row of blanks may list without its rows holding it
};

// A column name as design tools write it in the name row of a placement file.
struct ColumnName {
    const char* spelling;
    FieldCode field; // Ignored: a known column that is never read, such as a pad's position
    NameRank rank;
    ColumnReading reading = ColumnReading::Plain;
};

// The name's text compared as the tools vary it: letters in either case, without quotes,
// blanks, and a unit in brackets or parentheses ("Center-X(mm)" and "center-x" are one name).
std::string FoldColumnName(std::string_view name);

// The known name that text spells, or nullptr.
const ColumnName* FindColumnName(std::string_view text);

// The names looked for, for a message: "designator (Ref, Designator, ...), X (...) and Y (...)".
std::string DescribeRequiredNames();

} // namespace kavelto
