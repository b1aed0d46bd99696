#pragma once

#include "parts/PartRecord.h"

#include <string>

namespace kavelto {

// Empties every field of record. A load writes thousands of records, so texts are emptied at
// their first byte rather than throughout.
void ClearRecord(PartRecord& record);

// Converts a field's NUL-terminated text into the field of record that the field code names.
// With decimalComma, a comma in a number's text is its decimal mark (a spreadsheet saved with
// a decimal comma writes 112,776). Returns false for a number field whose text holds no
// number, which leaves the field as it was.
bool ConvertField(int code, char* text, PartRecord& record, bool decimalComma);

// The message that refuses a component line without a position.
std::string NoPositionMessage(int lineNumber);

} // namespace kavelto
