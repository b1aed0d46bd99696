#pragma once

#include "parts/PartRecord.h"
#include "placement/FieldCode.h"

namespace kavelto {

// Converts a field's NUL-terminated text into the field of record that the field code names.
// With decimalComma, a comma in a number's text is its decimal mark (a spreadsheet saved with
// a decimal comma writes 112,776). Returns false for a number field whose text holds no
// number, which leaves the field as it was.
bool ConvertField(FieldCode code, char* text, PartRecord& record, bool decimalComma);

} // namespace kavelto
