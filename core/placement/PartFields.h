#pragma once

#include "parts/PartRecord.h"
#include "placement/ColumnNames.h"
#include "placement/FieldCode.h"

#include <cstddef>

namespace kavelto {

// Converts a field's text of length bytes, which a NUL follows, into the field of record that the
// field code names. With decimalComma, a comma in a number's text is its decimal mark (a
// spreadsheet saved with a decimal comma writes 112,776). Returns false for a number field whose
// text holds no number, which leaves the field as it was.
bool ConvertField(FieldCode code, char* text, std::size_t length, PartRecord& record,
                  bool decimalComma);

// Converts a NUL-terminated word of a line cut at its blanks, where a comma can only be a
// decimal mark, as ConvertField does.
bool ConvertWord(FieldCode code, char* word, PartRecord& record);

// Converts the text of a side column that a name row names, as its reading tells the bottom face:
// a bottom part's layer becomes 'B' and a mirror flag's top part 'T'; a named side keeps its
// first byte, as the classic layer column.
void ConvertSide(const char* text, ColumnReading reading, PartRecord& record);

// Converts a point "(x,y)" into x and y (a semicolon may part the numbers, the parentheses may
// be missing); returns false, leaving both as they were, when either number is missing.
bool ConvertPoint(const char* text, PartRecord& record);

} // namespace kavelto
