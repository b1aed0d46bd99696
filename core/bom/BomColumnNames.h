#pragma once

#include <string_view>

namespace kavelto {

// What a column of a bill of materials holds.
enum class BomField {
    Ignored,
    Designators,
    Quantity,
    Value,
    Footprint,
    Manufacturer,
    Mpn,
    Supplier,
    Description,
    NotFittedMark, // a text other than a "no" marks the line's parts as not fitted
    FittedMark,    // a "no" marks the line's parts as not fitted
};

inline constexpr int kBomFieldCount = 11;

// How a name of the name row is taken.
enum class BomNameRank {
    Preferred, // names its field
    Fallback,  // names its field only in a row where no preferred name of that field stands
};

// A column name as design tools write it in the name row of a bill of materials.
struct BomColumnName {
    const char* spelling;
    BomField field;
    BomNameRank rank;
};

// The known name that text spells, compared as the placement file's names are (any case,
// without quotes, blanks and a bracketed unit), or nullptr.
const BomColumnName* FindBomColumnName(std::string_view text);

// Whether a cell of a NotFittedMark or FittedMark column marks its line's parts as not fitted:
// a mark column by any text but a "no" (no, n, false, 0), a fitted column by a "no" or by "Not
// Fitted", "DNP" or "DNF". Words compare in any case, without blanks.
bool MarksNotFitted(BomField field, std::string_view cell);

// Whether a value stands for a part left off the board (DNP, NF, NC, do not fit, ...).
bool ValueMeansNotFitted(std::string_view value);

} // namespace kavelto
